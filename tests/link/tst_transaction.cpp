#include "tst_transaction.h"

#include "frames.h"
#include "linkfixture.h"

#include <QElapsedTimer>
#include <QTest>

Q_DECLARE_METATYPE(IOType)

void TestTransaction::writeFrames_data() {
    QTest::addColumn<IOType>("type");
    QTest::addColumn<char>("code");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("byte 63") << IOType::sByte << 'A' << 63 << QByteArray(" WA3F\r");
    QTest::newRow("byte 5 has two digits") << IOType::sByte << 'A' << 5 << QByteArray(" WA05\r");
    QTest::newRow("byte 300 unclipped") << IOType::sByte << 'A' << 300 << QByteArray(" WA12C\r");
    QTest::newRow("word 10") << IOType::sWord << 'U' << 10 << QByteArray(" WU000A\r");
    QTest::newRow("word 65535") << IOType::sWord << 'U' << 65535 << QByteArray(" WUFFFF\r");
    QTest::newRow("signed -1") << IOType::SignsWord << 'j' << -1 << QByteArray(" WjFFFF\r");
    QTest::newRow("signed -300") << IOType::SignsWord << 'j' << -300 << QByteArray(" WjFED4\r");
    QTest::newRow("text has none") << IOType::sString << 'V' << 1 << QByteArray();
}

void TestTransaction::writeFrames() {
    QFETCH(IOType, type);
    QFETCH(char, code);
    QFETCH(int, value);
    QFETCH(QByteArray, frame);
    TZuIO point(nullptr, QStringLiteral("P"), code, type, IODir::In, nullptr);
    point.SetValue(value);
    QCOMPARE(WriteFrame(point), frame);
}

void TestTransaction::readFrame() {
    QCOMPARE(ReadFrame('C'), QByteArray(" RC\r"));
}

// Each row: the reply as the peer sends it, in pieces; then the result, the
// value of "C" after, and the value of "a" after (both start at 7).
void TestTransaction::replyCollection_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("a");
    QTest::newRow("plain") << QByteArray(" C3F\r") << 1 << true << 0x3F << 7;
    QTest::newRow("noise before the space") << QByteArray("xx C3F\r") << 1 << true << 0x3F << 7;
    QTest::newRow("in pieces") << QByteArray(" C3F\r") << 3 << true << 0x3F << 7;
    QTest::newRow("space inside the value") << QByteArray(" C3 a12\r") << 1 << true << 7 << 0x12;
    QTest::newRow("decoded by its own code") << QByteArray(" a0102\r") << 1 << true << 7 << 0x102;
    QTest::newRow("empty text") << QByteArray(" \r") << 1 << true << 7 << 7;
    QTest::newRow("text that does not convert") << QByteArray(" C1G\r") << 1 << true << 7 << 7;
    QTest::newRow("line feed is text") << QByteArray(" C4\n\r") << 1 << true << 7 << 7;
}

void TestTransaction::replyCollection() {
    QFETCH(QByteArray, reply);
    QFETCH(int, pieces);
    QFETCH(bool, success);
    QFETCH(int, c);
    QFETCH(int, a);
    LinkFixture f("Ca");
    f['C']->UpdateWithNoEvent(7);
    f['a']->UpdateWithNoEvent(7);
    f.peer.Pieces = pieces;
    f.peer.Reply = [&](const QByteArray&) { return reply; };
    QCOMPARE(f.transaction->SendMsg(" RC\r"), success);
    QCOMPARE(f.peer.Frames(), QList<QByteArray>{" RC\r"});
    QCOMPARE(f['C']->Value(), c);
    QCOMPARE(f['a']->Value(), a);
    QCOMPARE(f.transaction->FreqCount, 1); // a request for "Inputs" is counted
}

