#pragma once

#include <QObject>

// The kolvo-sim program itself, talked to over its pty like Glodrik does.
class TestSimProgram : public QObject {
    Q_OBJECT

private slots:
    void protocolOverThePty();
    void repliesTakeLineTime();
    void pulledLineComesBack();
    void bootLoaderDownload();
    void badOptionExitsNonZero();
};
