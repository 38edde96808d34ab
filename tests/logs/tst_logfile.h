#pragma once

#include "tprocessimage.h"

#include <QLineEdit>
#include <QObject>
#include <QStringList>

class TLed;

// A whole process image without edit boxes or lamps; records the title of
// each point whose change event is raised.
struct TestImage {
    TestImage()
        : image(
              &owner, [this](TZuIO* point) { changed.append(point->Title()); },
              [](const char*) -> QLineEdit* { return nullptr; },
              [](const char*) -> TLed* { return nullptr; }) {}

    TZuIO& Point(const char* title) const { return *image.Point(QString::fromUtf8(title)); }

    QObject owner;
    QStringList changed;
    TProcessImage image;
};

class TestLogFile : public QObject {
    Q_OBJECT

private slots:
    void splitFields_data();
    void splitFields();
    void splitLines_data();
    void splitLines();
    void readLines_data();
    void readLines();
    void logDateTime_data();
    void logDateTime();
    void headerMatchesExample();
    void snapshotValues_data();
    void snapshotValues();
    void rowsStopAtShortestSeries();
    void roundTrip_data();
    void roundTrip();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void saveReplacesFile();
    void unreadableFile_data();
    void unreadableFile();
};
