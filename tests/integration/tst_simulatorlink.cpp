#include "tst_simulatorlink.h"

#include "eventtimer.h"
#include "tapdcomport.h"
#include "testpty.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <memory>

namespace {

constexpr int kSimulatorCom = 48;

std::unique_ptr<ComLinkFolderScope> links;
std::unique_ptr<QProcess> simulator;

// One request and its reply, the way the link's transaction collects it:
// up to the carriage return within the one-second timer, starting over at
// every space.
QByteArray Transact(TApdComPort& port, const QByteArray& frame) {
    port.PutString(frame);
    EventTimer timer;
    NewTimerSecs(timer, 1);
    QByteArray text;
    do {
        port.ProcessCommunications();
        if (port.CharReady()) {
            const char c = port.GetChar();
            if (c == '\r')
                return text;
            if (c == ' ')
                text.clear();
            else
                text += c;
        } else {
            QThread::msleep(1);
        }
    } while (!TimerExpired(timer));
    return QByteArray("<no reply>");
}

} // namespace

void TestSimulatorLink::init() {
    links = std::make_unique<ComLinkFolderScope>();
    simulator = std::make_unique<QProcess>();
    simulator->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator->start(QStringLiteral(KOLVO_SIM_PATH),
                     {QStringLiteral("--com"), QString::number(kSimulatorCom)});
    QVERIFY(simulator->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(simulator->canReadLine(), 5000);
    const QString line = QString::fromLocal8Bit(simulator->readLine()).trimmed();
    QVERIFY2(line.contains(QStringLiteral("COM%1").arg(kSimulatorCom)), qPrintable(line));
}

void TestSimulatorLink::cleanup() {
    if (simulator) {
        simulator->terminate();
        QVERIFY(simulator->waitForFinished(5000));
        QCOMPARE(simulator->exitCode(), 0);
    }
    simulator.reset();
    links.reset();
}

// Each row: request frame and the shape of the reply text the controller gives.
void TestSimulatorLink::readsAndWritesThroughTheSimulator_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("reply");
    QTest::newRow("Inputs, a byte") << QByteArray(" RC\r") << "^C[0-9A-F]{2}$";
    QTest::newRow("Temperatur, a word") << QByteArray(" Ra\r") << "^a[0-9A-F]{4}$";
    QTest::newRow("IntegratorIntern, signed") << QByteArray(" Rj\r") << "^j[0-9A-F]{4}$";
    QTest::newRow("Version, text") << QByteArray(" RV\r") << "^V\\S+$";
    QTest::newRow("write the set point") << QByteArray(" WU02BC\r") << "^U02BC$";
}

void TestSimulatorLink::readsAndWritesThroughTheSimulator() {
    QFETCH(QByteArray, frame);
    QFETCH(QString, reply);
    TApdComPort port;
    port.AutoOpen = false;
    port.SetComNumber(kSimulatorCom);
    port.SetOpen(true);
    const QByteArray text = Transact(port, frame);
    QVERIFY2(QRegularExpression(reply).match(QString::fromLatin1(text)).hasMatch(),
             text.constData());
    if (frame.startsWith(" W")) {
        // The written value is what the controller holds now.
        QCOMPARE(Transact(port, " RU\r"), QByteArray("U02BC"));
    }
    port.SetOpen(false);
}

void TestSimulatorLink::simulatorIsListedInThePrompt() {
    QVERIFY(TApdComPort::PortExists(kSimulatorCom));
    QVERIFY(!TApdComPort::PortExists(kSimulatorCom + 1));
}
