#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <thread>

class TFormMain;

// Milliseconds of the steady clock, comparable across threads.
qint64 SteadyMs();

// The largest gap between firings of a 10 ms timer: how long the
// user-interface thread went without running its events. Also the heartbeat
// the hang watchdog reads.
class TStallMonitor {
public:
    TStallMonitor();
    void Start();
    void Stop() { FTimer.stop(); }

    qint64 LargestGapMs() const { return FLargest; }
    // When the largest gap ended: ms since start, and SteadyMs().
    qint64 LargestGapAtMs() const { return FLargestAt; }
    qint64 LargestGapAtSteadyMs() const { return FLargestAtSteady; }
    int GapsOver100Ms() const { return FOver100; }
    struct TGap {
        qint64 Ms;
        qint64 AtSteadyMs;
        qint64 CpuMs; // processor time the thread used in the gap: busy, or waiting
    };
    // The first gaps over 100 ms, as they came.
    const QList<TGap>& LongGaps() const { return FLongGaps; }
    // SteadyMs() at the last firing; read by another thread.
    const std::atomic<qint64>& Heartbeat() const { return FHeartbeat; }

private:
    void Tick();

    QTimer FTimer;
    QElapsedTimer FClock;
    qint64 FLast = 0;
    qint64 FLastCpu = 0;
    qint64 FLargest = 0;
    qint64 FLargestAt = 0;
    qint64 FLargestAtSteady = 0;
    int FOver100 = 0;
    QList<TGap> FLongGaps;
    std::atomic<qint64> FHeartbeat{0};
};

// Ends the soak with a failure when the user-interface thread stops beating
// for too long or the whole run overruns its deadline; the simulators die
// with the soak.
class THangWatchdog {
public:
    THangWatchdog(const std::atomic<qint64>& heartbeat, qint64 silenceMs, qint64 totalMs);
    ~THangWatchdog();
    THangWatchdog(const THangWatchdog&) = delete;
    THangWatchdog& operator=(const THangWatchdog&) = delete;

private:
    void Watch(qint64 silenceMs, qint64 totalMs);

    const std::atomic<qint64>& FHeartbeat;
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

// Resident memory, sampled once a second, with the heap in use and a count of
// objects (what a leak of windows, workers or points would raise). The level,
// peak and last figures are of Glodrik's memory: resident memory less what the
// soak itself keeps for its checks (its record of user actions and these
// samples), which grows by design with the time soaked.
class TMemorySampler {
public:
    TMemorySampler(qint64 baselineAtMs, std::function<qint64()> objectCount,
                   std::function<qint64()> soakOwnBytes);
    void Start();
    void Stop() { FTimer.stop(); }
    void Sample();

    static qint64 ResidentBytes();
    // Bytes the heap has handed out and not had back (what a leak raises).
    static qint64 HeapInUseBytes();
    bool HasBaseline() const { return FBaseline > 0; }
    qint64 Baseline() const { return FBaseline; }
    qint64 Peak() const { return FPeak; }
    qint64 Last() const { return FLast; }
    qint64 BaselineAtMs() const { return FBaselineAt; }
    // Every sample, one a second.
    const QList<qint64>& Samples() const { return FSamples; }
    const QList<qint64>& HeapSamples() const { return FHeapSamples; }
    const QList<qint64>& ObjectSamples() const { return FObjectSamples; }
    // The soak's own bookkeeping at each sample.
    const QList<qint64>& OwnSamples() const { return FOwnSamples; }

private:
    QTimer FTimer;
    QElapsedTimer FClock;
    qint64 FBaselineAt;
    qint64 FBaseline = 0;
    qint64 FPeak = 0;
    qint64 FLast = 0;
    QList<qint64> FSamples;
    QList<qint64> FHeapSamples;
    QList<qint64> FObjectSamples;
    QList<qint64> FOwnSamples;
    std::function<qint64()> FObjectCount;
    std::function<qint64()> FSoakOwnBytes;
};

// Takes the error boxes, message boxes and port prompts instead of showing
// them, and counts them by text. A box is expected while the soak has said so
// (a line it pulled itself).
class TBoxCatcher {
public:
    TBoxCatcher();
    ~TBoxCatcher();

    void Expect(bool expected) { FExpected = expected; }

    const QMap<QString, int>& ExpectedBoxes() const { return FExpectedBoxes; }
    const QMap<QString, int>& UnexpectedBoxes() const { return FUnexpectedBoxes; }
    int PortPrompts() const { return FPortPrompts; }
    // Boxes taken so far, expected or not.
    int Count() const { return FCount; }

private:
    void Take(const QString& kind, const QString& text);

    bool FExpected = false;
    QMap<QString, int> FExpectedBoxes;
    QMap<QString, int> FUnexpectedBoxes;
    int FPortPrompts = 0;
    int FCount = 0;
};

// Watches for pending writes whose value the window no longer shows, because
// a reply for the point replaced the value while its write waited.
class TPendingWatch {
public:
    explicit TPendingWatch(TFormMain& form);
    void Start() { FTimer.start(); }
    void Stop() { FTimer.stop(); }
    int Overwritten() const { return FOverwritten; }
    const QMap<char, int>& ByCode() const { return FByCode; }

private:
    void Look();

    TFormMain& FForm;
    QTimer FTimer;
    QMap<char, QByteArray> FCounted; // the pending frame already counted, by code
    int FOverwritten = 0;
    QMap<char, int> FByCode;
};
