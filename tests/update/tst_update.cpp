#include "tst_update.h"

#include "bootpeer.h"
#include "eventtimer.h"
#include "programfile.h"
#include "tapdcomport.h"
#include "tcolor.h"
#include "tdownloadform.h"
#include "tmessagebox.h"
#include "ui_tdownloadform.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(DownloadResult)

namespace {

constexpr int kCom = 42;
const QByteArray kData = ":0400000001020304F2";
const QByteArray kEnd = ":00000001FF";

std::unique_ptr<ComLinkFolderScope> links;
QStringList shown; // "kind|text" of every message box

QString KindName(TMessageBox::TKind kind) {
    switch (kind) {
    case TMessageBox::TKind::Warning:
        return QStringLiteral("warning");
    case TMessageBox::TKind::Error:
        return QStringLiteral("error");
    case TMessageBox::TKind::Information:
        break;
    }
    return QStringLiteral("information");
}

// A dialog on a boot peer, with the address limit of the update command.
TDownLoadForm* NewForm(BootPeer& peer) {
    links->Link(kCom, peer.SlavePath());
    auto* form = new TDownLoadForm;
    form->ApdComPort1->SetComNumber(kCom);
    form->FAddressLimit = 16384;
    return form;
}

// A file of `lines` in a temporary folder.
QString WriteFile(QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("ny.hex"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

} // namespace

void TestUpdate::init() {
    links = std::make_unique<ComLinkFolderScope>();
    shown.clear();
    TMessageBox::Override = [](TMessageBox::TKind kind, const QString& text, bool) {
        shown << KindName(kind) + u'|' + text;
        return true;
    };
}

void TestUpdate::cleanup() {
    TMessageBox::Override = nullptr;
    SetMillisecondClock({});
    links.reset();
}

void TestUpdate::splitsLines_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("lines");
    const QList<QByteArray> two{":A", ":B"};
    QTest::newRow("LF") << QByteArray(":A\n:B\n") << two;
    QTest::newRow("CR LF") << QByteArray(":A\r\n:B\r\n") << two;
    QTest::newRow("CR") << QByteArray(":A\r:B\r") << two;
    QTest::newRow("no end on the last line") << QByteArray(":A\n:B") << two;
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("blank line kept")
        << QByteArray(":A\n\n:B\n") << QList<QByteArray>{":A", "", ":B"};
    QTest::newRow("LF CR is two ends")
        << QByteArray(":A\n\r:B") << QList<QByteArray>{":A", "", ":B"};
    QTest::newRow("nothing trimmed") << QByteArray(" :A \t\n") << QList<QByteArray>{" :A \t"};
    QTest::newRow("NUL ends the text")
        << QByteArray(":A\n:B\0:C\n", 9) << QList<QByteArray>{":A", ":B"};
}

void TestUpdate::splitsLines() {
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(SplitProgramLines(text), lines);
}

void TestUpdate::recordFilter_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("sent");
    QTest::newRow("data record") << kData << true;
    QTest::newRow("end-of-file record") << kEnd << true;
    QTest::newRow("3FFF passes") << QByteArray(":103FFF00AA") << true;
    QTest::newRow("4000 fails") << QByteArray(":10400000AA") << false;
    QTest::newRow("ffff is 65535") << QByteArray(":10ffff00AA") << false;
    QTest::newRow("12G4 does not convert") << QByteArray(":1012G400AA") << false;
    QTest::newRow("7 characters") << QByteArray(":020000") << false;
    QTest::newRow("exactly 8") << QByteArray(":0200000") << true;
    QTest::newRow("space before the colon") << QByteArray(" :0400000001020304F2") << false;
    QTest::newRow("blank line") << QByteArray() << false;
    QTest::newRow("other text") << QByteArray("S1130000285F245F2212226A000424290008237C") << false;
}

void TestUpdate::recordFilter() {
    QFETCH(QByteArray, line);
    QFETCH(bool, sent);
    QCOMPARE(IsProgramRecord(line, 16384), sent);
}

void TestUpdate::loadShowsNameAndCount() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, kData + "\r\n\r\n" + kEnd);
    TDownLoadForm form;
    form.FLineIndex = 7;
    form.LoadProgramFile(path);
    QCOMPARE(form.FLines, (QList<QByteArray>{kData, "", kEnd}));
    QCOMPARE(form.FLineIndex, 0);
    QCOMPARE(form.Form().LabelFileName->text(), path);
    QCOMPARE(form.Form().LabelStorlek->text(), QStringLiteral("3"));
    QCOMPARE(form.Form().LabelStatus->text(),
             QString::fromUtf8("Programfil laddad, redo för programmering"));
}

