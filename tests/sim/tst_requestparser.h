#pragma once

#include <QObject>

class TestRequestParser : public QObject {
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void chunkingDoesNotMatter_data();
    void chunkingDoesNotMatter();
    void frameTextIsWhatOpenedAndClosedIt();
};
