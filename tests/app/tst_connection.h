#pragma once

#include <QObject>

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void connectReadsEveryPointOnceThenScans();
    void cancelledPromptLeavesTheLinkOff();
    void disconnectDuringWait();
    void closeDuringWait();
    void reconnectInsideOneWait();
    void pulledAdapterSwitchesTheLinkOff();
    void updateAllWhileDisconnectedSendsNothing();
    void stateLiveSwitchesTheSixPoints();
};
