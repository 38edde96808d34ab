#include "simulator.h"

#include <QFile>

#include <cstdio>

namespace {

constexpr int kModelPeriodMs = 100;

void PrintLine(const QString& text) {
    std::fputs(("kolvo-sim: " + text + '\n').toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

Simulator::Simulator(const SimOptions& options, QObject* parent)
    : QObject(parent), FOptions(options), FRegisters(options.version),
      FModel(FRegisters, options.model), FFaults(options.faults, options.seed + 1),
      FBootLoader(options.bootLoaderSettings), FLine(options.comNumber),
      // A character written into the pty is only complete on a real line one
      // character time later, in either direction.
      FInput(
          options.fast ? 0.0 : PacedQueue::kCharTime19200, true, [this] { return Now(); },
          [this](const QByteArray& bytes) { OnInput(bytes); }),
      FOutput(
          options.fast ? 0.0 : PacedQueue::kCharTime19200, true, [this] { return Now(); },
          [this](const QByteArray& bytes) { FLine.Write(bytes); }) {
    FClock.start();
    connect(&FLine, &PtyLine::Received, &FInput, &PacedChannel::Push);
    FModelTimer.setInterval(kModelPeriodMs);
    connect(&FModelTimer, &QTimer::timeout, this, &Simulator::Tick);
    FReplugTimer.setSingleShot(true);
    connect(&FReplugTimer, &QTimer::timeout, this, &Simulator::PlugLine);
}

Simulator::~Simulator() {
    Stop();
}

double Simulator::Now() const {
    return FClock.nsecsElapsed() / 1e9;
}

bool Simulator::Start(QString& error) {
    if (!FOptions.transcriptFile.isEmpty() && !FTranscript.Open(FOptions.transcriptFile, error))
        return false;
    if (!FLine.Plug(error))
        return false;
    Announce();
    if (!FOptions.bootLoader) {
        FLastTick = Now();
        FModelTimer.start();
    }
    if (FOptions.pullAfter >= 0)
        QTimer::singleShot(int(FOptions.pullAfter * 1000), this, &Simulator::PullLine);
    return true;
}

void Simulator::Stop() {
    FModelTimer.stop();
    FReplugTimer.stop();
    SaveBootLoaderRecords();
    FLine.Pull();
}

void Simulator::Announce() {
    PrintLine(QStringLiteral("COM%1 -> %2").arg(FOptions.comNumber).arg(FLine.DevicePath()));
    FTranscript.Note(Now(), "PLUG " + FLine.DevicePath().toLocal8Bit());
}

void Simulator::PullLine() {
    if (!FLine.IsPlugged())
        return;
    FLine.Pull();
    ++FGeneration;
    FInput.Clear();
    FOutput.Clear();
    FParser.Reset();
    FBootLoader.AbandonRecord();
    PrintLine(QStringLiteral("COM%1 pulled").arg(FOptions.comNumber));
    FTranscript.Note(Now(), "PULL");
    if (FOptions.replugAfter >= 0)
        FReplugTimer.start(int(FOptions.replugAfter * 1000));
}

void Simulator::PlugLine() {
    FReplugTimer.stop();
    if (FLine.IsPlugged())
        return;
    QString error;
    if (!FLine.Plug(error)) {
        PrintLine(error);
        return;
    }
    Announce();
}

void Simulator::Tick() {
    const double now = Now();
    FModel.Advance((now - FLastTick) * FOptions.speed);
    FLastTick = now;
}

void Simulator::OnInput(const QByteArray& bytes) {
    for (char c : bytes) {
        if (FOptions.bootLoader) {
            HandleBootLoader(c);
        } else if (auto frame = FParser.Feed(c)) {
            HandleFrame(*frame);
        }
    }
}

void Simulator::HandleFrame(const Frame& frame) {
    FTranscript.Log(Now(), "RX", frame.text);
    if (!frame.request)
        return;
    // Bring the model up to this moment so the answer is current.
    Tick();
    if (const auto reply = FModel.Handle(*frame.request))
        SendReply(*reply);
}

void Simulator::SendReply(const QByteArray& reply) {
    const ReplyPlan plan = FFaults.Plan(reply);
    if (plan.dropped) {
        FTranscript.Log(Now(), "DROP", reply);
        return;
    }
    for (const ReplyPlan::Piece& piece : plan.pieces)
        SendAfter(piece.bytes, piece.delay, "TX");
}

void Simulator::SendAfter(const QByteArray& bytes, double delay, const char* direction) {
    if (delay <= 0) {
        FTranscript.Log(Now(), direction, bytes);
        FOutput.Push(bytes);
        return;
    }
    const int generation = FGeneration;
    QTimer::singleShot(int(delay * 1000), Qt::PreciseTimer, this,
                       [this, bytes, direction, generation] {
                           if (generation == FGeneration)
                               SendAfter(bytes, 0, direction);
                       });
}

void Simulator::HandleBootLoader(char c) {
    const BootStep step = FBootLoader.Feed(c);
    if (!step.echo.isEmpty())
        FOutput.Push(step.echo);
    if (!step.record.isEmpty())
        FTranscript.Log(Now(), "RX", step.record);
    if (!step.status.isEmpty()) {
        FRecordsSaved = false;
        SendAfter(step.status, step.statusDelay, "TX");
    }
    if (step.finished) {
        PrintLine(QStringLiteral("boot loader: download finished, %1 records accepted")
                      .arg(FBootLoader.Accepted().size()));
        SaveBootLoaderRecords();
    }
}

void Simulator::SaveBootLoaderRecords() {
    if (!FOptions.bootLoader || FRecordsSaved)
        return;
    FRecordsSaved = true;
    const QString& path = FOptions.bootLoaderSettings.outputFile;
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        PrintLine(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return;
    }
    for (const QByteArray& record : FBootLoader.Accepted())
        file.write(record + '\n');
    file.close(); // the file is complete before anyone is told it is there
    PrintLine(QStringLiteral("boot loader: %1 records written to %2")
                  .arg(FBootLoader.Accepted().size())
                  .arg(path));
}
