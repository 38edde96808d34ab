// Downloads a 412-line program file to kolvo-sim's boot loader through the
// download dialog, with the simulator's 19200-baud line timing, and prints
// the total time against the time the characters need on the wire.
//
//   build/bench/downloadbench
//
// Each line goes out character by character while its echo comes back, so a
// line needs at least (length + 2) character times on the wire: the line,
// the echo of its last character and the status. That is the floor the
// overhead is measured against; the characters sent and received one after
// the other are printed too.

#include "benchsupport.h"
#include "programfile.h"
#include "tapdcomport.h"
#include "tdownloadform.h"
#include "tmessagebox.h"
#include "ui_tdownloadform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kCom = 49;
constexpr double kCharTime = 10.0 / 19200.0;

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    PrepareBenchEnvironment(runtime.path());
    QApplication application(argc, argv);

    QList<QByteArray> lines;
    for (int i = 0; i < 411; ++i)
        lines << MakeHexRecord(i * 16, 0, QByteArray(16, char(i & 0xFF)));
    lines << QByteArray(":00000001FF");
    const QString path = runtime.filePath(QStringLiteral("program.hex"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (const QByteArray& line : lines)
            file.write(line + "\r\n");
    }

    QProcess simulator;
    if (!StartSimulator(simulator, {QStringLiteral("--com"), QString::number(kCom),
                                    QStringLiteral("--bootloader")}))
        return 1;

    QString outcome;
    TMessageBox::Override = [&](TMessageBox::TKind, const QString& text, bool) {
        outcome = text.section(u'!', 0, 0);
        return true;
    };
    QPointer<TDownLoadForm> form(new TDownLoadForm);
    form->ApdComPort1->SetComNumber(kCom);
    form->LoadProgramFile(path);
    form->FAddressLimit = 16384;
    form->show();
    const QString count = form->Form().LabelStorlek->text();
    QElapsedTimer timer;
    timer.start();
    form->ButtonStartClick();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    simulator.terminate();
    simulator.waitForFinished(5000);

    qint64 sent = 0;
    for (const QByteArray& line : lines)
        sent += line.size();
    const double floor = double(sent + 2 * lines.size()) * kCharTime;
    const double sequential = double(2 * sent + lines.size()) * kCharTime;
    std::printf("lines                  %s\n", qPrintable(count));
    std::printf("outcome                %s\n", qPrintable(outcome));
    std::printf("characters sent        %lld\n", static_cast<long long>(sent));
    std::printf("total time             %.3f s\n", seconds);
    std::printf("wire time, echo alongside  %.3f s\n", floor);
    std::printf("overhead               %.1f %% (goal <= 10 %%)\n", 100.0 * (seconds / floor - 1));
    std::printf("wire time, one after the other  %.3f s (ratio %.2f)\n", sequential,
                seconds / sequential);
    return 0;
}
