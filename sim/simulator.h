#pragma once

#include "bootloader.h"
#include "burnermodel.h"
#include "faultinjector.h"
#include "pacedchannel.h"
#include "ptyline.h"
#include "registers.h"
#include "requestparser.h"
#include "simoptions.h"
#include "transcript.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The whole controller on its line: reads what the PC sends (at line pace), answers as
// the protocol or the boot loader, lets the line faults act on the replies, runs the
// burner model on a timer and can pull and plug the line.
class Simulator : public QObject {
    Q_OBJECT

public:
    explicit Simulator(const SimOptions& options, QObject* parent = nullptr);
    ~Simulator() override;

    // Opens and publishes the line and starts the timers. False with error on failure.
    bool Start(QString& error);
    // Saves what there is to save and takes the line away (at exit).
    void Stop();

    void PullLine();
    void PlugLine();

private:
    double Now() const;
    void Announce();
    void OnInput(const QByteArray& bytes);
    void HandleFrame(const Frame& frame);
    void HandleBootLoader(char c);
    void SendReply(const QByteArray& reply);
    void SendAfter(const QByteArray& bytes, double delay, const char* direction);
    void Tick();
    void SaveBootLoaderRecords();

    SimOptions FOptions;
    QElapsedTimer FClock;
    Registers FRegisters;
    BurnerModel FModel;
    RequestParser FParser;
    FaultInjector FFaults;
    BootLoader FBootLoader;
    Transcript FTranscript;
    PtyLine FLine;
    PacedChannel FInput;
    PacedChannel FOutput;
    QTimer FModelTimer;
    QTimer FReplugTimer;
    double FLastTick = 0;
    int FGeneration = 0; // counts plugs; a delayed send for an older line is dropped
    bool FRecordsSaved = true;
};
