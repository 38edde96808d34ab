#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <cstdio>

// Benchmarks run offscreen, with the COM link folder in a temporary folder of
// their own so they never meet another simulator's links.
inline void PrepareBenchEnvironment(const QString& runtimeFolder) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", runtimeFolder.toLocal8Bit());
}

#ifdef KOLVO_SIM_PATH
// Starts kolvo-sim and waits for the line that says which port it serves.
inline bool StartSimulator(QProcess& simulator, const QStringList& arguments) {
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(QStringLiteral(KOLVO_SIM_PATH), arguments);
    if (!simulator.waitForStarted() || !simulator.waitForReadyRead(5000)) {
        std::fprintf(stderr, "kolvo-sim did not start\n");
        return false;
    }
    simulator.readLine();
    return true;
}
#endif
