#pragma once

#include <QObject>

class TestUpdateCommand : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refusedWhileConnected();
    void answeredNoStopsAtOnce();
    void cancelledFileChoiceCreatesNoDialog();
    void unreadableFileIsShownAndNoDialog();
    void dialogGetsFilePortAndLimit();
};
