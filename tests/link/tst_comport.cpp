#include "tst_comport.h"

#include "eapdexception.h"
#include "tapdcomport.h"
#include "tcomselectform.h"
#include "testpty.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

std::unique_ptr<ComLinkFolderScope> links;

void Choose(TComSelectForm& form, const QString& entry) {
    const int index = form.PortsComboBox()->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    form.PortsComboBox()->setCurrentIndex(index);
    form.findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
}

// Reads what the port received, waiting up to two seconds for `count` characters.
QByteArray Receive(TApdComPort& port, qsizetype count) {
    QByteArray received;
    QDeadlineTimer deadline(2000);
    while (received.size() < count && !deadline.hasExpired()) {
        port.ProcessCommunications();
        if (port.CharReady())
            received += port.GetChar();
        else
            QTest::qWait(1);
    }
    return received;
}

int ErrorCodeOf(const std::function<void()>& operation, QString* message = nullptr) {
    try {
        operation();
    } catch (const EAPDException& error) {
        if (message)
            *message = error.Message();
        return error.ErrorCode();
    }
    return 0;
}

} // namespace

void TestComPort::init() {
    links = std::make_unique<ComLinkFolderScope>();
}

void TestComPort::cleanup() {
    links.reset();
}

void TestComPort::defaults() {
    TApdComPort port;
    QCOMPARE(port.ComNumber(), quint16(0));
    QCOMPARE(port.Baud(), 19200);
    QCOMPARE(port.DataBits, quint16(8));
    QCOMPARE(port.StopBits, quint16(1));
    QVERIFY(port.Parity == TApdComPort::TParity::pNone);
    QCOMPARE(port.HWFlowOptions, 0);
    QVERIFY(port.SWFlowOptions == TApdComPort::TSWFlowOptions::swfNone);
    QVERIFY(port.DTR && port.RTS && port.PromptForPort);
    QCOMPARE(port.InSize, quint16(4096));
    QVERIFY(!port.Open());
}

void TestComPort::writesAndReadsInOrder() {
    TestPty pty;
    QVERIFY(links->Link(41, pty.SlavePath()));
    TApdComPort port;
    port.AutoOpen = false;
    port.SetComNumber(41);
    port.SetOpen(true);
    QVERIFY(port.Open());
    port.SetOpen(true); // already open: nothing happens

    port.PutString(QByteArray(" RC\r"));
    QCOMPARE(pty.Read(4), QByteArray(" RC\r"));
    pty.Write(QByteArray(" C5A\r"));
    QCOMPARE(Receive(port, 5), QByteArray(" C5A\r"));
    QVERIFY(!port.CharReady());

    port.SetOpen(false);
    QVERIFY(!port.Open());
    port.SetOpen(false); // already closed: nothing happens
    QCOMPARE(port.ComNumber(), quint16(41));
}

void TestComPort::charactersWaitBetweenCalls() {
    TestPty pty;
    QVERIFY(links->Link(41, pty.SlavePath()));
    TApdComPort port;
    port.SetComNumber(41);
    port.SetOpen(true);
    // Characters arrive in bursts while the program does other things.
    QByteArray sent;
    for (int burst = 0; burst < 20; ++burst) {
        const QByteArray chunk = QByteArray::number(burst).repeated(50) + '|';
        pty.Write(chunk);
        sent += chunk;
        QTest::qWait(2); // events run, nobody takes characters
    }
    QCOMPARE(Receive(port, sent.size()), sent);
}

void TestComPort::emptyStringSendsNothing() {
    TestPty pty;
    QVERIFY(links->Link(41, pty.SlavePath()));
    TApdComPort port;
    port.SetComNumber(41);
    port.SetOpen(true);
    port.PutString(QByteArray());
    port.PutString(QByteArray("Z"));
    QCOMPARE(pty.Read(2, 200), QByteArray("Z"));
}

void TestComPort::openEmptiesBuffersAndFlushDiscards() {
    TestPty pty;
    QVERIFY(links->Link(41, pty.SlavePath()));
    pty.Write(QByteArray("stale")); // waits in the line before the port opens
    TApdComPort port;
    port.SetComNumber(41);
    port.SetOpen(true);
    QVERIFY(!port.CharReady());

    pty.Write(QByteArray("junk"));
    QTRY_VERIFY(port.CharReady());
    port.FlushInBuffer();
    QVERIFY(!port.CharReady());
    pty.Write(QByteArray("K"));
    QCOMPARE(Receive(port, 1), QByteArray("K"));
    port.FlushOutBuffer(); // nothing queued: no failure
}

void TestComPort::closedPortOperationsFail_data() {
    QTest::addColumn<int>("operation");
    QTest::newRow("PutString") << 0;
    QTest::newRow("CharReady") << 1;
    QTest::newRow("GetChar") << 2;
    QTest::newRow("FlushInBuffer") << 3;
    QTest::newRow("FlushOutBuffer") << 4;
    QTest::newRow("ProcessCommunications") << 5;
    QTest::newRow("PutString of nothing") << 6;
}

