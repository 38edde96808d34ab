#pragma once

#include "soakrecord.h"
#include "soaktranscript.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

// The verdict on the writes: what the simulators received against what the
// user did.
struct TWriteVerdict {
    QStringList Failures;
    QStringList Notes;
    int FramesChecked = 0;
    int PointsChecked = 0; // points the user set
    int PointsReached = 0; // the last write carries the user's last value
    int NoWriteNeeded = 0; // the last setting changed nothing and nothing was pending
    // Settings that changed nothing while a write of another value waited: the
    // older write stayed queued and the user's value was never sent.
    int SettingsLost = 0;
    int ReadBackCompared = 0;
    int ReadBackEqual = 0;
};

struct TWriteEvidence {
    const TUserRecord* Record = nullptr;
    QList<TTranscript> Transcripts; // in the order the simulators ran
    int FinalInstance = 0;
    // Each point's value after the final re-read of every point, by code.
    QMap<char, int> ReadBack;
    // Points the simulator's burner model changes itself: a read-back says
    // nothing about the link there.
    QSet<char> ModelDriven;
};

TWriteVerdict CheckWrites(const TWriteEvidence& evidence);
