#pragma once

#include "tlinkparts.h"

#include <QByteArray>
#include <QtGlobal>

// One request and its reply: sends the frame, collects the reply up to its
// carriage return within one second while the window's events keep running,
// and hands the reply text to the point list. Counts the replies to
// "Inputs" for the rate and photo-cell figures.
class TTransaction {
public:
    explicit TTransaction(const TLinkParts& parts) : FParts(parts) {}

    // True when the reply's carriage return came in time; it has then been decoded.
    bool SendMsg(const QByteArray& frame);

    // Transactions that got their reply, since the start.
    quint64 Replies = 0;

    // Counted replies since the last tick of the one-second timer.
    int FreqCount = 0;
    // The current block of counted replies (0..19) and how many showed the photo cell.
    int FotoCount = 0;
    int FotoOnCount = 0;
    // Photo-cell percentage of the last complete block of 20.
    int FotoProcent = 0;

private:
    void Count(const QByteArray& frame);

    TLinkParts FParts;
};

// The caption of the frame label for a frame: the frame as sent.
QString FrameCaption(const QByteArray& frame);
