#include "tst_simulatorbootloader.h"

#include "programfile.h"
#include "tapdcomport.h"
#include "tdownloadform.h"
#include "testpty.h"
#include "tmessagebox.h"
#include "ui_tdownloadform.h"

#include <QPointer>
#include <QProcess>

namespace {

constexpr int kCom = 45;

// A program with records below and above the address limit 0x4000.
const QList<QByteArray> kBelow = {
    MakeHexRecord(0x0000, 4, QByteArray::fromHex("0000")),
    MakeHexRecord(0x0000, 0, QByteArray::fromHex("2146013601214701")),
    MakeHexRecord(0x0010, 0, QByteArray::fromHex("2146017E17C20001FF5F")),
    MakeHexRecord(0x3FF0, 0, QByteArray::fromHex("000102030405060708090A0B"))};
const QList<QByteArray> kAbove = {MakeHexRecord(0x4000, 0, QByteArray(16, char(0xFF))),
                                  MakeHexRecord(0xFFF0, 0, QByteArray::fromHex("00010203"))};
const QByteArray kEnd = ":00000001FF";

} // namespace

// Each row: the simulator's fault option; the status and message shown.
void TestSimulatorBootLoader::download_data() {
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("accepted"); // records the simulator keeps (-1: not checked)
    QTest::newRow("clean") << QStringList{} << "Programmering Klar"
                           << "Programmering Ok!" << 5;
    QTest::newRow("extra letters") << QStringList{"--bl-extra", "2"} << "Programmering Klar"
                                   << "Programmering Ok!" << 5;
    QTest::newRow("wrong echo") << QStringList{"--bl-wrong-echo", "2"}
                                << QString::fromUtf8("!!Kommunikations störning!!")
                                << QString::fromUtf8("Kommunikationsstörningar") << -1;
    QTest::newRow("cannot program") << QStringList{"--bl-fail", "3"}
                                    << QString::fromUtf8("Internt fel i Processor,kan ej bränna")
                                    << QString::fromUtf8("går ej att uppdatera via PC") << -1;
    QTest::newRow("silent") << QStringList{"--bl-silent", "2"} << "!!Inget Svar!!"
                            << "Ingen kontakt med styrsystemet" << -1;
    QTest::newRow("late status") << QStringList{"--bl-late", "1"} << "!!Inget Svar!!"
                                 << "Ingen kontakt med styrsystemet" << -1;
    QTest::newRow("line end after the status")
        << QStringList{"--bl-crlf"} << QString::fromUtf8("!!Kommunikations störning!!")
        << QString::fromUtf8("Kommunikationsstörningar") << -1;
}

void TestSimulatorBootLoader::download() {
    QFETCH(QStringList, fault);
    QFETCH(QString, status);
    QFETCH(QString, message);
    QFETCH(int, accepted);

    ComLinkFolderScope links;
    QTemporaryDir dir;
    const QString hex = dir.filePath(QStringLiteral("ny.hex"));
    const QString records = dir.filePath(QStringLiteral("records.hex"));
    {
        QFile file(hex);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Below and above the limit mixed, CR LF line ends, the end record last.
        file.write(kBelow[0] + "\r\n" + kBelow[1] + "\r\n" + kAbove[0] + "\r\n" + kBelow[2] +
                   "\r\n\r\n" + kAbove[1] + "\r\n" + kBelow[3] + "\r\n" + kEnd + "\r\n");
    }
    QProcess simulator;
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(
        QStringLiteral(KOLVO_SIM_PATH),
        QStringList{"--com", QString::number(kCom), "--bootloader", "--bl-output", records} +
            fault);
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(simulator.canReadLine(), 5000);
    simulator.readLine();

    QStringList shown;
    TMessageBox::Override = [&](TMessageBox::TKind, const QString& text, bool) {
        shown << text;
        return true;
    };
    QPointer<TDownLoadForm> form(new TDownLoadForm);
    form->ApdComPort1->SetComNumber(kCom);
    form->LoadProgramFile(hex);
    form->FAddressLimit = 16384;
    QCOMPARE(form->Form().LabelStorlek->text(), QStringLiteral("8"));
    form->show();
    QString statusShown;
    TMessageBox::Override = [&](TMessageBox::TKind, const QString& text, bool) {
        statusShown = form->Form().LabelStatus->text();
        shown << text;
        return true;
    };
    form->ButtonStartClick();
    TMessageBox::Override = nullptr;

    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(message), qPrintable(shown.first()));
    QCOMPARE(statusShown, status);
    QTRY_VERIFY(form.isNull()); // closed after its message

    if (accepted >= 0) {
        QTRY_VERIFY(QFile::exists(records));
        QFile file(records);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> kept = file.readAll().split('\n');
        // Exactly the records below the limit, in order, then the end record.
        QCOMPARE(kept.mid(0, accepted), kBelow + QList<QByteArray>{kEnd});
    }
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
}
