#include "soakmonitors.h"

#include "soakrecord.h"
#include "tapdcomport.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "tmessagebox.h"
#include "tprocessimage.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <ctime>

#include <malloc.h>

#include <unistd.h>

namespace {

constexpr int kStallTickMs = 10;
constexpr qint64 kLongGapMs = 100;
constexpr int kLongGapsKept = 20;
constexpr int kMemoryTickMs = 1000;
constexpr int kPendingTickMs = 10;

// Device paths differ from one simulator to the next; the texts are counted without them.
QString WithoutDeviceNumber(QString text) {
    const qsizetype at = text.indexOf(QLatin1String("pts/"));
    if (at < 0)
        return text;
    qsizetype end = at + 4;
    while (end < text.size() && text.at(end).isDigit())
        ++end;
    return text.replace(at, end - at, QStringLiteral("pts/N"));
}

std::function<void(const QString&, const QString&)> previousErrorBox;

} // namespace

qint64 SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// --- TStallMonitor ---

namespace {

// Processor time of the calling thread.
qint64 ThreadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

TStallMonitor::TStallMonitor() {
    FTimer.setInterval(kStallTickMs);
    FTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
    FClock.start();
}

void TStallMonitor::Start() {
    FLast = FClock.elapsed();
    FLastCpu = ThreadCpuMs();
    FHeartbeat = SteadyMs();
    FTimer.start();
}

void TStallMonitor::Tick() {
    const qint64 now = FClock.elapsed();
    const qint64 gap = now - FLast;
    FLast = now;
    FHeartbeat = SteadyMs();
    const qint64 cpu = ThreadCpuMs();
    if (gap > kLongGapMs && ++FOver100 <= kLongGapsKept)
        FLongGaps.append({gap, SteadyMs(), cpu - FLastCpu});
    FLastCpu = cpu;
    if (gap > FLargest) {
        FLargest = gap;
        FLargestAt = now;
        FLargestAtSteady = SteadyMs();
    }
}

// --- THangWatchdog ---

THangWatchdog::THangWatchdog(const std::atomic<qint64>& heartbeat, qint64 silenceMs, qint64 totalMs)
    : FHeartbeat(heartbeat), FThread([this, silenceMs, totalMs] { Watch(silenceMs, totalMs); }) {}

THangWatchdog::~THangWatchdog() {
    FDone = true;
    FThread.join();
}

void THangWatchdog::Watch(qint64 silenceMs, qint64 totalMs) {
    const qint64 start = SteadyMs();
    while (!FDone) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const qint64 now = SteadyMs();
        const qint64 sinceStart = now - start;
        const qint64 silence = FHeartbeat.load() > 0 ? now - FHeartbeat.load() : 0;
        const char* reason = nullptr;
        if (silence > silenceMs)
            reason = "hang: the user-interface thread stopped running its events";
        else if (sinceStart > totalMs)
            reason = "hang: the soak overran its deadline";
        if (reason) {
            std::printf("soak: FAIL (%s)\n", reason);
            std::fflush(stdout);
            ::_exit(1); // the simulators get SIGTERM as their parent goes
        }
    }
}

// --- TMemorySampler ---

TMemorySampler::TMemorySampler(qint64 baselineAtMs, std::function<qint64()> objectCount,
                               std::function<qint64()> soakOwnBytes)
    : FBaselineAt(baselineAtMs), FObjectCount(std::move(objectCount)),
      FSoakOwnBytes(std::move(soakOwnBytes)) {
    FTimer.setInterval(kMemoryTickMs);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Sample(); });
}

void TMemorySampler::Start() {
    FClock.start();
    FTimer.start();
}

qint64 TMemorySampler::ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    return fields.at(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

qint64 TMemorySampler::HeapInUseBytes() {
    const struct mallinfo2 info = ::mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

void TMemorySampler::Sample() {
    const qint64 samplesBytes = (FSamples.capacity() + FHeapSamples.capacity() +
                                 FObjectSamples.capacity() + FOwnSamples.capacity()) *
                                qint64(sizeof(qint64));
    const qint64 own = samplesBytes + (FSoakOwnBytes ? FSoakOwnBytes() : 0);
    FLast = ResidentBytes() - own;
    FSamples.append(FLast);
    FOwnSamples.append(own);
    FHeapSamples.append(HeapInUseBytes() - own);
    if (FObjectCount)
        FObjectSamples.append(FObjectCount());
    if (FBaseline == 0 && FClock.elapsed() >= FBaselineAt)
        FBaseline = FPeak = FLast;
    else if (FBaseline > 0)
        FPeak = std::max(FPeak, FLast);
}

// --- TBoxCatcher ---

TBoxCatcher::TBoxCatcher() {
    previousErrorBox = TGlodrikApplication::ErrorBox;
    TGlodrikApplication::ErrorBox = [this](const QString&, const QString& text) {
        Take(QStringLiteral("error box"), text);
    };
    TMessageBox::Override = [this](TMessageBox::TKind, const QString& text, bool) {
        Take(QStringLiteral("message box"), text);
        return false;
    };
    TApdComPort::PortPrompt = [this](QWidget*) -> std::optional<int> {
        ++FPortPrompts;
        return std::nullopt;
    };
}

TBoxCatcher::~TBoxCatcher() {
    TGlodrikApplication::ErrorBox = previousErrorBox;
    TMessageBox::Override = nullptr;
    TApdComPort::PortPrompt = nullptr;
}

void TBoxCatcher::Take(const QString& kind, const QString& text) {
    const QString key = kind + QStringLiteral(": \"") + WithoutDeviceNumber(text) + u'"';
    ++(FExpected ? FExpectedBoxes : FUnexpectedBoxes)[key];
    ++FCount;
}

// --- TPendingWatch ---

TPendingWatch::TPendingWatch(TFormMain& form) : FForm(form) {
    FTimer.setInterval(kPendingTickMs);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Look(); });
}

void TPendingWatch::Look() {
    for (TZuIO* point : FForm.Image().Points()) {
        const char code = point->MsgCode();
        if (!point->WriteRequest) {
            FCounted.remove(code);
            continue;
        }
        const std::optional<int> pending = WriteFrameValue(point->WriteMsg);
        if (!pending || *pending == (point->Value() & 0xFFFF) ||
            FCounted.value(code) == point->WriteMsg)
            continue;
        FCounted[code] = point->WriteMsg;
        ++FOverwritten;
        ++FByCode[code];
    }
}