void TestUpdate::unreadableFileRaises() {
    TDownLoadForm form;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             form.LoadProgramFile(QStringLiteral("/no/such.hex")));
}

// Each row: what the boot peer does with the line kData; the result and the
// text the exchange received.
void TestUpdate::sendLine_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<DownloadResult>("result");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("echo and full stop") << "." << DownloadResult::LineAccepted << kData + ".";
    QTest::newRow("S for the first echo")
        << "S-first" << DownloadResult::Finished << QByteArray("S");
    QTest::newRow("S after the echo") << "S" << DownloadResult::Finished << kData + "S";
    QTest::newRow("two letters ignored") << "ab." << DownloadResult::LineAccepted << kData + "ab.";
    QTest::newRow("silence after the echo") << "" << DownloadResult::NoReply << kData;
    QTest::newRow("full stop after 1.2 s") << "late" << DownloadResult::NoReply << kData;
    QTest::newRow("lower-case echo")
        << "lower" << DownloadResult::EchoError << kData.left(17) + "f";
    QTest::newRow("F after the echo") << "F" << DownloadResult::CannotProgram << kData + "F";
}

void TestUpdate::sendLine() {
    QFETCH(QString, script);
    QFETCH(DownloadResult, result);
    QFETCH(QByteArray, reply);
    BootPeer peer;
    std::unique_ptr<TDownLoadForm> form(NewForm(peer));
    QElapsedTimer real;
    real.start();
    // The second of the exchange passes ten times faster.
    SetMillisecondClock([&real] { return std::uint32_t(real.elapsed() * 10 + 5000); });
    if (script == "S-first")
        peer.Echo = [](int, int position, char c) {
            return position == 0 ? QByteArray("S") : QByteArray(1, c);
        };
    else if (script == "lower")
        peer.Echo = [](int, int, char c) { return QByteArray(1, char(std::tolower(c))); };
    else if (script == "late") {
        peer.Status = [](int, const QByteArray&) { return QByteArray("."); };
        peer.StatusDelay = [](int) { return 120; }; // 1.2 s at the fast clock
    } else
        peer.Status = [script](int, const QByteArray&) { return script.toLatin1(); };
    peer.Start();
    QVERIFY(!form->ApdComPort1->Open());
    QCOMPARE(form->SendLine(kData), result);
    QVERIFY(form->ApdComPort1->Open()); // the first exchange opens the port
    QCOMPARE(form->Form().LabelProgramrad->text(), QString::fromLatin1(reply));
    QCOMPARE(peer.Records().value(0, QByteArray()).left(kData.size()),
             script == "S-first" || script == "lower" ? peer.Records().value(0) : kData);
}

void TestUpdate::lineEndAfterStatusFailsNextLine() {
    BootPeer peer;
    peer.Status = [](int, const QByteArray&) { return QByteArray(".\r\n"); };
    std::unique_ptr<TDownLoadForm> form(NewForm(peer));
    peer.Start();
    QCOMPARE(form->SendLine(kData), DownloadResult::LineAccepted);
    QTest::qWait(20);
    QCOMPARE(form->SendLine(kData), DownloadResult::EchoError); // CR compared with ':'
    QCOMPARE(form->Form().LabelProgramrad->text(), QStringLiteral("\r"));
}

void TestUpdate::percentagesOf412Lines() {
    BootPeer peer;
    std::unique_ptr<TDownLoadForm> form(NewForm(peer));
    for (int i = 0; i < 412; ++i)
        form->FLines << kData;
    QList<int> positions;
    QStringList labels;
    peer.Status = [&](int, const QByteArray&) {
        positions << form->Form().ProgressBar1->value();
        labels << form->Form().LabelProcent->text();
        return QByteArray(".");
    };
    peer.Start();
    form->ButtonStartClick();
    peer.Stop();
    QCOMPARE(positions.size(), 412);
    QCOMPARE(positions.mid(0, 6), (QList<int>{0, 0, 0, 0, 0, 1}));
    QCOMPARE(positions.last(), 99);
    for (int i = 0; i < 412; ++i)
        QCOMPARE(positions[i], i * 100 / 412);
    QCOMPARE(labels[5], QStringLiteral("1 %"));
    QCOMPARE(labels.last(), QStringLiteral("99 %"));
    QCOMPARE(form->Form().LabelStatus->text(), QStringLiteral("Rad 411 Av 412"));
    QVERIFY(shown.isEmpty()); // no final message
    QVERIFY(form->Form().ButtonAvbryt->isEnabled());
    QVERIFY(!form->Form().ButtonClose->isEnabled());
    QVERIFY(!form->Form().ButtonStart->isEnabled());
}

