#include "tst_connection.h"

#include "scriptedpeer.h"
#include "tapdcomport.h"
#include "testsupport.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "tlinkconnection.h"
#include "tprocessimage.h"
#include "truncomthread.h"
#include "ui_tformmain.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

constexpr int kCom = 49;
// The codes scanned continuously, in list order.
const QByteArray kScanned = "CADeZ6LFY7afj";
const QByteArray kAllCodes = "CADeZGHIJMNQOP65STR9XLBEFYKU123478abcdVfghij";

std::unique_ptr<ComLinkFolderScope> links;
QStringList errorsShown;
std::function<void(const QString&, const QString&)> previousErrorBox;

QByteArray Codes(const QList<QByteArray>& frames, qsizetype from, qsizetype count) {
    QByteArray codes;
    for (qsizetype i = from; i < from + count && i < frames.size(); ++i)
        codes += frames[i][2];
    return codes;
}

void Press(TFormMain& form) {
    QTest::mouseClick(form.Form().ButtonStart, Qt::LeftButton);
}

} // namespace

void TestConnection::init() {
    links = std::make_unique<ComLinkFolderScope>();
    errorsShown.clear();
    previousErrorBox = TGlodrikApplication::ErrorBox;
    TGlodrikApplication::ErrorBox = [](const QString&, const QString& text) {
        errorsShown << text;
    };
}

void TestConnection::cleanup() {
    TGlodrikApplication::ErrorBox = previousErrorBox;
    links.reset();
}

void TestConnection::connectReadsEveryPointOnceThenScans() {
    ScriptedPeer peer;
    links->Link(kCom, peer.SlavePath());
    TFormMain form;
    form.ComPort1->SetComNumber(kCom);
    Press(form);
    QCOMPARE(form.Image().Point(QStringLiteral("Inputs"))->Value(), 255);
    QVERIFY(form.Form().LedConnected->GetOn());
    QVERIFY(form.Timer1->isActive());
    QVERIFY(form.ComThread());
    QTRY_VERIFY_WITH_TIMEOUT(peer.frames.size() >= 44 + 2 * 13, 10000);
    const QList<QByteArray> frames = peer.Frames();
    QCOMPARE(Codes(frames, 0, 44), kAllCodes);
    QCOMPARE(Codes(frames, 44, 26), kScanned + kScanned);
    for (const QByteArray& frame : frames)
        QCOMPARE(frame[1], 'R');
    QCOMPARE(form.Image().Point(QStringLiteral("Inputs"))->Value(), 1);

    // A typed parameter goes out as a write between the scans, once.
    QLineEdit* setPoint = form.Form().EditTempSetpoint;
    setPoint->selectAll();
    QTest::keyClicks(setPoint, QStringLiteral("700"));
    QTest::keyClick(setPoint, Qt::Key_Return);
    QTRY_VERIFY(peer.Frames().contains(" WU02BC\r"));
    QTRY_VERIFY(!form.Image().Point(QStringLiteral("EETempSet"))->WriteRequest);
    QCOMPARE(peer.Frames().count(" WU02BC\r"), 1);

    Press(form);
    QVERIFY(!form.Form().LedConnected->GetOn());
    QTRY_VERIFY(!form.ComPort1->Open());
    QTRY_VERIFY(!form.ComThread());
}

void TestConnection::cancelledPromptLeavesTheLinkOff() {
    TFormMain form;
    OnModal(
        [](QWidget* modal) { modal->findChild<QPushButton*>(QStringLiteral("AbortBtn"))->click(); },
        &form);
    Press(form);
    QCOMPARE(errorsShown, QStringList{QStringLiteral(
                              "The ComNumber property of the TApdComPort has not been set.")});
    QVERIFY(!form.Form().LedConnected->GetOn());
    QVERIFY(!form.ComThread());
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.Image().Point(QStringLiteral("Inputs"))->Value(), 255);
}

namespace {

// Runs `action` once, shortly after the peer received its first frame: inside
// the wait of the transaction that sent it.
void InsideFirstWait(ScriptedPeer& peer, std::function<void()> action, bool answerLater) {
    auto done = std::make_shared<bool>(false);
    peer.Reply = [done, action, answerLater](const QByteArray& frame) {
        if (!*done) {
            *done = true;
            QTimer::singleShot(20, action);
            return QByteArray();
        }
        return answerLater ? ScriptedPeer::DefaultReply(frame) : QByteArray();
    };
}

} // namespace