void TestComPort::closedPortOperationsFail() {
    QFETCH(int, operation);
    TestPty pty;
    QVERIFY(links->Link(41, pty.SlavePath()));
    TApdComPort port;
    port.AutoOpen = false;
    port.SetComNumber(41);
    const std::function<void()> operations[] = {
        [&] { port.PutString("x"); },   [&] { port.CharReady(); },
        [&] { port.GetChar(); },        [&] { port.FlushInBuffer(); },
        [&] { port.FlushOutBuffer(); }, [&] { port.ProcessCommunications(); },
        [&] { port.PutString({}); },
    };
    QString message;
    QCOMPARE(ErrorCodeOf(operations[operation], &message), ecNotOpen);
    QCOMPARE(message, QStringLiteral("ie_NOpen - device not open"));
    QVERIFY(!port.Open());
}

void TestComPort::autoOpenOpensOnFirstUse() {
    TestPty pty;
    QVERIFY(links->Link(41, pty.SlavePath()));
    TApdComPort port;
    QVERIFY(port.AutoOpen);
    port.SetComNumber(41);
    port.PutString("A");
    QVERIFY(port.Open());
    QCOMPARE(pty.Read(1), QByteArray("A"));
}

void TestComPort::missingDeviceIsBadId_data() {
    QTest::addColumn<int>("comNumber");
    QTest::addColumn<bool>("dangling");
    QTest::newRow("link to nothing") << 42 << true;
    QTest::newRow("no link, no fixed device") << 45 << false;
}

void TestComPort::missingDeviceIsBadId() {
    QFETCH(int, comNumber);
    QFETCH(bool, dangling);
    if (dangling)
        QVERIFY(links->Link(comNumber, links->Folder() + QStringLiteral("/gone")));
    TApdComPort port;
    port.SetComNumber(quint16(comNumber));
    QString message;
    QCOMPARE(ErrorCodeOf([&] { port.SetOpen(true); }, &message), ecBadId);
    QCOMPARE(message, QStringLiteral("ie_BadId - Specified comport doesn't exist"));
    QVERIFY(!port.Open());
}

void TestComPort::promptCancelledThenChosen() {
    TestPty pty;
    QVERIFY(links->Link(43, pty.SlavePath()));
    TApdComPort port;
    port.AutoOpen = false;

    OnModal<TComSelectForm>([](TComSelectForm* form) {
        form->findChild<QPushButton*>(QStringLiteral("AbortBtn"))->click();
    });
    QString message;
    QCOMPARE(ErrorCodeOf([&] { port.SetOpen(true); }, &message), ecNoPortSelected);
    QCOMPARE(message, QStringLiteral("The ComNumber property of the TApdComPort has not been set"));
    QVERIFY(!port.Open());
    QCOMPARE(port.ComNumber(), quint16(0));

    int prompts = 0;
    OnModal<TComSelectForm>([&](TComSelectForm* form) {
        ++prompts;
        Choose(*form, QStringLiteral("COM43"));
    });
    port.SetOpen(true);
    QCOMPARE(prompts, 1);
    QVERIFY(port.Open());
    QCOMPARE(port.ComNumber(), quint16(43));
    port.PutString("1");
    QCOMPARE(pty.Read(1), QByteArray("1"));

    // The number stays: reconnecting asks nothing.
    port.SetOpen(false);
    port.SetOpen(true);
    QVERIFY(port.Open());
    QCOMPARE(prompts, 1);
}

void TestComPort::portHeldByAnotherProgram() {
    TestPty pty;
    QVERIFY(links->Link(46, pty.SlavePath()));
    QProcess holder;
    holder.start(QStringLiteral(PORTHOLDER_PATH), {pty.SlavePath()});
    QVERIFY(holder.waitForStarted());
    QTRY_VERIFY(holder.canReadLine());
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));

    QVERIFY(TApdComPort::PortExists(46));
    TApdComPort port;
    port.SetComNumber(46);
    QString message;
    QCOMPARE(ErrorCodeOf([&] { port.SetOpen(true); }, &message), ecAlreadyOpen);
    QCOMPARE(message, QStringLiteral("ie_Open - device already open"));
    QVERIFY(!port.Open());

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished());
    port.SetOpen(true);
    QVERIFY(port.Open());
}

void TestComPort::newNumberReopensOpenPort() {
    TestPty first;
    TestPty second;
    QVERIFY(links->Link(41, first.SlavePath()));
    QVERIFY(links->Link(47, second.SlavePath()));
    TApdComPort port;
    port.SetComNumber(41);
    port.SetOpen(true);
    port.SetComNumber(47);
    QVERIFY(port.Open());
    port.PutString("2");
    QCOMPARE(second.Read(1), QByteArray("2"));
    QCOMPARE(first.Read(1, 100), QByteArray());
    port.SetBaud(9600); // takes effect on the open port without failing
    QCOMPARE(port.Baud(), 9600);
}
