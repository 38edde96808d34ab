#pragma once

#include "pacedqueue.h"

#include <QObject>
#include <QTimer>

#include <functional>

// Hands bytes on to a sink at the pace of a serial line: a precise timer for long
// gaps, a short sleep for the gaps between the characters of a burst, taken from
// the event loop so that both directions of the line keep their pace.
// Used both ways: for replies going out and for requests coming in.
class PacedChannel : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<double()>;
    using Sink = std::function<void(const QByteArray&)>;

    PacedChannel(double charTime, bool transmitFirst, Clock clock, Sink sink,
                 QObject* parent = nullptr);

    void Push(const QByteArray& bytes);
    // Forgets what has not been handed on yet.
    void Clear();

private:
    // Hands on what is due and sets the timer for what comes next.
    void Deliver();
    // Sleeps out a short gap to the next byte, then delivers.
    void OnTimer();

    PacedQueue FQueue;
    Clock FClock;
    Sink FSink;
    QTimer FTimer;
};
