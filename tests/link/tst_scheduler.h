#pragma once

#include <QObject>

class TestScheduler : public QObject {
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void failedReadKeepsItsFlag();
    void cursorPastShrunkListStartsAtZero();
    void closedPortMovesTheCursorTwice();
    void disconnectDuringWaitClosesThePort();
    void editDuringItsOwnWriteIsNotLost();
    void twoEditsBeforeAStepSendOneFrame();
};
