#pragma once

#include <cstdint>
#include <functional>

// Tick timers for the waiting loops: one tick is 55 ms, a second is
// 1675/92 ticks (truncated, so one second is 18 ticks), and a timer has run
// out when the current tick is past its expiry tick - more than 990 ms and at
// most 1045 ms after a one-second timer was started.

constexpr std::int32_t kMillisecondsPerTick = 55;

struct EventTimer {
    std::int32_t StartTicks = 0;
    std::int32_t ExpireTicks = 0;
    // The clock reading at the start; with it a timer that spans the wrap of
    // the 32-bit millisecond clock still runs out on time.
    std::uint32_t StartMs = 0;
};

// The 32-bit millisecond clock; tests inject their own (an empty function
// brings back the system's steady clock).
using TMillisecondClock = std::function<std::uint32_t()>;
void SetMillisecondClock(TMillisecondClock clock);
std::uint32_t MillisecondClock();

// Milliseconds divided by 55.
std::int32_t CurrentTick();

void NewTimerSecs(EventTimer& timer, std::int32_t seconds);
bool TimerExpired(const EventTimer& timer);
