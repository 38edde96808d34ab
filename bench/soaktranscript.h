#pragma once

#include "iotypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What a simulator's transcript shows: every frame it received, every reply
// piece it sent or dropped, and the line's plugs and pulls. Lines look like
//   12.345678 RX " WU02A8\r"
//   12.351002 TX " U02A8\r"
//   13.000000 PULL

// A write request as a simulator received it.
struct TWriteSeen {
    int Instance = 0; // which simulator process, in the order they ran
    double Time = 0;  // seconds on that process's clock
    char Code = 0;
    int Value = 0;
    QByteArray Frame;
};

struct TTranscriptFigures {
    int Requests = 0;
    int Reads = 0;
    int Writes = 0;
    int Dropped = 0;
    int Late = 0;        // reply pieces sent long after the last request came
    int Noisy = 0;       // replies with characters before their leading space
    int Split = 0;       // replies sent in more than one piece
    int CrLf = 0;        // replies ending in CR LF
    int SecondWaits = 0; // requests that followed the one before by about a second
    int Pulls = 0;
    int Plugs = 0;

    TTranscriptFigures& operator+=(const TTranscriptFigures& other);
};

struct TTranscript {
    int Instance = 0;
    QString Phase;
    bool Readable = false;
    QList<TWriteSeen> Writes;
    QList<QByteArray> Malformed; // frames Glodrik should never have sent
    TTranscriptFigures Figures;
};

// The bytes of a transcript's quoted field ("\r", "\n", "\t", "\"", "\\", "\xNN").
QByteArray UnescapeBytes(QByteArrayView quoted);

// The type of the point with a code; none for a code the program does not know.
using TTypeOfCode = std::function<std::optional<IOType>(char code)>;

TTranscript ReadTranscript(int instance, const QString& phase, const QString& path,
                           const TTypeOfCode& typeOf);