void TestUpdate::noSendableLineOpensNothing() {
    BootPeer peer;
    std::unique_ptr<TDownLoadForm> form(NewForm(peer));
    form->FLines = {"", "not a record", ":10400000AA"};
    peer.Start();
    form->ButtonStartClick();
    QVERIFY(!form->ApdComPort1->Open());
    QCOMPARE(form->Form().LabelStatus->text(),
             QString::fromUtf8("Försöker att få kontakt med Styrsystemet..."));
    QVERIFY(shown.isEmpty());
    QVERIFY(peer.Records().isEmpty());
    QCOMPARE(form->Form().LabelProcent->text(), QStringLiteral("66 %"));
}

void TestUpdate::avbrytDuringRun() {
    BootPeer peer;
    QPointer<TDownLoadForm> form(NewForm(peer));
    form->FLines = {kData, kData, kData, kData};
    form->show();
    peer.Status = [&](int record, const QByteArray&) {
        if (record == 1) // pressed while line 1 is exchanged
            QMetaObject::invokeMethod(
                form.data(), [&] { form->Form().ButtonAvbryt->click(); }, Qt::QueuedConnection);
        return QByteArray(".");
    };
    peer.Start();
    form->ButtonStartClick();
    // The line after the press is still handled, then the loop stops.
    QCOMPARE(peer.Records().size(), 3);
    QVERIFY(form->FStop);
    QVERIFY(form->Form().ButtonClose->isEnabled());
    QVERIFY(!form->Form().ButtonAvbryt->isEnabled());
    QVERIFY(shown.isEmpty());
    QVERIFY(form->isVisible());
    form->Form().ButtonClose->click();
    QTRY_VERIFY(form.isNull()); // closed and freed
}

void TestUpdate::avbrytTwiceClosesAfterTheRun() {
    BootPeer peer;
    QPointer<TDownLoadForm> form(NewForm(peer));
    form->FLines = {kData, kData, kEnd};
    form->show();
    peer.Status = [&](int record, const QByteArray& text) {
        if (record == 0)
            QMetaObject::invokeMethod(
                form.data(),
                [&] {
                    form->Form().ButtonAvbryt->click();
                    form->Form().ButtonAvbryt->click(); // the second press asks for a close
                },
                Qt::QueuedConnection);
        return QByteArray(text.mid(7, 2) == "01" ? "S" : ".");
    };
    peer.Start();
    form->ButtonStartClick();
    // The line after the presses was still handled; the run ended, then the dialog closed.
    QCOMPARE(peer.Records().size(), 2);
    QVERIFY(shown.isEmpty());
    QTRY_VERIFY(form.isNull());
}

void TestUpdate::portThatCannotOpenBreaksTheRunOff() {
    QStringList errors;
    const auto previous = TDownLoadForm::ShowError;
    TDownLoadForm::ShowError = [&](const QString& message) { errors << message; };
    QPointer<TDownLoadForm> form(new TDownLoadForm);
    form->ApdComPort1->SetComNumber(43); // no device behind it
    form->FAddressLimit = 16384;
    form->FLines = {kData, kEnd};
    form->show();
    form->ButtonStartClick();
    TDownLoadForm::ShowError = previous;
    QCOMPARE(errors, QStringList{QStringLiteral("ie_BadId - Specified comport doesn't exist")});
    QVERIFY(shown.isEmpty());
    QVERIFY(form);
    QVERIFY(!form->Form().ButtonStart->isEnabled());
    QVERIFY(!form->Form().ButtonClose->isEnabled());
    QVERIFY(form->Form().ButtonAvbryt->isEnabled());
    form->Form().ButtonAvbryt->click(); // first press: "A&vsluta" becomes available
    QVERIFY(form->Form().ButtonClose->isEnabled());
    QVERIFY(form->isVisible());
    form->Form().ButtonAvbryt->click(); // second press closes
    QTRY_VERIFY(form.isNull());
}

