#pragma once

#include <QObject>

class TestSimulatorBootLoader : public QObject {
    Q_OBJECT

private slots:
    void download_data();
    void download();
};