void TestTransaction::noReplyFailsAfterOneSecond() {
    LinkFixture f("Ca");
    f.peer.Reply = [](const QByteArray&) { return QByteArray(" C1"); }; // no carriage return
    QElapsedTimer stopwatch;
    stopwatch.start();
    QVERIFY(!f.transaction->SendMsg(" RC\r"));
    const qint64 elapsed = stopwatch.elapsed();
    QVERIFY2(elapsed >= 990 && elapsed <= 1045 + 200, qPrintable(QString::number(elapsed)));
    QCOMPARE(f['C']->Value(), 0);
    QCOMPARE(f.transaction->FreqCount, 0);
}

void TestTransaction::lateReplyIsTakenByTheNextTransaction() {
    LinkFixture f("Ca");
    FastClock clock(10); // a second passes in 100 ms
    f.peer.Reply = [](const QByteArray&) { return QByteArray(); };
    QVERIFY(!f.transaction->SendMsg(" Ra\r"));
    f.peer.Write(" a0042\r"); // the late, complete reply
    f.peer.Reply = [](const QByteArray&) { return QByteArray(" C05\r"); };
    QVERIFY(f.transaction->SendMsg(" RC\r"));
    QCOMPARE(f['a']->Value(), 0x42); // taken as the second transaction's reply
    QCOMPARE(f['C']->Value(), 0);
}

void TestTransaction::photoCellBlockOfTwenty() {
    LinkFixture f("Ca");
    int sent = 0;
    f.peer.Reply = [&](const QByteArray&) { return QByteArray(++sent <= 7 ? " C01\r" : " C00\r"); };
    for (int i = 0; i < 19; ++i)
        QVERIFY(f.transaction->SendMsg(" RC\r"));
    QCOMPARE(f.transaction->FotoProcent, 0);
    QCOMPARE(f.transaction->FotoCount, 19);
    QCOMPARE(f.transaction->FotoOnCount, 7);
    f.peer.Reply = [](const QByteArray&) { return QByteArray(" a0001\r"); };
    QVERIFY(f.transaction->SendMsg(" Ra\r")); // another point counts nothing
    QCOMPARE(f.transaction->FotoCount, 19);
    f.peer.Reply = [](const QByteArray&) { return QByteArray(" C00\r"); };
    QVERIFY(f.transaction->SendMsg(" RC\r"));
    QCOMPARE(f.transaction->FotoProcent, 35);
    QCOMPARE(f.transaction->FotoCount, 0);
    QCOMPARE(f.transaction->FotoOnCount, 0);
    QCOMPARE(f.transaction->FreqCount, 20);
}

void TestTransaction::frameLabelShowsLastFrame() {
    LinkFixture f("Ca");
    FastClock clock(10); // a second passes in 100 ms
    QCOMPARE(f.label98->text(), QStringLiteral("NoFrame"));
    QVERIFY(f.transaction->SendMsg(" Ra\r"));
    QCOMPARE(f.label98->text(), QStringLiteral(" Ra\r"));
    f.peer.Reply = [](const QByteArray&) { return QByteArray(); };
    QVERIFY(!f.transaction->SendMsg(" WC05\r"));
    QCOMPARE(f.label98->text(), QStringLiteral(" WC05\r"));
}

void TestTransaction::disconnectDuringWaitFailsAtOnce() {
    LinkFixture f("Ca");
    f.peer.Reply = [](const QByteArray&) { return QByteArray(" C3F\r"); };
    f.peer.Delay = [](const QByteArray&) { return 600; };
    QTimer::singleShot(50, [&] { f.led->SetOn(false); });
    QElapsedTimer stopwatch;
    stopwatch.start();
    QVERIFY(!f.transaction->SendMsg(" RC\r"));
    QVERIFY(stopwatch.elapsed() < 400); // at the next pass, not after the 600 ms reply
    QTest::qWait(700);
    QCOMPARE(f['C']->Value(), 0); // nothing decoded, nothing counted
    QCOMPARE(f.transaction->FreqCount, 0);
}

void TestTransaction::closedPortSendsNothing() {
    LinkFixture f("Ca");
    f.port.SetOpen(false);
    QVERIFY(!f.transaction->SendMsg(" RC\r"));
    QCOMPARE(f.label98->text(), QStringLiteral("NoFrame"));
    QTest::qWait(20);
    QVERIFY(f.peer.Frames().isEmpty());
}
