#include "tst_scheduler.h"

#include "frames.h"
#include "linkfixture.h"

#include <QTest>

namespace {

constexpr char kCodes[] = "01234";

// Flags per point, one character each: U read once, W write, B both,
// A scanned, . nothing.
void SetFlags(LinkFixture& f, const QByteArray& flags) {
    for (int i = 0; i < 5; ++i) {
        TZuIO* point = f[kCodes[i]];
        const char flag = flags[i];
        point->UpdateRequest = flag == 'U' || flag == 'B';
        point->AutoScan = flag == 'A';
        if (flag == 'W' || flag == 'B') {
            point->WriteMsg = QByteArray(" W") + kCodes[i] + "0009\r";
            point->WriteRequest = true;
        }
    }
}

} // namespace

// Each row: flags of P0..P4, cursor at start, steps run; the frames the
// peer saw ("R3" read of P3, "W1" write of P1), the cursor after, and the
// flags left pending.
void TestScheduler::steps_data() {
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("cursorAfter");
    QTest::addColumn<QByteArray>("flagsAfter");

    QTest::newRow("lone write, cursor 4 wraps to 4")
        << QByteArray("...W.") << 4 << 1 << QStringList{"W3"} << 4 << QByteArray(".....");
    QTest::newRow("search starts at the cursor, not by kind")
        << QByteArray(".UW..") << 2 << 2 << QStringList{"W2", "R1"} << 2 << QByteArray(".....");
    QTest::newRow("read before write of one point")
        << QByteArray("..B..") << 0 << 1 << QStringList{"R2"} << 3 << QByteArray("..W..");
    QTest::newRow("its write in a later step")
        << QByteArray("..B..") << 0 << 2 << QStringList{"R2", "W2"} << 3 << QByteArray(".....");
    QTest::newRow("scanning in a cycle")
        << QByteArray("A.A..") << 1 << 3 << QStringList{"R2", "R0", "R2"} << 3
        << QByteArray("A.A..");
    QTest::newRow("scanning waits for pending requests")
        << QByteArray("A..U.") << 0 << 2 << QStringList{"R3", "R0"} << 1 << QByteArray("A....");
    QTest::newRow("nothing pending, nothing scanned")
        << QByteArray(".....") << 3 << 2 << QStringList{} << 3 << QByteArray(".....");
    QTest::newRow("all read once in list order from the cursor")
        << QByteArray("UUUUU") << 3 << 5 << QStringList{"R3", "R4", "R0", "R1", "R2"} << 3
        << QByteArray(".....");
}

void TestScheduler::steps() {
    QFETCH(QByteArray, flags);
    QFETCH(int, cursor);
    QFETCH(int, steps);
    QFETCH(QStringList, sent);
    QFETCH(int, cursorAfter);
    QFETCH(QByteArray, flagsAfter);

    LinkFixture f(kCodes);
    SetFlags(f, flags);
    f.scheduler->ScanIndex = cursor;
    for (int i = 0; i < steps; ++i)
        f.scheduler->ScanNext();
    QTest::qWait(20); // a frame sent without need would arrive meanwhile
    QStringList seen;
    for (const QByteArray& frame : f.peer.Frames())
        seen << QString(QChar::fromLatin1(frame[1])) + QChar::fromLatin1(frame[2]);
    QCOMPARE(seen, sent);
    QCOMPARE(f.scheduler->ScanIndex, cursorAfter);
    QByteArray left;
    for (char code : QByteArray(kCodes)) {
        TZuIO* p = f[code];
        left += p->UpdateRequest && p->WriteRequest ? 'B'
                : p->UpdateRequest                  ? 'U'
                : p->WriteRequest                   ? 'W'
                : p->AutoScan                       ? 'A'
                                                    : '.';
    }
    QCOMPARE(left, flagsAfter);
    QVERIFY(f.port.Open()); // connected steps leave the port open
}

