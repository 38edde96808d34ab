#include "tst_simulatorwindow.h"

#include "tapdcomport.h"
#include "tcomselectform.h"
#include "testpty.h"
#include "testsupport.h"
#include "tformmain.h"
#include "tlinkconnection.h"
#include "tprocessimage.h"
#include "ui_tformmain.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

constexpr int kCom = 47;
const QByteArray kAllCodes = "CADeZGHIJMNQOP65STR9XLBEFYKU123478abcdVfghij";
const QByteArray kScanned = "CADeZ6LFY7afj";
const QByteArray kScannedLive = "CADeZGHIJ6XLBFY7afj";

// The requests the simulator received, from its transcript: "R" or "W" and the code.
QList<QByteArray> Requests(const QString& transcript) {
    QFile file(transcript);
    QList<QByteArray> requests;
    if (!file.open(QIODevice::ReadOnly))
        return requests;
    static const QRegularExpression rx(QStringLiteral(" RX \"\\s*([RW])(.)"));
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QRegularExpressionMatch match = rx.match(QString::fromLatin1(line));
        if (match.hasMatch())
            requests << (match.captured(1) + match.captured(2)).toLatin1();
    }
    return requests;
}

QByteArray Codes(const QList<QByteArray>& requests, qsizetype from, qsizetype count) {
    QByteArray codes;
    for (qsizetype i = from; i < from + count && i < requests.size(); ++i)
        codes += requests[i][1];
    return codes;
}

} // namespace

void TestSimulatorWindow::connectPollWriteAndDisconnect() {
    ComLinkFolderScope links;
    QTemporaryDir dir;
    const QString transcript = dir.filePath(QStringLiteral("transcript.txt"));
    QProcess simulator;
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(QStringLiteral(KOLVO_SIM_PATH), {QStringLiteral("--com"), QString::number(kCom),
                                                     QStringLiteral("--transcript"), transcript});
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(simulator.canReadLine(), 5000);

    TFormMain form;
    // "Anslut" asks for the port: choose the simulator's.
    OnModal<TComSelectForm>(
        [](TComSelectForm* prompt) {
            prompt->PortsComboBox()->setCurrentIndex(
                prompt->PortsComboBox()->findText(QStringLiteral("COM%1").arg(kCom)));
            prompt->findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        },
        &form);
    QTest::mouseClick(form.Form().ButtonStart, Qt::LeftButton);
    QCOMPARE(form.ComPort1->ComNumber(), quint16(kCom));
    QVERIFY(form.Form().LedConnected->GetOn());

    // Every point once in table order, then the scanned points in a cycle.
    QTRY_VERIFY_WITH_TIMEOUT(Requests(transcript).size() >= 44 + 2 * 13, 10000);
    QList<QByteArray> requests = Requests(transcript);
    QCOMPARE(Codes(requests, 0, 44), kAllCodes);
    QCOMPARE(Codes(requests, 44, 26), kScanned + kScanned);
    QTRY_VERIFY(form.Form().EditVersion->text() != QStringLiteral("..."));

    // A new set point reaches the simulator, which holds it from then on.
    QLineEdit* setPoint = form.Form().EditTempSetpoint;
    setPoint->selectAll();
    QTest::keyClicks(setPoint, QStringLiteral("700"));
    QTest::keyClick(setPoint, Qt::Key_Return);
    QTRY_VERIFY(Requests(transcript).contains("WU"));
    QTRY_VERIFY(!form.Image().PointOfCode('U')->WriteRequest);
    QTest::mouseClick(form.Form().ButtonUpdateAll, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form.Image().PointOfCode('U')->UpdateRequest, 5000);
    QCOMPARE(setPoint->text(), QStringLiteral("700"));

    // The six live points join the cycle.
    QTest::mouseClick(form.Form().CheckBoxStateLive, Qt::LeftButton);
    const qsizetype from = Requests(transcript).size() + kScannedLive.size();
    QTRY_VERIFY_WITH_TIMEOUT(Requests(transcript).size() >= from + 2 * kScannedLive.size(), 10000);
    requests = Requests(transcript);
    const QByteArray cycle = Codes(requests, from, 2 * kScannedLive.size());
    QVERIFY2((kScannedLive + kScannedLive).contains(cycle.left(kScannedLive.size())),
             cycle.constData());

    // "Anslut" again: the link goes off and its port closes.
    QTest::mouseClick(form.Form().ButtonStart, Qt::LeftButton);
    QVERIFY(!form.Form().LedConnected->GetOn());
    QTRY_VERIFY(!form.ComPort1->Open());
    QTRY_VERIFY(!form.ComThread());

    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
}
