#include "tst_updatecommand.h"

#include "scriptedpeer.h"
#include "tapdcomport.h"
#include "tdownloadform.h"
#include "testsupport.h"
#include "tfiledialogs.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "tmessagebox.h"
#include "ui_tdownloadform.h"
#include "ui_tformmain.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QStringList shown; // every message box, error boxes included
bool answer = true;
QStringList fileNamesAtOpen;
QString chosenFile;
std::function<void(const QString&, const QString&)> previousErrorBox;

const QString kRefusal =
    QString::fromUtf8("Du måste stäng av anslutning till styrningen innan uppdatering kan ske.");
const QString kQuestion =
    QString::fromUtf8("Är du säker på att du vill uppdatera programvaran i Styrningen ?");
const QString kInstructions = QString::fromUtf8(
    "1. Slå av strömmen till Styrningen.\n\r2. Kortslut JP3 och Slå till strömmen\n\r3. Ta bort "
    "kortslutningen på JP3");

} // namespace

void TestUpdateCommand::init() {
    shown.clear();
    fileNamesAtOpen.clear();
    answer = true;
    chosenFile.clear();
    TMessageBox::Override = [](TMessageBox::TKind, const QString& text, bool) {
        shown << text;
        return answer;
    };
    TFileDialog::ExecuteOverride = [](TFileDialog& dialog) {
        fileNamesAtOpen << dialog.FileName;
        dialog.FileName = chosenFile;
        return !chosenFile.isEmpty();
    };
    previousErrorBox = TGlodrikApplication::ErrorBox;
    TGlodrikApplication::ErrorBox = [](const QString&, const QString& text) {
        shown << QStringLiteral("error box: ") + text;
    };
}

void TestUpdateCommand::cleanup() {
    TMessageBox::Override = nullptr;
    TFileDialog::ExecuteOverride = nullptr;
    TGlodrikApplication::ErrorBox = previousErrorBox;
}

void TestUpdateCommand::refusedWhileConnected() {
    ComLinkFolderScope links;
    ScriptedPeer peer;
    links.Link(48, peer.SlavePath());
    TFormMain form;
    form.ComPort1->SetComNumber(48);
    form.ButtonStartClick();
    QVERIFY(form.ComThread());
    form.Form().UppdateraStyrprogram1->trigger();
    QCOMPARE(shown, QStringList{kRefusal});
    QVERIFY(fileNamesAtOpen.isEmpty());
    form.ButtonStartClick();
    QTRY_VERIFY(!form.ComThread());
}

void TestUpdateCommand::answeredNoStopsAtOnce() {
    TFormMain form;
    answer = false;
    form.Form().UppdateraStyrprogram1->trigger();
    QCOMPARE(shown, QStringList{kQuestion});
    QVERIFY(fileNamesAtOpen.isEmpty());
}

void TestUpdateCommand::cancelledFileChoiceCreatesNoDialog() {
    TFormMain form;
    form.OpenDialog1->FileName = QStringLiteral("/earlier/choice.hex");
    form.Form().UppdateraStyrprogram1->trigger();
    QCOMPARE(shown, (QStringList{kQuestion, kInstructions}));
    QCOMPARE(fileNamesAtOpen, QStringList{QString()}); // opened with an empty name
    QVERIFY(!form.findChild<TDownLoadForm*>());
}

void TestUpdateCommand::unreadableFileIsShownAndNoDialog() {
    TFormMain form;
    chosenFile = QStringLiteral("/no/such/ny.hex");
    form.Form().UppdateraStyrprogram1->trigger();
    QCOMPARE(shown.size(), 3);
    QVERIFY2(shown.last().startsWith(QStringLiteral("error box: /no/such/ny.hex")),
             qPrintable(shown.last()));
    QVERIFY(!form.findChild<TDownLoadForm*>());
}

void TestUpdateCommand::dialogGetsFilePortAndLimit() {
    QTemporaryDir dir;
    chosenFile = dir.filePath(QStringLiteral("ny.hex"));
    QFile file(chosenFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(":00000001FF\r\n");
    file.close();

    TFormMain form;
    form.ComPort1->SetComNumber(7);
    QString caption, name;
    int limit = 0;
    quint16 comNumber = 0;
    qint32 baud = 0;
    bool portOpen = true, avbrytEnabled = true;
    OnModal<TDownLoadForm>([&](TDownLoadForm* dialog) {
        caption = dialog->windowTitle();
        name = dialog->Form().LabelFileName->text();
        limit = dialog->FAddressLimit;
        comNumber = dialog->ApdComPort1->ComNumber();
        baud = dialog->ApdComPort1->Baud();
        portOpen = dialog->ApdComPort1->Open();
        avbrytEnabled = dialog->Form().ButtonAvbryt->isEnabled();
        dialog->Form().ButtonClose->click(); // closes without sending anything
    });
    form.Form().UppdateraStyrprogram1->trigger();
    QCOMPARE(caption, QStringLiteral("DownLoad ") + chosenFile);
    QCOMPARE(name, chosenFile);
    QCOMPARE(limit, 16384);
    QCOMPARE(comNumber, quint16(7));
    QCOMPARE(baud, 19200);
    QVERIFY(!portOpen);
    QVERIFY(!avbrytEnabled);
    QTRY_VERIFY(!form.findChild<TDownLoadForm*>()); // freed after closing

    // The next run opens the file dialog with an empty name again.
    chosenFile.clear();
    form.Form().UppdateraStyrprogram1->trigger();
    QCOMPARE(fileNamesAtOpen, (QStringList{QString(), QString()}));
}
