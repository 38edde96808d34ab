#pragma once

#include <QObject>

class TestEventTimer : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void ticksPerSecond_data();
    void ticksPerSecond();
    void oneSecondRunsOutAtNineteenthBoundary_data();
    void oneSecondRunsOutAtNineteenthBoundary();
    void realClockOneSecond();
};