void TestScheduler::failedReadKeepsItsFlag() {
    LinkFixture f(kCodes);
    FastClock clock(10); // a second passes in 100 ms
    SetFlags(f, ".U.U.");
    f.peer.Reply = [](const QByteArray& frame) {
        return frame[2] == '1' ? QByteArray() : ScriptedPeer::DefaultReply(frame);
    };
    f.scheduler->ScanIndex = 0;
    f.scheduler->ScanNext(); // P1 does not answer
    QVERIFY(f['1']->UpdateRequest);
    QCOMPARE(f.scheduler->ScanIndex, 2); // the cursor moved past it all the same
    f.scheduler->ScanNext();             // P3 is served in turn
    QVERIFY(!f['3']->UpdateRequest);
    f.scheduler->ScanNext(); // then P1 again
    QCOMPARE(f.peer.Frames(), (QList<QByteArray>{" R1\r", " R3\r", " R1\r"}));
}

void TestScheduler::cursorPastShrunkListStartsAtZero() {
    LinkFixture f(kCodes);
    SetFlags(f, "A.A.A");
    f.scheduler->ScanIndex = 4;
    f.list.Items.Remove(f['4']);
    f.list.Items.Remove(f['3']); // 3 points left, the cursor is 4 -> position 1
    f.scheduler->ScanNext();
    QCOMPARE(f.peer.Frames(), QList<QByteArray>{" R2\r"});
    QCOMPARE(f.scheduler->ScanIndex, 0);
    f.list.Items.Remove(f['2']);
    f.scheduler->ScanIndex = 2; // equals the new count: starts at 0
    f.scheduler->ScanNext();
    QCOMPARE(f.peer.Frames().last(), QByteArray(" R0\r"));
}

void TestScheduler::closedPortMovesTheCursorTwice() {
    LinkFixture f(kCodes);
    SetFlags(f, ".U..A");
    f.port.SetOpen(false);
    f.scheduler->ScanIndex = 0;
    f.scheduler->ScanNext();
    QCOMPARE(f.scheduler->ScanIndex, 0); // past P1 (2), then past P4 (0)
    QVERIFY(f['1']->UpdateRequest);
    QTest::qWait(20);
    QVERIFY(f.peer.Frames().isEmpty());
}

void TestScheduler::disconnectDuringWaitClosesThePort() {
    LinkFixture f(kCodes);
    SetFlags(f, "U....");
    f.peer.Reply = [](const QByteArray&) { return QByteArray(); };
    QTimer::singleShot(50, [&] { f.led->SetOn(false); });
    f.scheduler->ScanNext();
    QVERIFY(!f.port.Open());
    QVERIFY(f['0']->UpdateRequest);
    // A step that runs with the lamp off still closes nothing twice.
    f.scheduler->ScanNext();
    QVERIFY(!f.port.Open());
}

void TestScheduler::editDuringItsOwnWriteIsNotLost() {
    LinkFixture f(kCodes);
    f.list.OnIOChange = nullptr;
    TZuIO* point = f['2'];
    point->OnIOChange = [](TZuIO* sender) {
        sender->WriteMsg = WriteFrame(*sender);
        sender->WriteRequest = true;
    };
    point->SetValue(5);
    f.peer.Delay = [](const QByteArray&) { return 150; };
    QTimer::singleShot(50, [&] { point->SetValue(6); }); // typed while the write waits
    f.scheduler->ScanNext();
    QVERIFY(point->WriteRequest);
    f.peer.Delay = [](const QByteArray&) { return 0; };
    f.scheduler->ScanNext();
    QVERIFY(!point->WriteRequest);
    QCOMPARE(f.peer.Frames(), (QList<QByteArray>{" W20005\r", " W20006\r"}));
}

void TestScheduler::twoEditsBeforeAStepSendOneFrame() {
    LinkFixture f(kCodes);
    TZuIO* point = f['4'];
    point->OnIOChange = [](TZuIO* sender) {
        sender->WriteMsg = WriteFrame(*sender);
        sender->WriteRequest = true;
    };
    point->SetValue(0x11);
    point->SetValue(0x22);
    f.scheduler->ScanNext();
    f.scheduler->ScanNext(); // nothing left to write
    QTest::qWait(20);
    QCOMPARE(f.peer.Frames(), QList<QByteArray>{" W40022\r"});
    QVERIFY(!point->WriteRequest);
}
