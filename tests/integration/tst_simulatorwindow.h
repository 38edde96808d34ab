#pragma once

#include <QObject>

class TestSimulatorWindow : public QObject {
    Q_OBJECT

private slots:
    void connectPollWriteAndDisconnect();
};
