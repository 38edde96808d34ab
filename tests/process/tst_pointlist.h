#pragma once

#include <QObject>

class TestPointList : public QObject {
    Q_OBJECT

private slots:
    void unpackMsg_data();
    void unpackMsg();
    void everyMatchingPointIsDecoded();
    void removedPointIsNotDecoded();
    void pointWithWaitingWriteKeepsItsValue();
    void addTwiceKeepsFirstPositionAndRenewsHook();
    void hookIsCopiedWhenAdded();
    void locksAreReentrant();
    void hexWord_data();
    void hexWord();
};