// Each row: what the boot peer answers to the single line; the status
// shown and the final message box.
void TestUpdate::finalMessages_data() {
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<QString>("message");
    QTest::newRow("finished") << QByteArray("S") << "Programmering Klar"
                              << QString::fromUtf8(
                                     "information|Programmering Ok!\n\rFör att starta om så skall "
                                     "strömmen slås av och till igen.\n\rSe till att ingen "
                                     "kortslutning av JP3 finns.");
    QTest::newRow("no reply") << QByteArray() << "!!Inget Svar!!"
                              << QString::fromUtf8("error|Programmering Misslyckades!\n\rIngen "
                                                   "kontakt med styrsystemet.\n\rSlå av strömmen "
                                                   "och prova igen.");
    QTest::newRow("echo error")
        << QByteArray("x") << "!!Kommunikations störning!!"
        << QString::fromUtf8("error|Programmering Misslyckades!\n\rKommunikationsstörningar"
                             ". Kontrollera att kabel är ok.\n\rSlå av strömmen och prova "
                             "igen.");
    QTest::newRow("cannot program")
        << QByteArray("F") << QString::fromUtf8("Internt fel i Processor,kan ej bränna")
        << QString::fromUtf8("error|Programmering Misslyckades!\n\rStyrsystemets program går ej "
                             "att uppdatera via PC.\n\rUppdatering kan endast göras genom att "
                             "processorn byts. ");
}

void TestUpdate::finalMessages() {
    QFETCH(QByteArray, status);
    QFETCH(QString, statusText);
    QFETCH(QString, message);
    BootPeer peer;
    QElapsedTimer real;
    real.start();
    SetMillisecondClock([&real] { return std::uint32_t(real.elapsed() * 10 + 5000); });
    QPointer<TDownLoadForm> form(NewForm(peer));
    form->FLines = {kData, kEnd};
    form->show();
    if (status == "x")
        peer.Echo = [](int, int position, char c) {
            return position == 3 ? QByteArray("x") : QByteArray(1, c);
        };
    else
        peer.Status = [status](int, const QByteArray&) { return status; };
    peer.Start();
    QString statusAtMessage;
    TMessageBox::Override = [&](TMessageBox::TKind kind, const QString& text, bool) {
        statusAtMessage = form->Form().LabelStatus->text();
        shown << KindName(kind) + u'|' + text;
        return true;
    };
    form->ButtonStartClick();
    QCOMPARE(shown, QStringList{message});
    QCOMPARE(statusAtMessage, statusText);
    QCOMPARE(peer.Records().size(), 1); // the first failing line ends it
    QTRY_VERIFY(form.isNull());         // the dialog closed after its message
}

void TestUpdate::dialogStartState() {
    TDownLoadForm form;
    Ui::TDownLoadForm& ui = form.Form();
    QCOMPARE(ui.GroupBox1->title(), QStringLiteral("Status"));
    for (QLabel* label : {ui.LabelFileName, ui.LabelStorlek, ui.LabelStatus})
        QCOMPARE(label->text(), QStringLiteral("???"));
    QVERIFY(ui.LabelStatus->font().bold());
    QCOMPARE(ui.LabelProcent->text(), QStringLiteral("0%"));
    QCOMPARE(ui.LabelProgramrad->text(), QStringLiteral("..."));
    QCOMPARE(ui.ProgressBar1->minimum(), 0);
    QCOMPARE(ui.ProgressBar1->maximum(), 100);
    QCOMPARE(ui.ProgressBar1->value(), 0);
    QCOMPARE(ui.ButtonStart->text(), QStringLiteral("&Starta"));
    QCOMPARE(ui.ButtonAvbryt->text(), QStringLiteral("&Avbryt"));
    QCOMPARE(ui.ButtonClose->text(), QStringLiteral("A&vsluta"));
    QVERIFY(ui.ButtonStart->isEnabled());
    QVERIFY(!ui.ButtonAvbryt->isEnabled());
    QVERIFY(ui.ButtonClose->isEnabled());
    QCOMPARE(form.ApdComPort1->ComNumber(), quint16(1));
    QVERIFY(!form.ApdComPort1->AutoOpen);
    QVERIFY(!form.ApdComPort1->Open());
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(ui.LabelProgramrad->palette().color(QPalette::Window).rgb(),
             ColorToQColor(clBtnShadow, form.palette()).rgb());
}

void TestUpdate::closedDialogFreesItself() {
    QPointer<TDownLoadForm> form(new TDownLoadForm);
    form->FLines = {kData};
    form->show();
    QTest::keyClick(form.data(), Qt::Key_Escape); // does not close it
    QVERIFY(form->isVisible());
    form->Form().ButtonClose->click();
    QTRY_VERIFY(form.isNull());
}
