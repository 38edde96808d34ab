#include "tst_simprogram.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 5000;

// kolvo-sim running with its link folder in a temporary XDG_RUNTIME_DIR.
class SimProcess {
public:
    bool Start(const QStringList& arguments) {
        if (!FRuntime.isValid())
            return false;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), FRuntime.path());
        FProcess.setProcessEnvironment(environment);
        FProcess.start(QStringLiteral(KOLVO_SIM_PATH), arguments);
        return FProcess.waitForStarted(kTimeoutMs);
    }

    ~SimProcess() {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.kill();
            FProcess.waitForFinished(kTimeoutMs);
        }
    }

    // The next line of standard output, without the line end; empty after the deadline.
    QString ReadLine() {
        QDeadlineTimer deadline(kTimeoutMs);
        while (!FProcess.canReadLine() && !deadline.hasExpired()) {
            if (!FProcess.waitForReadyRead(int(deadline.remainingTime())))
                break;
        }
        return QString::fromLocal8Bit(FProcess.readLine()).trimmed();
    }

    // The device of a "kolvo-sim: COMn -> /dev/pts/N" line.
    static QString DeviceOf(const QString& line, int comNumber) {
        const QRegularExpression pattern(
            QStringLiteral("^kolvo-sim: COM%1 -> (/dev/\\S+)$").arg(comNumber));
        const QRegularExpressionMatch match = pattern.match(line);
        return match.hasMatch() ? match.captured(1) : QString();
    }

    QString LinkPath(int comNumber) const {
        return FRuntime.filePath(QStringLiteral("glodrik/COM%1").arg(comNumber));
    }
    QString TempFile(const QString& name) const { return FRuntime.filePath(name); }

    void Signal(int number) { ::kill(pid_t(FProcess.processId()), number); }
    bool Finish() { return FProcess.waitForFinished(kTimeoutMs); }
    QProcess& Process() { return FProcess; }

private:
    QTemporaryDir FRuntime;
    QProcess FProcess;
};

// The PC's side of the line, opened through the published link with plain POSIX calls.
class Port {
public:
    ~Port() { Close(); }

    bool Open(const QString& path) {
        FFd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (FFd < 0)
            return false;
        termios mode{};
        if (::tcgetattr(FFd, &mode) != 0)
            return false;
        ::cfmakeraw(&mode);
        ::cfsetispeed(&mode, B19200);
        ::cfsetospeed(&mode, B19200);
        return ::tcsetattr(FFd, TCSANOW, &mode) == 0;
    }

    void Close() {
        if (FFd >= 0)
            ::close(FFd);
        FFd = -1;
    }

    bool Send(const QByteArray& bytes) {
        return ::write(FFd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until the received text ends with end (or holds count bytes); whatever came
    // by the deadline otherwise.
    QByteArray ReadUntil(const QByteArray& end, int timeoutMs = kTimeoutMs) {
        QByteArray received;
        QDeadlineTimer deadline(timeoutMs);
        while (!received.endsWith(end) && !deadline.hasExpired()) {
            pollfd p{FFd, POLLIN, 0};
            if (::poll(&p, 1, int(std::max<qint64>(1, deadline.remainingTime()))) <= 0)
                continue;
            char buffer[256];
            const ssize_t n = ::read(FFd, buffer, sizeof(buffer));
            if (n > 0)
                received.append(buffer, int(n));
        }
        return received;
    }

    QByteArray Ask(const QByteArray& request) {
        if (!Send(request))
            return QByteArray();
        return ReadUntil("\r");
    }

private:
    int FFd = -1;
};

} // namespace

void TestSimProgram::protocolOverThePty() {
    SimProcess sim;
    const QString transcript = sim.TempFile(QStringLiteral("transcript.txt"));
    QVERIFY(sim.Start({"--com", "45", "--fast", "--transcript", transcript}));
    const QString device = SimProcess::DeviceOf(sim.ReadLine(), 45);
    QVERIFY(!device.isEmpty());
    const QFileInfo link(sim.LinkPath(45));
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(), device);
    QCOMPARE(QFileInfo(link.absolutePath()).permissions() & 0077, QFile::Permissions());

    Port port;
    QVERIFY(port.Open(link.filePath()));
    QVERIFY(QRegularExpression(QStringLiteral("^ C[0-9A-F]{2}\r$"))
                .match(QString::fromLatin1(port.Ask(" RC\r")))
                .hasMatch());
    QCOMPARE(port.Ask(" Wa0123\r"), QByteArray(" a0123\r"));
    const QByteArray temperature = port.Ask(" Ra\r");
    QVERIFY(QRegularExpression(QStringLiteral("^ a[0-9A-F]{4}\r$"))
                .match(QString::fromLatin1(temperature))
                .hasMatch());
    // Written, it moves on from there with the model.
    QVERIFY(std::abs(temperature.mid(2, 4).toInt(nullptr, 16) - 0x123) <= 3);
    QCOMPARE(port.Ask(" RV\r"), QByteArray(" V1.07\r"));
    // An unknown code has no answer: the next reply is the next request's.
    QCOMPARE(port.Ask(" Rq\r RK\r"), QByteArray(" K03\r"));
    // Noise, a restarted frame and a request in pieces.
    QVERIFY(port.Send("#x WA"));
    QVERIFY(port.Send(" R"));
    QCOMPARE(port.Ask("g\r"), QByteArray(" g1F\r"));

    sim.Signal(SIGTERM);
    QVERIFY(sim.Finish());
    QCOMPARE(sim.Process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.Process().exitCode(), 0);
    QVERIFY(!QFileInfo(link.filePath()).isSymLink());

