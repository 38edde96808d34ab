#pragma once

#include "pacedqueue.h"

#include <QObject>
#include <QTimer>

#include <functional>

// Hands bytes on to a sink at the pace of a serial line, driven by a precise timer.
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
    void Deliver();
    void Schedule();

    PacedQueue FQueue;
    Clock FClock;
    Sink FSink;
    QTimer FTimer;
};
