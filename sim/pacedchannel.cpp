#include "pacedchannel.h"

#include <cmath>

PacedChannel::PacedChannel(double charTime, bool transmitFirst, Clock clock, Sink sink,
                           QObject* parent)
    : QObject(parent), FQueue(charTime, transmitFirst), FClock(std::move(clock)),
      FSink(std::move(sink)) {
    FTimer.setSingleShot(true);
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, &PacedChannel::Deliver);
}

void PacedChannel::Push(const QByteArray& bytes) {
    FQueue.Push(bytes, FClock());
    Deliver();
}

void PacedChannel::Clear() {
    FQueue.Clear();
    FTimer.stop();
}

void PacedChannel::Deliver() {
    const QByteArray due = FQueue.TakeDue(FClock());
    if (!due.isEmpty())
        FSink(due);
    Schedule();
}

void PacedChannel::Schedule() {
    const auto next = FQueue.NextDue();
    if (!next) {
        FTimer.stop();
        return;
    }
    const double wait = *next - FClock();
    FTimer.start(wait <= 0 ? 0 : int(std::ceil(wait * 1000.0)));
}
