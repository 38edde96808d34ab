#include "soaksimulator.h"

#include "soakwait.h"

#include <csignal>
#include <cstdio>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 5000;
constexpr int kLineMs = 3000;
constexpr int kStopMs = 3000;

} // namespace

TSimulatorProcess::TSimulatorProcess(QString phase, QStringList faultOptions, QString transcript)
    : FPhase(std::move(phase)), FFaultOptions(std::move(faultOptions)),
      FTranscript(std::move(transcript)), FProcess(std::make_unique<QProcess>()) {
    FProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A simulator must not outlive the soak, however the soak ends (also when it
    // ended before the child could ask for the signal).
    const pid_t soak = ::getpid();
    FProcess->setChildProcessModifier([soak] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != soak)
            ::_exit(1);
    });
    QObject::connect(FProcess.get(), &QProcess::readyReadStandardOutput, FProcess.get(),
                     [this] { ReadOutput(); });
}

TSimulatorProcess::~TSimulatorProcess() {
    if (Running())
        Stop();
}

bool TSimulatorProcess::Start(int comNumber, int seed, QString& error) {
    if (!FProcess) {
        error = QStringLiteral("a simulator process is started only once");
        return false;
    }
    QStringList arguments{QStringLiteral("--com"),        QString::number(comNumber),
                          QStringLiteral("--seed"),       QString::number(seed),
                          QStringLiteral("--transcript"), FTranscript};
    arguments << FFaultOptions;
    FProcess->start(QStringLiteral(KOLVO_SIM_PATH), arguments);
    if (!FProcess->waitForStarted(kStartMs)) {
        error = QStringLiteral("kolvo-sim did not start: %1").arg(FProcess->errorString());
        return false;
    }
    if (!WaitUntil([this] { return FPlugged || !Running(); }, kStartMs) || !FPlugged) {
        error = QStringLiteral("kolvo-sim (%1) published no port").arg(FPhase);
        return false;
    }
    return true;
}

bool TSimulatorProcess::Signal(int number) {
    if (!Running())
        return false;
    const qint64 pid = FProcess->processId();
    return pid > 0 && ::kill(pid_t(pid), number) == 0;
}

bool TSimulatorProcess::Pull() {
    return Signal(SIGUSR1) && WaitUntil([this] { return !FPlugged; }, kLineMs);
}

bool TSimulatorProcess::Plug() {
    return Signal(SIGUSR2) && WaitUntil([this] { return FPlugged; }, kLineMs);
}

bool TSimulatorProcess::Stop() {
    if (!Running()) {
        FPlugged = false;
        FProcess.reset();
        return true;
    }
    FProcess->terminate();
    const bool ended = WaitUntil([this] { return !Running(); }, kStopMs);
    if (!ended) {
        FProcess->kill();
        FProcess->waitForFinished(kStopMs);
    }
    FPlugged = false;
    FProcess.reset(); // a long soak keeps no buffers of ended simulators
    FPartialLine = QByteArray();
    return ended;
}

void TSimulatorProcess::ReadOutput() {
    FPartialLine += FProcess->readAllStandardOutput();
    for (qsizetype end = FPartialLine.indexOf('\n'); end >= 0; end = FPartialLine.indexOf('\n')) {
        const QByteArray line = FPartialLine.left(end).trimmed();
        FPartialLine.remove(0, end + 1);
        // "kolvo-sim: COM49 -> /dev/pts/7" and "kolvo-sim: COM49 pulled".
        if (line.contains(" -> ")) {
            FPlugged = true;
            ++FPublications;
        } else if (line.endsWith(" pulled")) {
            FPlugged = false;
        } else if (!line.isEmpty()) {
            std::fprintf(stderr, "%s\n", line.constData());
        }
    }
    // The first read hands over a buffer of several KiB; a long soak starts
    // hundreds of simulators and must not keep one for each.
    if (FPartialLine.isEmpty())
        FPartialLine = QByteArray();
}
