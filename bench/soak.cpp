// Soaks Glodrik's link against kolvo-sim for a while: the simulator goes
// through its line faults (dropped, late, split and noisy replies, CR LF,
// pulled lines, new simulator processes) while a scripted user edits
// parameters, clicks output lamps, re-reads, switches the live view and the
// older-version box, and disconnects and connects. At the end it checks that
// every last value the user set reached a simulator, that no write went out
// that the user did not make, that the window never stalled, and that memory
// stayed level; it prints the figures and "soak: PASS" or "soak: FAIL (...)".
//
//   build/bench/soak [--seconds N] [--seed N] [--com N]

#include "benchsupport.h"
#include "soakchecks.h"
#include "soakconductor.h"
#include "soakmonitors.h"
#include "soakrecord.h"
#include "soakreport.h"
#include "soaktranscript.h"
#include "soakuser.h"
#include "soakwait.h"
#include "tapdcomport.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "tlinkconnection.h"
#include "tprocessimage.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kDefaultCom = 49;
// The first clean stretch, the cycle of faults and the last clean phase.
constexpr int kPhasesPerRun = 11;
constexpr int kMinPhaseMs = 4000;
constexpr int kMaxPhaseMs = 15000;
constexpr qint64 kHangSilenceMs = 30000;
constexpr qint64 kOverrunMs = 240000;

struct TOptions {
    int Seconds = 60;
    int Seed = 1;
    int Com = kDefaultCom;
};

TOptions ParseArguments(const QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Soaks Glodrik's link against kolvo-sim."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Seconds of scripted use."),
                      QStringLiteral("N"), QStringLiteral("60")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the user and simulators."),
                      QStringLiteral("N"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("com"), QStringLiteral("COM number the simulators publish."),
                      QStringLiteral("N"), QString::number(kDefaultCom)});
    parser.process(application);
    TOptions options;
    options.Seconds = std::max(10, parser.value(QStringLiteral("seconds")).toInt());
    options.Seed = parser.value(QStringLiteral("seed")).toInt();
    options.Com = std::clamp(parser.value(QStringLiteral("com")).toInt(), 1, 50);
    return options;
}

// The points kolvo-sim's burner model changes on its own (outputs, alarms).
QSet<char> ModelDrivenPoints() {
    return {'A', 'D', 'e', 'f'};
}

// Runs the first clean stretch, then the phases round and round, and ends
// with a clean phase whose simulator stays for the final checks.
void RunPhases(TConductor& conductor, int totalMs, int phaseMs, QStringList& failures) {
    QElapsedTimer clock;
    clock.start();
    RunFor(std::min(phaseMs, totalMs));
    const QList<TPhase>& cycle = PhaseCycle();
    const TPhase last{QStringLiteral("clean, last"), {}};
    for (qsizetype n = 0; clock.elapsed() < totalMs; ++n) {
        const int left = totalMs - int(clock.elapsed());
        const TPhase& phase = left <= phaseMs * 3 / 2 ? last : cycle.at(n % cycle.size());
        if (!conductor.RunPhase(phase, std::min(phaseMs, left))) {
            failures
                << QStringLiteral("the soak could not go on after phase \"%1\"").arg(phase.Name);
            return;
        }
        if (&phase == &last)
            RunFor(std::max(0, totalMs - int(clock.elapsed())));
    }
}

// The offscreen platform says so at every layout change of the shown window.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
}

// The objects of the window (controls, points, workers, timers) and the
// other top-level widgets.
qint64 ObjectCount(const TFormMain* window) {
    qint64 count = QApplication::topLevelWidgets().size();
    if (window)
        count += window->findChildren<QObject*>().size();
    return count;
}

QMap<char, int> ValuesNow(const TFormMain& form) {
    QMap<char, int> values;
    for (TZuIO* point : form.Image().Points())
        values[point->MsgCode()] = point->Value();
    return values;
}

