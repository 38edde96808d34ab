#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// One kolvo-sim process of the soak: started with its fault options and a
// transcript of its own, watched through the lines it prints (a published
// port, a pulled line), pulled and plugged by signal, and stopped with a
// deadline. The process gets SIGTERM should the soak itself die first.
class TSimulatorProcess {
public:
    TSimulatorProcess(QString phase, QStringList faultOptions, QString transcript);
    ~TSimulatorProcess();
    TSimulatorProcess(const TSimulatorProcess&) = delete;
    TSimulatorProcess& operator=(const TSimulatorProcess&) = delete;

    // Starts it and waits (at most 5 s) until its port is published.
    bool Start(int comNumber, int seed, QString& error);
    // Pulls its line and waits (at most 3 s) until it says so.
    bool Pull();
    // Plugs its line in again and waits (at most 3 s) until the port is published.
    bool Plug();
    // SIGTERM, then SIGKILL after 3 s; true when it ended by itself.
    bool Stop();

    bool Plugged() const { return FPlugged; }
    bool Running() const { return FProcess && FProcess->state() != QProcess::NotRunning; }
    const QString& Phase() const { return FPhase; }
    const QString& TranscriptPath() const { return FTranscript; }
    int Publications() const { return FPublications; }

private:
    void ReadOutput();
    bool Signal(int number);

    QString FPhase;
    QStringList FFaultOptions;
    QString FTranscript;
    std::unique_ptr<QProcess> FProcess; // none once stopped
    QByteArray FPartialLine;
    bool FPlugged = false;
    int FPublications = 0;
};
