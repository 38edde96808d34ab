#pragma once

#include <QObject>

// The smaller parts between the protocol and the line: faults, pacing, transcript
// text and the command line.
class TestLineParts : public QObject {
    Q_OBJECT

private slots:
    void faultShares_data();
    void faultShares();
    void faultyRepliesKeepTheirContent();
    void faultsRepeatForASeed();
    void pacing_data();
    void pacing();
    void escapes_data();
    void escapes();
    void transcriptLine();
    void options_data();
    void options();
    void optionValues();
};
