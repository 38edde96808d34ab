#pragma once

#include <QObject>

class TestLogCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tickSamplesInOrder_data();
    void tickSamplesInOrder();
    void tickWithoutLoggingRefreshesLabels();
    void eraseAndPauseKeepIndicesContiguous();
    void savesTheKnownFileByteForByte();
    void saveThenReadRestoresLogAndText();
    void dialogFiltersComeBackOnEveryWayOut();
    void unreadableFileLeavesTheLog();
    void badRowStopsReadingAfterReplacingTheLog();
    void failedSaveLeavesTheEarlierFile();
    void printingFollowsTheDialog();
    void copyPutsTheChartOnTheClipboard();
    void loadsParameterFile();
    void missingParameterFileIsAnnounced();
};
