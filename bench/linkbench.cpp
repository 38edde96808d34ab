// Polls kolvo-sim through Glodrik's own link for a while and prints the
// transaction rate, how close it comes to what the 19200-baud line allows,
// and the CPU time Glodrik spends per second of polling.
//
//   build/bench/linkbench [--seconds N] [--fast]
//
// --fast takes the simulator's line timing away: the rate is then what the
// program itself sustains.

#include "benchsupport.h"
#include "tapdcomport.h"
#include "tformmain.h"
#include "tlinkconnection.h"
#include "ui_tformmain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr int kCom = 50;
constexpr double kCharsPerSecond = 19200.0 / 10.0; // 8N1: ten bits a character

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop as the program does, for `ms` milliseconds.
void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    PrepareBenchEnvironment(runtime.path());
    QApplication application(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Seconds to measure."),
                      QStringLiteral("N"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("fast"), QStringLiteral("No line timing in the simulator.")});
    parser.process(application);
    const int seconds = std::max(1, parser.value(QStringLiteral("seconds")).toInt());
    const bool fast = parser.isSet(QStringLiteral("fast"));

    QProcess simulator;
    QStringList arguments{QStringLiteral("--com"), QString::number(kCom)};
    if (fast)
        arguments << QStringLiteral("--fast");
    if (!StartSimulator(simulator, arguments))
        return 1;

    TFormMain form;
    form.ComPort1->SetComNumber(kCom);
    form.ButtonStartClick();
    if (!form.Form().LedConnected->GetOn()) {
        std::fprintf(stderr, "linkbench: no connection\n");
        return 1;
    }
    RunFor(1500); // every point read once; scanning from here on

    TLinkConnection& link = form.Link();
    const quint64 replies0 = link.Transaction().Replies;
    const quint64 chars0 = form.ComPort1->CharsSent() + form.ComPort1->CharsReceived();
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    RunFor(seconds * 1000);
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double cpu = CpuSeconds() - cpu0;
    const double replies = double(link.Transaction().Replies - replies0);
    const double chars =
        double(form.ComPort1->CharsSent() + form.ComPort1->CharsReceived() - chars0);

    form.ButtonStartClick();
    RunFor(300);
    simulator.terminate();
    simulator.waitForFinished(5000);

    const double rate = replies / elapsed;
    const double charsPerTransaction = replies > 0 ? chars / replies : 0;
    const double lineLimit = charsPerTransaction > 0 ? kCharsPerSecond / charsPerTransaction : 0;
    std::printf("line timing            %s\n", fast ? "off (--fast)" : "19200 baud 8N1");
    std::printf("measured               %.1f s\n", elapsed);
    std::printf("transactions           %.0f (%.1f per second)\n", replies, rate);
    std::printf("characters each        %.2f (request and reply)\n", charsPerTransaction);
    if (!fast) {
        std::printf("line limit             %.1f transactions per second\n", lineLimit);
        std::printf("ratio to line limit    %.3f (goal >= 0.90)\n", rate / lineLimit);
    }
    std::printf("Glodrik CPU            %.1f %% of one core (goal <= 5 %%)\n",
                100.0 * cpu / elapsed);
    return 0;
}
