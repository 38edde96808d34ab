#include "soakconductor.h"

#include "soakmonitors.h"
#include "soakuser.h"
#include "soakwait.h"
#include "tapdcomport.h"
#include "tformmain.h"
#include "tled.h"
#include "tprocessimage.h"
#include "tzuiolist.h"
#include "ui_tformmain.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int kWindDownMs = 5000;
constexpr int kFirstReadMs = 15000;
constexpr int kDrainMs = 30000;
constexpr int kPulledMs = 1000; // how long a pulled line stays out

} // namespace

const QList<TPhase>& PhaseCycle() {
    using TKind = TPhase::TKind;
    static const QList<TPhase> cycle{
        {QStringLiteral("dropped replies"), {QStringLiteral("--drop"), QStringLiteral("20")}},
        {QStringLiteral("late replies"), {QStringLiteral("--late"), QStringLiteral("10")}},
        {QStringLiteral("split replies"), {QStringLiteral("--split"), QStringLiteral("40")}},
        {QStringLiteral("noisy replies"), {QStringLiteral("--noise"), QStringLiteral("40")}},
        {QStringLiteral("CR LF"), {QStringLiteral("--crlf")}},
        {QStringLiteral("pulled, plugged in again"), {}, TKind::PullAndReplug},
        {QStringLiteral("all faults a little"),
         {QStringLiteral("--drop"), QStringLiteral("5"), QStringLiteral("--late"),
          QStringLiteral("5"), QStringLiteral("--noise"), QStringLiteral("10"),
          QStringLiteral("--split"), QStringLiteral("10"), QStringLiteral("--crlf")}},
        {QStringLiteral("pulled, new simulator"), {}, TKind::PullAndNewProcess},
        {QStringLiteral("clean"), {}},
    };
    return cycle;
}

TConductor::TConductor(TFormMain& form, TScriptedUser& user, TBoxCatcher& boxes, QString folder,
                       int comNumber, int seed)
    : FForm(form), FUser(user), FBoxes(boxes), FFolder(std::move(folder)), FComNumber(comNumber),
      FSeed(seed) {}

TConductor::~TConductor() {
    StopSimulators();
}

bool TConductor::Fail(const QString& reason) {
    FFailures << reason;
    return false;
}

bool TConductor::LinkOn() const {
    return FForm.Form().LedConnected->GetOn();
}

void TConductor::Press(QAbstractButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
}

bool TConductor::StartSimulator(const QString& phase, const QStringList& options) {
    const int instance = int(FSimulators.size());
    const QString transcript =
        QStringLiteral("%1/sim%2.txt").arg(FFolder).arg(instance, 2, 10, QLatin1Char('0'));
    FSimulators.push_back(std::make_unique<TSimulatorProcess>(phase, options, transcript));
    QString error;
    if (!FSimulators.back()->Start(FComNumber, FSeed + instance, error))
        return Fail(error);
    FCurrentClean = options.isEmpty();
    return true;
}

void TConductor::CheckStillRunning() {
    if (!FSimulators.empty() && !FSimulators.back()->Running())
        Fail(QStringLiteral("simulator #%1 ended by itself").arg(CurrentInstance()));
}

bool TConductor::StopCurrent() {
    if (FSimulators.empty() || FSimulators.back()->Stop())
        return true;
    return Fail(QStringLiteral("simulator #%1 did not end on SIGTERM").arg(CurrentInstance()));
}

void TConductor::StopSimulators() {
    for (const auto& simulator : FSimulators)
        simulator->Stop();
}

bool TConductor::WindDown() {
    if (LinkOn())
        Press(*FForm.Form().ButtonStart);
    if (WaitUntil([this] { return !FForm.ComThread() && !FForm.ComPort1->Open(); }, kWindDownMs))
        return true;
    return Fail(QStringLiteral("the link had not wound down %1 s after a disconnect (worker %2, "
                               "port %3)")
                    .arg(kWindDownMs / 1000)
                    .arg(FForm.ComThread() ? "running" : "ended",
                         FForm.ComPort1->Open() ? "open" : "closed"));
}

bool TConductor::ConnectLink() {
    if (LinkOn())
        return true;
    Press(*FForm.Form().ButtonStart);
    ++FReconnects;
    if (LinkOn())
        return true;
    return Fail(
        QStringLiteral("\"Anslut\" did not connect to simulator #%1").arg(CurrentInstance()));
}

bool TConductor::WaitForNoPending(bool writes, int ms) {
    const auto pending = [this, writes] {
        // Only listed points are polled (the older-version box takes one out).
        QString codes;
        for (TZuIO* point : FForm.IOList()->Items.Snapshot()) {
            if (writes ? point->WriteRequest : point->UpdateRequest)
                codes += QChar::fromLatin1(point->MsgCode());
        }
        return codes;
    };
    if (WaitUntil([&] { return pending().isEmpty(); }, ms))
        return true;
    return Fail(QStringLiteral("%1 still pending %2 s later for points %3")
                    .arg(writes ? "writes" : "reads")
                    .arg(ms / 1000)
                    .arg(pending()));
}

