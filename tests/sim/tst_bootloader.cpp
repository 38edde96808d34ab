#include "tst_bootloader.h"

#include "bootloader.h"

#include <QTest>

Q_DECLARE_METATYPE(BootLoaderSettings)

namespace {

const QByteArray kData(":0400000001020304F2");
const QByteArray kMore(":02001000AABB89");
const QByteArray kEnd(":00000001FF");

enum Fault { None, WrongEcho, Fail, Silent, Extra, Late, CrLf };

BootLoaderSettings FaultAt(Fault fault, int record) {
    BootLoaderSettings s;
    switch (fault) {
    case None:
        break;
    case WrongEcho:
        s.wrongEchoRecord = record;
        break;
    case Fail:
        s.failRecord = record;
        break;
    case Silent:
        s.silentRecord = record;
        break;
    case Extra:
        s.extraRecord = record;
        break;
    case Late:
        s.lateRecord = record;
        break;
    case CrLf:
        s.crlf = true;
        break;
    }
    return s;
}

QByteArray WithWrongEcho(QByteArray record) {
    record[3] = char(record[3] ^ 0x01);
    return record;
}

} // namespace

void TestBootLoader::downloads_data() {
    QTest::addColumn<BootLoaderSettings>("settings");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QList<QByteArray>>("accepted");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QList<double>>("statusDelays");

    const QByteArray all = kData + kMore + kEnd;
    const QList<QByteArray> allAccepted{kData, kMore, kEnd};
    const QList<double> noDelays{0, 0, 0};

    QTest::newRow("record echoed and accepted")
        << FaultAt(None, 0) << kData << kData + "." << QList<QByteArray>{kData} << false
        << QList<double>{0};
    QTest::newRow("end-of-file record finishes")
        << FaultAt(None, 0) << all << kData + "." + kMore + "." + kEnd + "S" << allAccepted << true
        << noDelays;
    QTest::newRow("lower-case hex")
        << FaultAt(None, 0) << QByteArray(":0400000001020304f2")
        << QByteArray(":0400000001020304f2.") << QList<QByteArray>{":0400000001020304f2"} << false
        << QList<double>{0};
    QTest::newRow("text before a record echoed only")
        << FaultAt(None, 0) << "\r\nxy" + kData << "\r\nxy" + kData + "."
        << QList<QByteArray>{kData} << false << QList<double>{0};
    QTest::newRow("wrong checksum refused")
        << FaultAt(None, 0) << QByteArray(":0400000001020304F3")
        << QByteArray(":0400000001020304F3F") << QList<QByteArray>{} << false << QList<double>{0};
    QTest::newRow("count not hex refused at once")
        << FaultAt(None, 0) << ":G4" + kData << ":G4F" + kData + "." << QList<QByteArray>{kData}
        << false << QList<double>{0, 0};
    QTest::newRow("colon starts a record afresh")
        << FaultAt(None, 0) << ":0400" + kData << ":0400" + kData + "." << QList<QByteArray>{kData}
        << false << QList<double>{0};
    QTest::newRow("wrong echo in record 2")
        << FaultAt(WrongEcho, 2) << all << kData + "." + WithWrongEcho(kMore) + "." + kEnd + "S"
        << allAccepted << true << noDelays;
    QTest::newRow("fail record 2")
        << FaultAt(Fail, 2) << all << kData + "." + kMore + "F" + kEnd + "S"
        << QList<QByteArray>{kData, kEnd} << true << noDelays;
    QTest::newRow("fail the end-of-file record")
        << FaultAt(Fail, 3) << all << kData + "." + kMore + "." + kEnd + "F"
        << QList<QByteArray>{kData, kMore} << false << noDelays;
    QTest::newRow("silent from record 2") << FaultAt(Silent, 2) << all << kData + "."
                                          << QList<QByteArray>{kData} << false << QList<double>{0};
    QTest::newRow("silent from record 1") << FaultAt(Silent, 1) << all << QByteArray()
                                          << QList<QByteArray>{} << false << QList<double>{};
    QTest::newRow("extra letters in record 1")
        << FaultAt(Extra, 1) << all << kData + "XY." + kMore + "." + kEnd + "S" << allAccepted
        << true << noDelays;
    QTest::newRow("CR LF after every dot")
        << FaultAt(CrLf, 0) << all << kData + ".\r\n" + kMore + ".\r\n" + kEnd + "S" << allAccepted
        << true << noDelays;
    QTest::newRow("late status of record 2")
        << FaultAt(Late, 2) << all << kData + "." + kMore + "." + kEnd + "S" << allAccepted << true
        << QList<double>{0, BootLoader::kLateDelay, 0};
}

void TestBootLoader::downloads() {
    QFETCH(BootLoaderSettings, settings);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(QList<QByteArray>, accepted);
    QFETCH(bool, finished);
    QFETCH(QList<double>, statusDelays);

    BootLoader loader(settings);
    QByteArray sent;
    QList<double> delays;
    QList<QByteArray> completed;
    for (char c : input) {
        const BootStep step = loader.Feed(c);
        // The echo of a character goes out before anything else.
        QVERIFY(step.echo.size() <= 1);
        sent += step.echo + step.status;
        if (!step.status.isEmpty()) {
            delays << step.statusDelay;
            completed << step.record;
        }
        QCOMPARE(step.finished, step.status == "S");
    }
    QCOMPARE(sent, output);
    QCOMPARE(loader.Accepted(), accepted);
    QCOMPARE(loader.Finished(), finished);
    QCOMPARE(delays, statusDelays);
    // Every status names the record it answers, as received.
    for (const QByteArray& record : completed)
        QVERIFY(input.contains(record));
}

void TestBootLoader::newDownloadAfterFinish() {
    BootLoaderSettings settings;
    settings.failRecord = 1;
    BootLoader loader(settings);
    QByteArray sent;
    for (char c : kData + kEnd + kMore) {
        const BootStep step = loader.Feed(c);
        sent += step.status;
    }
    // Record numbers count again from 1 in the second download.
    QCOMPARE(sent, QByteArray("FSF"));
    QVERIFY(loader.Accepted().isEmpty());
    QCOMPARE(loader.RecordCount(), 1);
}
