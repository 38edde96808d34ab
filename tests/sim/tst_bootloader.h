#pragma once

#include <QObject>

class TestBootLoader : public QObject {
    Q_OBJECT

private slots:
    void downloads_data();
    void downloads();
    void newDownloadAfterFinish();
};