void TestConnection::disconnectDuringWait() {
    ScriptedPeer peer;
    links->Link(kCom, peer.SlavePath());
    TFormMain form;
    bool lampOff = false, timerStopped = false;
    QString rate;
    QElapsedTimer stopwatch;
    InsideFirstWait(
        peer,
        [&] {
            stopwatch.start();
            Press(form);
            lampOff = !form.Form().LedConnected->GetOn();
            timerStopped = !form.Timer1->isActive();
            rate = form.Form().LabelFreq->text();
        },
        false);
    form.ComPort1->SetComNumber(kCom);
    Press(form);
    QTRY_VERIFY(stopwatch.isValid());
    QVERIFY(lampOff);
    QVERIFY(timerStopped);
    QCOMPARE(rate, QStringLiteral("0 Hz"));
    QTRY_VERIFY(!form.ComPort1->Open()); // closed by the step whose wait ended
    QVERIFY2(stopwatch.elapsed() < 500, qPrintable(QString::number(stopwatch.elapsed())));
    QTRY_VERIFY(!form.ComThread());
    QCOMPARE(peer.frames.size(), 1);
}

void TestConnection::closeDuringWait() {
    ScriptedPeer peer;
    links->Link(kCom, peer.SlavePath());
    TFormMain form;
    form.show();
    bool closed = false;
    InsideFirstWait(
        peer,
        [&] {
            form.close();
            closed = true;
        },
        false);
    form.ComPort1->SetComNumber(kCom);
    Press(form);
    QTRY_VERIFY(closed);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.Form().LedConnected->GetOn());
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(!form.ComPort1->Open());
    QTRY_VERIFY(!form.ComThread());
    QCOMPARE(peer.frames.size(), 1);
}

void TestConnection::reconnectInsideOneWait() {
    ScriptedPeer peer;
    links->Link(kCom, peer.SlavePath());
    TFormMain form;
    QPointer<TRunComThread> first;
    bool reconnected = false;
    InsideFirstWait(
        peer,
        [&] {
            Press(form); // off
            Press(form); // and on again, both inside the first step's wait
            reconnected = form.Form().LedConnected->GetOn() && form.ComThread() != first.data();
        },
        true);
    form.ComPort1->SetComNumber(kCom);
    Press(form);
    first = form.ComThread();
    QTRY_VERIFY_WITH_TIMEOUT(peer.frames.size() >= 10, 5000);
    QVERIFY(reconnected);
    QTRY_VERIFY(first.isNull()); // the first worker ended and freed itself
    QVERIFY(form.ComPort1->Open());
    QVERIFY(form.ComThread());
    QVERIFY(form.Form().LedConnected->GetOn());
    // No step ran inside the waiting one: the next frame came only after its
    // time-out (a nested step would have sent within milliseconds).
    QVERIFY2(peer.frames[1].ms - peer.frames[0].ms >= 900,
             qPrintable(QString::number(peer.frames[1].ms - peer.frames[0].ms)));
    Press(form);
    QTRY_VERIFY(!form.ComPort1->Open());
}

void TestConnection::pulledAdapterSwitchesTheLinkOff() {
    auto peer = std::make_unique<ScriptedPeer>();
    links->Link(kCom, peer->SlavePath());
    TFormMain form;
    form.ComPort1->SetComNumber(kCom);
    Press(form);
    QTRY_VERIFY(peer->frames.size() >= 5);
    peer->Pull();
    QTRY_VERIFY_WITH_TIMEOUT(!form.Form().LedConnected->GetOn(), 5000);
    QTRY_VERIFY(!form.ComThread());
    QVERIFY(!form.ComPort1->Open());
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.Form().LabelFreq->text(), QStringLiteral("0 Hz"));
    QCOMPARE(errorsShown.size(), 1);
    QVERIFY2(errorsShown.first().contains(QStringLiteral("bröts")),
             qPrintable(errorsShown.first()));

    // The adapter is back: one press connects anew.
    peer = std::make_unique<ScriptedPeer>();
    links->Link(kCom, peer->SlavePath());
    Press(form);
    QVERIFY(form.Form().LedConnected->GetOn());
    QTRY_VERIFY(peer->frames.size() >= 3);
    Press(form);
    QTRY_VERIFY(!form.ComPort1->Open());
}

void TestConnection::updateAllWhileDisconnectedSendsNothing() {
    TFormMain form;
    for (TZuIO* point : form.Image().Points())
        point->UpdateRequest = false;
    QTest::mouseClick(form.Form().ButtonUpdateAll, Qt::LeftButton);
    for (TZuIO* point : form.IOList()->Items.Snapshot())
        QVERIFY(point->UpdateRequest);
    QVERIFY(!form.ComPort1->Open());
    QCOMPARE(form.Form().Label98->text(), QStringLiteral("NoFrame"));
}

void TestConnection::stateLiveSwitchesTheSixPoints() {
    TFormMain form;
    const QByteArray live = "GHIJXB";
    QCheckBox* box = form.Form().CheckBoxStateLive;
    for (bool ticked : {true, false}) {
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->isChecked(), ticked);
        for (char code : live) {
            TZuIO* point = form.Image().PointOfCode(code);
            QCOMPARE(point->AutoScan, ticked);
            QCOMPARE(point->Edit()->isEnabled(), ticked);
            QVERIFY(point->Edit()->isReadOnly());
        }
        QVERIFY(form.Image().PointOfCode('a')->AutoScan); // the others stay as they were
        QVERIFY(!form.Image().PointOfCode('M')->AutoScan);
    }
}
