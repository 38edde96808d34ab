#include "eventtimer.h"

#include <QMutex>
#include <QMutexLocker>

#include <chrono>

namespace {

QMutex clockLock;
TMillisecondClock injectedClock;

std::uint32_t SystemMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace

void SetMillisecondClock(TMillisecondClock clock) {
    QMutexLocker locker(&clockLock);
    injectedClock = std::move(clock);
}

std::uint32_t MillisecondClock() {
    TMillisecondClock clock;
    {
        QMutexLocker locker(&clockLock);
        clock = injectedClock;
    }
    return clock ? clock() : SystemMilliseconds();
}

std::int32_t CurrentTick() {
    return static_cast<std::int32_t>(MillisecondClock() / std::uint32_t(kMillisecondsPerTick));
}

void NewTimerSecs(EventTimer& timer, std::int32_t seconds) {
    const std::uint32_t now = MillisecondClock();
    const std::int32_t ticks = static_cast<std::int32_t>(std::int64_t(seconds) * 1675 / 92);
    timer.StartMs = now;
    timer.StartTicks = static_cast<std::int32_t>(now / std::uint32_t(kMillisecondsPerTick));
    timer.ExpireTicks = static_cast<std::int32_t>(std::uint32_t(timer.StartTicks) + ticks);
}

bool TimerExpired(const EventTimer& timer) {
    // Ticks counted from the start's own tick boundary: the same answer as
    // comparing the current tick with the expiry tick, but measured on the
    // elapsed time, which the clock's wrap does not disturb.
    const std::uint32_t elapsed = MillisecondClock() - timer.StartMs;
    const std::int64_t phase = timer.StartMs % std::uint32_t(kMillisecondsPerTick);
    const std::int64_t ticksPassed = (phase + elapsed) / kMillisecondsPerTick;
    const auto ticks = static_cast<std::int32_t>(std::uint32_t(timer.ExpireTicks) -
                                                 std::uint32_t(timer.StartTicks));
    return ticksPassed > ticks;
}
