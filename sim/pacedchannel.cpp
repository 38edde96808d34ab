#include "pacedchannel.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace {

// Waits shorter than this are slept out here rather than left to a timer,
// whose millisecond steps would shift every character of a burst.
constexpr double kShortWait = 0.002;

} // namespace

PacedChannel::PacedChannel(double charTime, bool transmitFirst, Clock clock, Sink sink,
                           QObject* parent)
    : QObject(parent), FQueue(charTime, transmitFirst), FClock(std::move(clock)),
      FSink(std::move(sink)) {
    FTimer.setSingleShot(true);
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, &PacedChannel::OnTimer);
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
    const auto next = FQueue.NextDue();
    if (!next) {
        FTimer.stop();
        return;
    }
    const double wait = *next - FClock();
    if (wait >= kShortWait) {
        // Wake a little early and sleep the rest precisely.
        FTimer.start(int(std::floor((wait - kShortWait / 2) * 1000.0)));
        return;
    }
    // Soon: first let the other direction of the line have its turn.
    FTimer.start(0);
}

void PacedChannel::OnTimer() {
    if (const auto next = FQueue.NextDue()) {
        const double wait = *next - FClock();
        if (wait > 0 && wait < kShortWait)
            std::this_thread::sleep_for(std::chrono::duration<double>(wait));
    }
    Deliver();
}