    QFile file(transcript);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const QRegularExpression line(QStringLiteral("^\\d+\\.\\d{6} (RX|TX) \"(.*)\"$"));
    QStringList frames;
    for (const QByteArray& row : text.split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromLatin1(row));
        if (match.hasMatch())
            frames << match.captured(1) + ' ' + match.captured(2);
    }
    QVERIFY2(frames.mid(0, 4) ==
                 (QStringList{"RX  RC\\r", frames.value(1), "RX  Wa0123\\r", "TX  a0123\\r"}),
             qPrintable(frames.join('|')));
    QVERIFY(frames.value(1).startsWith(QLatin1String("TX  C")));
    QVERIFY(frames.contains(QLatin1String("RX  Rq\\r")));
    QVERIFY(frames.contains(QLatin1String("TX  g1F\\r")));
}

void TestSimProgram::repliesTakeLineTime() {
    SimProcess sim;
    QVERIFY(sim.Start({"--com", "44"}));
    QVERIFY(!SimProcess::DeviceOf(sim.ReadLine(), 44).isEmpty());
    Port port;
    QVERIFY(port.Open(sim.LinkPath(44)));
    QCOMPARE(port.Ask(" RV\r"), QByteArray(" V1.07\r"));
    // Four characters in and seven out at 0.52 ms each take at least 5 ms.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(port.Ask(" RV\r"), QByteArray(" V1.07\r"));
    const qint64 elapsed = clock.nsecsElapsed();
    QVERIFY2(elapsed >= 5'000'000 && elapsed < 500'000'000, qPrintable(QString::number(elapsed)));
    sim.Signal(SIGINT);
    QVERIFY(sim.Finish());
    QCOMPARE(sim.Process().exitCode(), 0);
}

void TestSimProgram::pulledLineComesBack() {
    SimProcess sim;
    QVERIFY(sim.Start({"--com", "43", "--fast", "--replug-after", "0.2"}));
    const QString first = SimProcess::DeviceOf(sim.ReadLine(), 43);
    QVERIFY(!first.isEmpty());
    Port port;
    QVERIFY(port.Open(sim.LinkPath(43)));
    QCOMPARE(port.Ask(" RK\r"), QByteArray(" K03\r"));

    sim.Signal(SIGUSR1);
    QCOMPARE(sim.ReadLine(), QStringLiteral("kolvo-sim: COM43 pulled"));
    QVERIFY(!QFileInfo(sim.LinkPath(43)).isSymLink());
    // The old device is dead: the sim no longer answers on it.
    port.Send(" RK\r");
    QCOMPARE(port.ReadUntil("\r", 100).endsWith("\r"), false);
    port.Close();

    const QString second = SimProcess::DeviceOf(sim.ReadLine(), 43);
    QVERIFY(!second.isEmpty());
    QCOMPARE(QFileInfo(sim.LinkPath(43)).symLinkTarget(), second);
    QVERIFY(port.Open(sim.LinkPath(43)));
    QCOMPARE(port.Ask(" RK\r"), QByteArray(" K03\r"));

    sim.Signal(SIGTERM);
    QVERIFY(sim.Finish());
    QCOMPARE(sim.Process().exitCode(), 0);
    QVERIFY(!QFileInfo(sim.LinkPath(43)).isSymLink());
}

void TestSimProgram::bootLoaderDownload() {
    SimProcess sim;
    const QString output = sim.TempFile(QStringLiteral("records.hex"));
    QVERIFY(sim.Start({"--com", "46", "--bootloader", "--bl-output", output, "--bl-fail", "2"}));
    QVERIFY(!SimProcess::DeviceOf(sim.ReadLine(), 46).isEmpty());
    Port port;
    QVERIFY(port.Open(sim.LinkPath(46)));

    const QByteArray data(":0400000001020304F2");
    const QByteArray again(":02001000AABB89");
    const QByteArray end(":00000001FF");
    QVERIFY(port.Send("\r\n"));
    QCOMPARE(port.ReadUntil("\n"), QByteArray("\r\n"));
    // Echoed character by character, then the status.
    for (char c : data.chopped(1)) {
        QVERIFY(port.Send(QByteArray(1, c)));
        QCOMPARE(port.ReadUntil(QByteArray(1, c)), QByteArray(1, c));
    }
    QVERIFY(port.Send(data.right(1)));
    QCOMPARE(port.ReadUntil("."), data.right(1) + ".");
    QVERIFY(port.Send(again));
    QCOMPARE(port.ReadUntil("F"), again + "F");
    QVERIFY(port.Send(again));
    QCOMPARE(port.ReadUntil("."), again + ".");
    QVERIFY(port.Send(end));
    QCOMPARE(port.ReadUntil("S"), end + "S");

    QCOMPARE(sim.ReadLine(),
             QStringLiteral("kolvo-sim: boot loader: download finished, 3 records accepted"));
    QVERIFY(sim.ReadLine().contains(QLatin1String("3 records written")));
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), data + '\n' + again + '\n' + end + '\n');

    sim.Signal(SIGTERM);
    QVERIFY(sim.Finish());
    QCOMPARE(sim.Process().exitCode(), 0);
}

void TestSimProgram::badOptionExitsNonZero() {
    SimProcess sim;
    QVERIFY(sim.Start({"--com", "77"}));
    QVERIFY(sim.Finish());
    QVERIFY(sim.Process().exitCode() != 0);
    QVERIFY(sim.Process().readAllStandardError().contains("--com"));
    QVERIFY(!QFileInfo(sim.LinkPath(77)).exists());
}
