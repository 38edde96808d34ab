// kolvo-sim: plays a Kolvo controller on a pseudo-terminal for Glodrik, its tests and
// its benchmarks. See --help for the options.
#include "signalpipe.h"
#include "simoptions.h"
#include "simulator.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kolvo-sim"));

    SimOptions options;
    const ParseResult parsed = ParseOptions(QCoreApplication::arguments(), options);
    if (parsed.outcome == ParseResult::Help) {
        std::fputs(parsed.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parsed.outcome == ParseResult::Error) {
        std::fprintf(stderr, "kolvo-sim: %s\nTry kolvo-sim --help.\n",
                     parsed.text.toLocal8Bit().constData());
        return 2;
    }
    if (options.listRegisters) {
        std::fputs(RegisterTable(options).toLocal8Bit().constData(), stdout);
        return 0;
    }

    std::signal(SIGPIPE, SIG_IGN);
    SignalPipe signalPipe;
    for (int number : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2})
        signalPipe.Catch(number);

    Simulator simulator(options);
    QObject::connect(&signalPipe, &SignalPipe::Raised, &simulator, [&simulator](int number) {
        if (number == SIGUSR1)
            simulator.PullLine();
        else if (number == SIGUSR2)
            simulator.PlugLine();
        else
            QCoreApplication::quit();
    });

    QString error;
    if (!simulator.Start(error)) {
        std::fprintf(stderr, "kolvo-sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    QCoreApplication::exec();
    simulator.Stop();
    return 0;
}
