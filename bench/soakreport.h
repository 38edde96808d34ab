#pragma once

#include "soakchecks.h"
#include "soaktranscript.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class TBoxCatcher;
class TConductor;
class TMemorySampler;
class TPendingWatch;
class TStallMonitor;
class TScriptedUser;
class TUserRecord;

// Everything the soak measured, for the figures and the verdict.
struct TSoakResults {
    double Seconds = 0;
    int PhaseMs = 0;
    quint64 Replies = 0;
    const TConductor* Conductor = nullptr;
    const TScriptedUser* User = nullptr;
    const TUserRecord* Record = nullptr;
    const TBoxCatcher* Boxes = nullptr;
    const TStallMonitor* Stall = nullptr;
    const TMemorySampler* Memory = nullptr;
    const TPendingWatch* Pending = nullptr;
    QList<TTranscript> Transcripts;
    TWriteVerdict Writes;
    QStringList Failures; // found while running
};

// The stall above which the user-interface thread counts as hung: the link's
// one-second wait plus a margin.
constexpr qint64 kLargestAllowedStallMs = 1500;
// How far peak and final memory may rise above the level after the first stretch.
constexpr double kAllowedGrowthPercent = 5.0;

// Prints the figures and returns the reasons for failing (none: pass).
QStringList PrintReport(const TSoakResults& results);
