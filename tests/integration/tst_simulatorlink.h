#pragma once

#include <QObject>

class TestSimulatorLink : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsAndWritesThroughTheSimulator_data();
    void readsAndWritesThroughTheSimulator();
    void simulatorIsListedInThePrompt();
};
