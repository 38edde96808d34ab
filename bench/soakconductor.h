#pragma once

#include "soaksimulator.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractButton;
class TBoxCatcher;
class TFormMain;
class TScriptedUser;

// One stretch of the soak: the line faults the simulator plays, or a pulled line.
struct TPhase {
    enum class TKind {
        Restart,           // a new simulator process with these fault options
        PullAndReplug,     // the line is pulled, then the same process plugs it in again
        PullAndNewProcess, // the line is pulled, then a new process takes the COM number
    };
    QString Name;
    QStringList Options;
    TKind Kind = TKind::Restart;
};

// The phases in the order they come round; the soak starts with a clean line.
const QList<TPhase>& PhaseCycle();

// Runs the simulators through the phases and keeps the link connected across
// them, as a technician with a cable and a power switch would: disconnects
// before a simulator is replaced, pulls lines, presses "Anslut" again.
// Straight-line code between event-loop waits, so it never runs inside a
// poll step.
class TConductor {
public:
    TConductor(TFormMain& form, TScriptedUser& user, TBoxCatcher& boxes, QString folder,
               int comNumber, int seed);
    ~TConductor();

    // The first, clean simulator; connected and every point read once.
    bool Begin();
    // Sets the phase up and lets the soak run in it for `ms` from its start.
    bool RunPhase(const TPhase& phase, int ms);
    // After the script: a clean line, connected, no write pending, every point read again.
    bool Finish();
    // Closes the main window as the user would and waits for the link to end.
    bool CloseWindow();
    void StopSimulators();

    // The simulator process current now, counted from 0.
    int CurrentInstance() const { return int(FSimulators.size()) - 1; }
    const std::vector<std::unique_ptr<TSimulatorProcess>>& Simulators() const {
        return FSimulators;
    }

    // What the soak was doing at a moment of the steady clock (SteadyMs).
    QString StageAt(qint64 steadyMs) const;

    const QStringList& Failures() const { return FFailures; }
    const QMap<QString, int>& Phases() const { return FPhases; }
    int Pulls() const { return FPulls; }
    int Replugs() const { return FReplugs; }
    int Reconnects() const { return FReconnects; }

private:
    bool StartSimulator(const QString& phase, const QStringList& options);
    bool StopCurrent();
    // The current simulator should still be running between phases.
    void CheckStillRunning();
    bool Restart(const TPhase& phase);
    bool PullLine(const TPhase& phase);
    void ConnectWhilePulled();
    // The link switched off and its worker ended, the port closed.
    bool WindDown();
    bool ConnectLink();
    bool WaitForNoPending(bool writes, int ms);
    void Press(QAbstractButton& button);
    bool Fail(const QString& reason);
    void Enter(const QString& stage);
    bool LinkOn() const;

    TFormMain& FForm;
    TScriptedUser& FUser;
    TBoxCatcher& FBoxes;
    QString FFolder;
    int FComNumber;
    int FSeed;
    std::vector<std::unique_ptr<TSimulatorProcess>> FSimulators;
    QStringList FFailures;
    QMap<QString, int> FPhases;
    int FPulls = 0;
    int FReplugs = 0;
    int FReconnects = 0;
    bool FCurrentClean = false;
    QList<QPair<qint64, QString>> FTimeline; // SteadyMs at the start of each stage
};
