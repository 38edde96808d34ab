#include "tst_eventtimer.h"

#include "eventtimer.h"

#include <QElapsedTimer>
#include <QTest>

#include <cstdint>

void TestEventTimer::cleanup() {
    SetMillisecondClock({});
}

void TestEventTimer::ticksPerSecond_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("ticks");
    QTest::newRow("1 s is 18 ticks, not 18.2") << 1 << 18;
    QTest::newRow("2 s") << 2 << 36;
    QTest::newRow("10 s") << 10 << 182;
    QTest::newRow("0 s") << 0 << 0;
}

void TestEventTimer::ticksPerSecond() {
    QFETCH(int, seconds);
    QFETCH(int, ticks);
    std::uint32_t now = 55u * 1000u + 7u;
    SetMillisecondClock([&] { return now; });
    EventTimer timer;
    NewTimerSecs(timer, seconds);
    QCOMPARE(timer.StartTicks, 1000);
    QCOMPARE(timer.ExpireTicks - timer.StartTicks, ticks);
    QCOMPARE(CurrentTick(), 1000);
}

// Each row: the clock reading at which the ticks start counting. For every
// start phase within a tick the one-second timer must run out exactly at
// the 19th tick boundary after its start: after more than 990 ms and no more
// than 1045 ms, also when the 32-bit clock wraps on the way.
void TestEventTimer::oneSecondRunsOutAtNineteenthBoundary_data() {
    QTest::addColumn<std::uint32_t>("boundary");
    QTest::newRow("ordinary") << std::uint32_t(55u * 123456u);
    QTest::newRow("clock at zero") << std::uint32_t(0);
    QTest::newRow("wrap during the second") << std::uint32_t(0xFFFFFFFFu - 600u);
    QTest::newRow("wrap right after start") << std::uint32_t(0xFFFFFFFFu - 40u);
}

void TestEventTimer::oneSecondRunsOutAtNineteenthBoundary() {
    QFETCH(std::uint32_t, boundary);
    std::uint32_t now = 0;
    SetMillisecondClock([&] { return now; });
    for (std::uint32_t phase = 0; phase < 55; ++phase) {
        const std::uint32_t start = boundary + phase;
        now = start;
        EventTimer timer;
        NewTimerSecs(timer, 1);
        std::uint32_t firstExpired = 0;
        for (std::uint32_t elapsed = 0; elapsed <= 1100; ++elapsed) {
            now = start + elapsed;
            if (TimerExpired(timer)) {
                firstExpired = elapsed;
                break;
            }
        }
        // Tick boundaries are counted from the start's own tick.
        const std::uint32_t startPhase = start % 55u;
        QVERIFY2(firstExpired == 1045u - startPhase,
                 qPrintable(
                     QStringLiteral("start %1 ran out after %2 ms").arg(start).arg(firstExpired)));
        QVERIFY(firstExpired > 990u && firstExpired <= 1045u);
        now = start + 5000; // and stays run out
        QVERIFY(TimerExpired(timer));
    }
}

void TestEventTimer::realClockOneSecond() {
    EventTimer timer;
    QElapsedTimer stopwatch;
    NewTimerSecs(timer, 1);
    stopwatch.start();
    while (!TimerExpired(timer))
        QTest::qSleep(1);
    const qint64 elapsed = stopwatch.elapsed();
    // Never early; late only by what a busy machine takes to wake the loop.
    QVERIFY2(elapsed >= 990 && elapsed <= 1045 + 200, qPrintable(QString::number(elapsed)));
}