QList<TTranscript> ReadTranscripts(const TConductor& conductor, const TFormMain& form) {
    const TTypeOfCode typeOf = [&form](char code) -> std::optional<IOType> {
        if (TZuIO* point = form.Image().PointOfCode(code))
            return point->Type();
        return std::nullopt;
    };
    QList<TTranscript> transcripts;
    int instance = 0;
    for (const auto& simulator : conductor.Simulators()) {
        transcripts << ReadTranscript(instance, simulator->Phase(), simulator->TranscriptPath(),
                                      typeOf);
        ++instance;
    }
    return transcripts;
}

// The writes the simulators received against what the user did; `readBack`
// is empty when the final re-read did not complete.
TWriteVerdict JudgeWrites(const TSoakResults& results, const TConductor& conductor,
                          const QMap<char, int>& readBack) {
    TWriteEvidence evidence;
    evidence.Record = results.Record;
    evidence.Transcripts = results.Transcripts;
    evidence.FinalInstance = conductor.CurrentInstance();
    evidence.ReadBack = readBack;
    evidence.ModelDriven = ModelDrivenPoints();
    return CheckWrites(evidence);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    PrepareBenchEnvironment(runtime.path());
    qInstallMessageHandler(QuietOffscreenNotes);
    TGlodrikApplication application(argc, argv);
    // The soak closes the window itself and goes on waiting for the link after it.
    QApplication::setQuitOnLastWindowClosed(false);
    const TOptions options = ParseArguments(application);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    const int totalMs = options.Seconds * 1000;
    const int phaseMs = std::clamp(totalMs / kPhasesPerRun, kMinPhaseMs, kMaxPhaseMs);
    std::printf("soak: %d s, seed %d, COM%d, transcripts in %s\n", options.Seconds, options.Seed,
                options.Com, runtime.path().toLocal8Bit().constData());
    std::fflush(stdout);

    TBoxCatcher boxes;
    // The watchdog outlives the window, so a hang in its destruction is caught too.
    TStallMonitor stall;
    THangWatchdog watchdog(stall.Heartbeat(), kHangSilenceMs, totalMs + kOverrunMs);
    TFormMain* window = nullptr;
    TUserRecord record;
    TMemorySampler memory(
        std::min(60000, totalMs / 4), [&window] { return ObjectCount(window); },
        [&record] { return record.FootprintBytes(); });
    TFormMain form;
    window = &form;
    form.ComPort1->SetComNumber(quint16(options.Com));
    form.show();
    // From the window's first events on (its construction is no stall of the event loop).
    stall.Start();
    const TConductor* current = nullptr;
    TScriptedUser user(form, record, quint32(options.Seed),
                       [&current] { return current ? current->CurrentInstance() : 0; });
    TConductor conductor(form, user, boxes, runtime.path(), options.Com, options.Seed * 100);
    current = &conductor;
    TPendingWatch pending(form);

    TSoakResults results;
    QElapsedTimer clock;
    clock.start();
    memory.Start();
    pending.Start();
    if (conductor.Begin()) {
        user.Start();
        RunPhases(conductor, totalMs, phaseMs, results.Failures);
    } else {
        results.Failures << QStringLiteral("the soak could not begin");
    }
    results.Replies = form.Link().Transaction().Replies;
    const bool finished = conductor.Finish();
    const QMap<char, int> readBack = ValuesNow(form);
    memory.Sample();
    memory.Stop();
    pending.Stop();
    conductor.CloseWindow();
    results.Seconds = double(clock.elapsed()) / 1000.0;
    stall.Stop();
    conductor.StopSimulators();

    results.PhaseMs = phaseMs;
    results.Conductor = &conductor;
    results.User = &user;
    results.Record = &record;
    results.Boxes = &boxes;
    results.Stall = &stall;
    results.Memory = &memory;
    results.Pending = &pending;
    results.Transcripts = ReadTranscripts(conductor, form);
    results.Writes = JudgeWrites(results, conductor, finished ? readBack : QMap<char, int>());

    const QStringList reasons = PrintReport(results);
    if (reasons.isEmpty()) {
        std::printf("soak: PASS\n");
        return 0;
    }
    runtime.setAutoRemove(false); // the transcripts stay for a closer look
    std::printf("transcripts kept in %s\n", runtime.path().toLocal8Bit().constData());
    std::printf("soak: FAIL (%s)\n", reasons.join(QStringLiteral("; ")).toLocal8Bit().constData());
    return 1;
}