void TConductor::Enter(const QString& stage) {
    FTimeline.append({SteadyMs(), stage});
}

QString TConductor::StageAt(qint64 steadyMs) const {
    QString stage;
    for (const auto& [start, name] : FTimeline) {
        if (start > steadyMs)
            break;
        stage = name;
    }
    return stage;
}

bool TConductor::Begin() {
    Enter(QStringLiteral("clean"));
    ++FPhases[QStringLiteral("clean")];
    if (!StartSimulator(QStringLiteral("clean"), {}) || !ConnectLink())
        return false;
    const bool read = WaitForNoPending(false, kFirstReadMs);
    FUser.AllowLink(true);
    return read;
}

bool TConductor::RunPhase(const TPhase& phase, int ms) {
    QElapsedTimer clock;
    clock.start();
    ++FPhases[phase.Name];
    Enter(phase.Name + QStringLiteral(", setting up"));
    CheckStillRunning();
    FUser.AllowLink(false);
    const bool ready = phase.Kind == TPhase::TKind::Restart ? Restart(phase) : PullLine(phase);
    if (!ready)
        return false;
    FUser.AllowLink(true);
    Enter(phase.Name);
    RunFor(std::max<int>(0, ms - int(clock.elapsed())));
    return true;
}

bool TConductor::Restart(const TPhase& phase) {
    WindDown();
    StopCurrent();
    return StartSimulator(phase.Name, phase.Options) && ConnectLink();
}

bool TConductor::PullLine(const TPhase& phase) {
    TSimulatorProcess& simulator = *FSimulators.back();
    const bool wasOn = LinkOn();
    FBoxes.Expect(true); // the lost line is reported, and so is "Anslut" without a line
    Enter(phase.Name + QStringLiteral(", pulling"));
    if (!simulator.Pull()) {
        FBoxes.Expect(false);
        return Fail(QStringLiteral("simulator #%1 did not pull its line").arg(CurrentInstance()));
    }
    ++FPulls;
    if (wasOn && !WaitUntil([this] { return !LinkOn() && !FForm.ComThread(); }, kWindDownMs))
        Fail(
            QStringLiteral("the link had not noticed a pulled line %1 s later (lamp %2, worker %3)")
                .arg(kWindDownMs / 1000)
                .arg(LinkOn() ? "on" : "off", FForm.ComThread() ? "running" : "ended"));
    Enter(phase.Name + QStringLiteral(", \"Anslut\" while pulled"));
    ConnectWhilePulled();
    Enter(phase.Name + QStringLiteral(", line out"));
    RunFor(kPulledMs);
    Enter(phase.Name + QStringLiteral(", line back"));
    bool plugged = false;
    if (phase.Kind == TPhase::TKind::PullAndReplug) {
        plugged = simulator.Plug();
        ++FReplugs;
        if (!plugged)
            Fail(QStringLiteral("simulator #%1 did not plug its line in again")
                     .arg(CurrentInstance()));
    } else {
        StopCurrent();
        plugged = StartSimulator(phase.Name, {});
    }
    FBoxes.Expect(false);
    Enter(phase.Name + QStringLiteral(", reconnecting"));
    // Whatever was pulled, the link must have let go of it before "Anslut".
    if (!WindDown() || !plugged)
        return false;
    return ConnectLink();
}

void TConductor::ConnectWhilePulled() {
    if (LinkOn())
        return;
    const int boxes = FBoxes.Count();
    Press(*FForm.Form().ButtonStart);
    if (LinkOn())
        Fail(QStringLiteral("\"Anslut\" connected although the line was pulled"));
    else if (FBoxes.Count() == boxes)
        Fail(QStringLiteral("\"Anslut\" without a line showed no error (port %1, worker %2)")
                 .arg(FForm.ComPort1->Open() ? "open" : "closed",
                      FForm.ComThread() ? "running" : "none"));
}

bool TConductor::Finish() {
    Enter(QStringLiteral("after the script"));
    FUser.Stop();
    CheckStillRunning();
    const bool usable = !FSimulators.empty() && FSimulators.back()->Running() &&
                        FSimulators.back()->Plugged() && FCurrentClean;
    if (!usable && !Restart({QStringLiteral("clean, to finish"), {}}))
        return false;
    if (!LinkOn() && (!WindDown() || !ConnectLink()))
        return false;
    if (!WaitForNoPending(true, kDrainMs))
        return false;
    Press(*FForm.Form().ButtonUpdateAll);
    return WaitForNoPending(false, kDrainMs);
}

bool TConductor::CloseWindow() {
    Enter(QStringLiteral("closing the window"));
    FForm.close();
    if (WaitUntil([this] { return !FForm.ComThread() && !FForm.ComPort1->Open(); }, kWindDownMs))
        return true;
    return Fail(QStringLiteral("the link had not ended %1 s after the window closed")
                    .arg(kWindDownMs / 1000));
}
