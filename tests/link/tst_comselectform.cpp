#include "tst_comselectform.h"

#include "tcomselectform.h"
#include "testpty.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>

void TestComSelectForm::layoutAndTexts() {
    TComSelectForm form(nullptr, [](int n) { return n == 2; });
    QCOMPARE(form.windowTitle(), QStringLiteral("Select Port"));
    const auto* bevel = form.findChild<QFrame*>(QStringLiteral("Bevel1"));
    QVERIFY(bevel);
    QCOMPARE(bevel->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("The configured serial port is not valid."));
    QCOMPARE(bevel->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("Please choose another port."));
    QVERIFY(!form.PortsComboBox()->isEditable());
    const auto* ok = form.findChild<QPushButton*>(QStringLiteral("OkBtn"));
    const auto* cancel = form.findChild<QPushButton*>(QStringLiteral("AbortBtn"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
}

void TestComSelectForm::listsExistingPortsInOrder() {
    QList<int> asked;
    TComSelectForm form(nullptr, [&](int n) {
        asked << n;
        return n == 3 || n == 17 || n == 50;
    });
    QCOMPARE(asked.size(), 50);
    QCOMPARE(asked.first(), 1);
    QCOMPARE(asked.last(), 50);
    QComboBox* list = form.PortsComboBox();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(0), QStringLiteral("COM3"));
    QCOMPARE(list->itemText(1), QStringLiteral("COM17"));
    QCOMPARE(list->itemText(2), QStringLiteral("COM50"));
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(form.SelectedComNumber(), 3);
    list->setCurrentIndex(2);
    QCOMPARE(form.SelectedComNumber(), 50);
}

void TestComSelectForm::emptyListSelectsNothing() {
    TComSelectForm form(nullptr, [](int) { return false; });
    QCOMPARE(form.PortsComboBox()->count(), 0);
    QCOMPARE(form.SelectedComNumber(), 0);
}

// The real test open: a pseudo-terminal is listed; a link to nothing, a link
// to a file that is no serial device and a number without device are not.
void TestComSelectForm::testOpenDecidesWhatIsListed() {
    ComLinkFolderScope links;
    TestPty pty;
    QTemporaryFile plain;
    QVERIFY(plain.open());
    QVERIFY(links.Link(41, pty.SlavePath()));
    QVERIFY(links.Link(42, links.Folder() + QStringLiteral("/missing-device")));
    QVERIFY(links.Link(44, plain.fileName()));

    TComSelectForm form;
    QStringList entries;
    for (int i = 0; i < form.PortsComboBox()->count(); ++i)
        entries << form.PortsComboBox()->itemText(i);
    QVERIFY2(entries.contains(QStringLiteral("COM41")), qPrintable(entries.join(u',')));
    for (int n : {42, 43, 44, 45, 50})
        QVERIFY2(!entries.contains(QStringLiteral("COM%1").arg(n)), qPrintable(entries.join(u',')));
}
