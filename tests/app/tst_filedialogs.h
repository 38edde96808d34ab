#pragma once

#include <QObject>

class TestFileDialogs : public QObject {
    Q_OBJECT

private slots:
    void qtFilter_data();
    void qtFilter();
};
