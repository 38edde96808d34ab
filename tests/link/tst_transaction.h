#pragma once

#include <QObject>

class TestTransaction : public QObject {
    Q_OBJECT

private slots:
    void writeFrames_data();
    void writeFrames();
    void readFrame();
    void replyCollection_data();
    void replyCollection();
    void noReplyFailsAfterOneSecond();
    void lateReplyIsTakenByTheNextTransaction();
    void photoCellBlockOfTwenty();
    void frameLabelShowsLastFrame();
    void disconnectDuringWaitFailsAtOnce();
    void closedPortSendsNothing();
};
