#include "tst_formmain.h"

#include "taboutbox.h"
#include "tapdcomport.h"
#include "testsupport.h"
#include "tfiledialogs.h"
#include "tformmain.h"
#include "thelpwindow.h"
#include "tled.h"
#include "tprocessimage.h"
#include "ui_tformmain.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(IOType)
Q_DECLARE_METATYPE(IODir)

namespace {

// The code characters of the point list, in the order of the controller's table.
const QByteArray kCodesInOrder = "CADeZGHIJMNQOP65STR9XLBEFYKU123478abcdVfghij";

QList<TZuIO*> ListedPoints(TFormMain& form) {
    return form.IOList()->Items.Snapshot();
}

TZuIO* PointOf(TFormMain& form, char code) {
    return form.Image().PointOfCode(code);
}

// Counts change events and keeps the hook that prepares writes.
struct ChangeCounter {
    explicit ChangeCounter(TFormMain& form) {
        for (TZuIO* point : form.Image().Points()) {
            point->OnIOChange = [this, &form](TZuIO* sender) {
                changed.append(sender->MsgCode());
                form.IOChange(sender);
            };
        }
    }
    QByteArray changed;
};

} // namespace

void TestFormMain::pointListInTableOrder() {
    TFormMain form;
    QByteArray codes;
    for (TZuIO* point : ListedPoints(form))
        codes += point->MsgCode();
    QCOMPARE(codes.size(), 44);
    QCOMPARE(codes, kCodesInOrder);
    QCOMPARE(form.Image().Points(), ListedPoints(form));
    for (TZuIO* point : ListedPoints(form)) {
        QCOMPARE(point->parent(), &form);
        QVERIFY(point->UpdateRequest);
        QVERIFY(!point->WriteRequest);
    }
}

// Each row: code; title, type, direction, scale, scanned at start, edit box.
void TestFormMain::pointDetails_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<IOType>("type");
    QTest::addColumn<IODir>("direction");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("autoScan");
    QTest::addColumn<QString>("edit");

    const IOType byte = IOType::sByte, word = IOType::sWord;
    QTest::newRow("Inputs") << 'C' << "Inputs" << byte << IODir::In << 1.0 << true << "";
    QTest::newRow("Out1") << 'A' << "Out1" << byte << IODir::Out << 1.0 << true << "";
    QTest::newRow("PortC") << 'e' << "PortC" << byte << IODir::Out << 1.0 << true << "";
    QTest::newRow("Timer1, switched")
        << 'G' << "Timer1" << word << IODir::In << 0.065536 << false << "EditTimer1";
    QTest::newRow("T1") << 'M' << "T1" << word << IODir::In << 0.065536 << false << "Edit7";
    QTest::newRow("T5 scanned") << '6' << "T5" << word << IODir::In << 0.065536 << true << "Edit12";
    QTest::newRow("T6") << '5' << "T6" << word << IODir::In << 0.065536 << false << "Edit13";
    QTest::newRow("VTill") << '9' << "VTill" << word << IODir::In << 0.065536 << false << "Edit17";
    QTest::newRow("MainState, switched")
        << 'X' << "MainState" << byte << IODir::In << 1.0 << false << "EditMainState";
    QTest::newRow("PORT_E") << 'E' << "PORT_E" << byte << IODir::In << 1.0 << false << "EditPortE";
    QTest::newRow("set point") << 'U' << "EETempSet" << word << IODir::In << 1.0 << false
                               << "EditTempSetpoint";
    QTest::newRow("Reduceringstid") << '3' << "EEReduceringstid" << word << IODir::In << 0.065536
                                    << false << "EditReduceringsTid";
    QTest::newRow("Drifttid") << '7' << "EEDriftTid" << word << IODir::In << 1.0 << true
                              << "EditDriftTid";
    QTest::newRow("Temperatur") << 'a' << "Temperatur" << word << IODir::In << 1.0 << true
                                << "EditTemperatur";
    QTest::newRow("K numerator") << 'c' << QString::fromUtf8("K-Värde Täljare") << byte << IODir::In
                                 << 1.0 << false << "EditPT";
    QTest::newRow("Version") << 'V' << "Version" << IOType::sString << IODir::In << 1.0 << false
                             << "EditVersion";
    QTest::newRow("LarmRegister") << 'f' << "LarmRegister" << byte << IODir::Out << 1.0 << true
                                  << "";
    QTest::newRow("LarmMask") << 'g' << "LarmMask" << byte << IODir::Out << 1.0 << false
                              << "EditLarmMask";
    QTest::newRow("IntegratorIntern") << 'j' << "IntegratorIntern" << IOType::SignsWord << IODir::In
                                      << 1.0 << true << "EditIntegratorIntern";
}

void TestFormMain::pointDetails() {
    QFETCH(char, code);
    QFETCH(QString, title);
    QFETCH(IOType, type);
    QFETCH(IODir, direction);
    QFETCH(double, scale);
    QFETCH(bool, autoScan);
    QFETCH(QString, edit);

    TFormMain form;
    TZuIO* point = PointOf(form, code);
    QVERIFY(point);
    QCOMPARE(point->Title(), title);
    QVERIFY(point->Type() == type);
    QVERIFY(point->Direction() == direction);
    QCOMPARE(point->Scale, scale);
    QCOMPARE(point->AutoScan, autoScan);
    QCOMPARE(point->Edit() ? point->Edit()->objectName() : QString(), edit);
}

void TestFormMain::everyPointHoldsItsBitsAndLamps() {
    // point code, bit, lamp - in the order the bits were created.
    struct Expected {
        char code;
        int bit;
        const char* led;
    };
    const Expected expected[] = {
        {'C', 0, "Led2"},  {'C', 1, "Led3"},  {'C', 2, "Led4"},  {'C', 3, "Led5"},
        {'C', 4, "Led6"},  {'C', 5, "Led7"},  {'C', 6, "Led8"},  {'C', 7, "Led9"},
        {'A', 0, "Led10"}, {'A', 1, "Led11"}, {'A', 2, "Led12"}, {'A', 3, "Led13"},
        {'A', 4, "Led14"}, {'A', 5, "Led15"}, {'A', 6, "Led16"}, {'A', 7, "Led17"},
        {'D', 0, "Led18"}, {'D', 1, "Led19"}, {'e', 2, "Led20"}, {'e', 0, "Led25"},
        {'Z', 0, "Led1"},  {'f', 0, "Led21"}, {'f', 1, "Led22"}, {'f', 2, "Led23"},
        {'f', 3, "Led24"}, {'f', 4, "Led26"}, {'f', 5, "Led27"}, {'f', 6, "Led28"},
        {'f', 7, "Led29"}, {'g', 0, "Led30"}, {'g', 1, "Led31"}, {'g', 2, "Led32"},
        {'g', 3, "Led33"}, {'g', 4, "Led34"}, {'g', 5, "Led35"}, {'g', 6, "Led36"},
        {'g', 7, "Led37"},
    };
    TFormMain form;
    const QList<TZuBit*>& bits = form.Image().AllBits();
    QCOMPARE(bits.size(), qsizetype(std::size(expected)));
    int total = 0;
    for (TZuIO* point : form.Image().Points()) {
        const QList<TZuBit*> own = point->Bits.Snapshot();
        total += int(own.size());
        if (!own.isEmpty())
            QVERIFY(point->Type() == IOType::sByte);
        for (TZuBit* bit : own)
            QCOMPARE(bit->parent(), point);
    }
    QCOMPARE(total, 37);
    for (qsizetype i = 0; i < bits.size(); ++i) {
        TZuBit* bit = bits[i];
        const Expected& e = expected[i];
        QCOMPARE(static_cast<TZuIO*>(bit->parent())->MsgCode(), e.code);
        QCOMPARE(bit->Bit(), e.bit);
        QVERIFY(bit->Led());
        QCOMPARE(bit->Led()->objectName(), QString::fromLatin1(e.led));
        QCOMPARE(bit->ReadOnly, static_cast<TZuIO*>(bit->parent())->Direction() == IODir::In);
    }
    // The PortC bits in their order: Flakt (bit 2) before Wdog (bit 0).
    const QList<TZuBit*> portC = PointOf(form, 'e')->Bits.Snapshot();
    QCOMPARE(portC[0]->IOName(), QStringLiteral("Flakt"));
    QCOMPARE(portC[1]->IOName(), QStringLiteral("Wdog"));
}

void TestFormMain::lampColours_data() {
    QTest::addColumn<QString>("led");
    QTest::addColumn<uint>("onColor");
    QTest::addColumn<uint>("offColor");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("square");
    QTest::newRow("photo cell yellow") << "Led2" << uint(clYellow) << uint(clBtnFace) << 14 << true;
    QTest::newRow("photo time-out") << "Led1" << uint(clYellow) << uint(clBtnFace) << 14 << true;
    QTest::newRow("input green while off")
        << "Led3" << uint(clBtnFace) << uint(clLime) << 14 << true;
    QTest::newRow("interlock") << "Led9" << uint(clBtnFace) << uint(clLime) << 14 << true;
    QTest::newRow("output") << "Led13" << uint(clRed) << uint(clBtnFace) << 14 << true;
    QTest::newRow("alarm mask") << "Led37" << uint(clRed) << uint(clBtnFace) << 14 << true;
    QTest::newRow("connection") << "LedConnected" << uint(clLime) << uint(clBtnFace) << 10 << false;
}

void TestFormMain::lampColours() {
    QFETCH(QString, led);
    QFETCH(uint, onColor);
    QFETCH(uint, offColor);
    QFETCH(int, size);
    QFETCH(bool, square);
    TFormMain form;
    auto* lamp = form.findChild<TLed*>(led);
    QVERIFY(lamp);
    QCOMPARE(lamp->GetOnColor(), TColor(onColor));
    QCOMPARE(lamp->GetOffColor(), TColor(offColor));
    QCOMPARE(lamp->FillColor(), clBtnFace);
    QCOMPARE(lamp->Width(), size);
    QCOMPARE(lamp->Shape(), square ? TLed::TShapeType::stSquare : TLed::TShapeType::stCircle);
}

void TestFormMain::inputLampsIgnoreClicks() {
    TFormMain form;
    ChangeCounter counter(form);
    for (int n = 1; n <= 9; ++n) {
        auto* lamp = form.findChild<TLed*>(QStringLiteral("Led%1").arg(n));
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            QTest::mouseClick(lamp, button);
    }
    QCOMPARE(counter.changed, QByteArray());
    QCOMPARE(PointOf(form, 'C')->Value(), 0);
    QCOMPARE(PointOf(form, 'Z')->Value(), 0);
}

// Each row: lamp, button, value of its point before; value after, write frame.
void TestFormMain::outputLampClickPreparesWrite_data() {
    QTest::addColumn<QString>("led");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("Skruv on") << "Led13" << Qt::LeftButton << 0 << 8 << QByteArray(" WA08\r");
    QTest::newRow("lit alarm cleared")
        << "Led23" << Qt::RightButton << 0x0C << 0x08 << QByteArray(" Wf08\r");
    QTest::newRow("Fläkt on") << "Led20" << Qt::LeftButton << 1 << 5 << QByteArray(" We05\r");
    QTest::newRow("mask bit off") << "Led37" << Qt::MiddleButton << 0xFF << 0x7F
                                  << QByteArray(" Wg7F\r");
}

void TestFormMain::outputLampClickPreparesWrite() {
    QFETCH(QString, led);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QByteArray, frame);
    TFormMain form;
    ChangeCounter counter(form);
    auto* lamp = form.findChild<TLed*>(led);
    TZuBit* bit = nullptr;
    for (TZuBit* candidate : form.Image().AllBits())
        if (candidate->Led() == lamp)
            bit = candidate;
    QVERIFY(bit);
    auto* point = static_cast<TZuIO*>(bit->parent());
    point->UpdateWithNoEvent(before);
    QTest::mouseClick(lamp, button);
    QCOMPARE(point->Value(), after);
    QCOMPARE(counter.changed, QByteArray(1, point->MsgCode()));
    QCOMPARE(point->WriteMsg, frame);
    QVERIFY(point->WriteRequest);
}

void TestFormMain::typedTimeIsWrittenInRawUnits() {
    LocaleScope scope(SwedishLocale());
    TFormMain form;
    ChangeCounter counter(form);
    QLineEdit* edit = form.Form().Edit7;
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("10"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(PointOf(form, 'M')->Value(), 152);
    QCOMPARE(edit->text(), QStringLiteral("9,97"));
    QCOMPARE(counter.changed, QByteArray("M"));
    QCOMPARE(PointOf(form, 'M')->WriteMsg, QByteArray(" WM0098\r"));
}

void TestFormMain::olderVersionBoxRemovesAndReaddsIntegrator() {
    TFormMain form;
    TZuIO* integrator = PointOf(form, 'j');
    QCheckBox* box = form.Form().CheckBoxOverVer1_7;
    QVERIFY(!box->isChecked());
    QCOMPARE(box->text(), QString::fromUtf8("Kryssa i om version 1.06 eller lägre"));
    integrator->UpdateWithNoEvent(5);
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QVERIFY(!ListedPoints(form).contains(integrator));
    QCOMPARE(ListedPoints(form).size(), 43);
    form.IOList()->UnpackMsg("jFFF6");
    QCOMPARE(integrator->Value(), 5); // no longer decoded
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(ListedPoints(form).size(), 44);
    QCOMPARE(ListedPoints(form).last(), integrator);
    QByteArray codes;
    for (TZuIO* point : ListedPoints(form))
        codes += point->MsgCode();
    QCOMPARE(codes, kCodesInOrder);
}

void TestFormMain::startUpState() {
    TFormMain form;
    form.show();
    Ui::TFormMain& ui = form.Form();
    QCOMPARE(form.windowTitle(), QString::fromUtf8("Glodrik för Kolvo V1.01"));
    QCOMPARE(ui.PageControl1->currentWidget(), ui.TabSheet5);
    QCOMPARE(ui.PageControl1->tabText(0), QStringLiteral("Status"));
    QCOMPARE(ui.PageControl1->tabText(1), QStringLiteral("Temperatur/Matning"));
    QCOMPARE(ui.PageControl1->tabText(2), QStringLiteral("Sekvensdiagram"));
    QVERIFY(!ui.LedConnected->GetOn());
    QCOMPARE(ui.LedConnected->FillColor(), clBtnFace);
    QCOMPARE(ui.ButtonStart->text(), QStringLiteral("Anslut"));
    QCOMPARE(ui.Label98->text(), QStringLiteral("NoFrame"));
    QCOMPARE(ui.LabelFreq->text(), QStringLiteral("0 Hz"));
    QCOMPARE(ui.LabelFotoProcent->text(), QStringLiteral("0%"));
    for (QLineEdit* edit : form.findChildren<QLineEdit*>()) {
        const QString expected =
            edit == ui.EditIntegratorIntern ? QStringLiteral("0") : QStringLiteral("...");
        QCOMPARE(edit->text(), expected);
    }
    QVERIFY(!ui.GroupBox8->isVisibleTo(&form));
    QVERIFY(ui.EditPortB->isVisibleTo(ui.GroupBox8));
    QCOMPARE(form.Timer1->interval(), 1000);
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(!form.ComPort1->AutoOpen);
    QCOMPARE(form.ComPort1->ComNumber(), quint16(0));
    QVERIFY(!form.ComPort1->Open());
    QCOMPARE(form.OpenDialog1->Filter, QStringLiteral("Hexfiles (*.Hex)|*.Hex"));
    QCOMPARE(form.OpenDialog1->DefaultExt, QString());
    QCOMPARE(form.OpenDialog2->Filter, QStringLiteral("*.Log|*.Log|*Seq|*.Seq|AllFiles *.*|*.*"));
    QCOMPARE(form.OpenDialog2->DefaultExt, QStringLiteral("*.Log"));
    QCOMPARE(form.SaveDialog1->Filter, QStringLiteral("*.Log|*.Log|*.Seq|*.Seq|AllFiles *.*|*.*"));
    QCOMPARE(form.SaveDialog1->DefaultExt, QStringLiteral("*.txt"));
    QCOMPARE(ui.Fil1->title(), QStringLiteral("&Fil"));
    QCOMPARE(ui.Hjlp1->title(), QString::fromUtf8("&Hjälp"));
    QStringList items;
    for (QAction* action : ui.Fil1->actions() + ui.Hjlp1->actions())
        items << action->objectName() + u'=' + action->text();
    QCOMPARE(items, (QStringList{QStringLiteral("UppdateraStyrprogram1=&Uppdatera Styrprogram"),
                                 QStringLiteral("LaddaParametrar1=&Ladda Parametrar"),
                                 QStringLiteral("Avsluta1=&Avsluta"), QStringLiteral("Om1=Om"),
                                 QString::fromUtf8("Hjlp2=&Innehåll")}));
    QCOMPARE(ui.Hjlp2->statusTip(), QStringLiteral("Help Contents"));
    QVERIFY(!ui.Hjlp2->icon().isNull());
    QCOMPARE(ui.StatusBar1->currentMessage(), QString());
}

// Each row: box, read-only, enabled, colour of its face.
void TestFormMain::editBoxStates_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<uint>("colour");
    QTest::newRow("typed time") << "Edit7" << false << true << uint(clWindow);
    QTest::newRow("set point") << "EditTempSetpoint" << false << true << uint(clWindow);
    QTest::newRow("alarm temperature") << "EditLarmTemp" << false << true << uint(clWindow);
    QTest::newRow("temperature shown") << "EditTemperatur" << true << true << uint(clBtnFace);
    QTest::newRow("version") << "EditVersion" << true << true << uint(clBtnFace);
    QTest::newRow("alarm mask") << "EditLarmMask" << true << true << uint(clBtnFace);
    QTest::newRow("thermostat state") << "EditTermoState" << true << true << uint(clBtnFace);
    QTest::newRow("integrator, scroll-bar colour")
        << "EditIntegratorIntern" << true << true << uint(clSystemColor | 0);
    QTest::newRow("main state disabled") << "EditMainState" << true << false << uint(clBtnFace);
    QTest::newRow("timer disabled") << "EditTimer3" << true << false << uint(clBtnFace);
    QTest::newRow("debug port") << "EditPortE" << true << false << uint(clBtnFace);
}

void TestFormMain::editBoxStates() {
    QFETCH(QString, edit);
    QFETCH(bool, readOnly);
    QFETCH(bool, enabled);
    QFETCH(uint, colour);
    TFormMain form;
    auto* box = form.findChild<QLineEdit*>(edit);
    QVERIFY(box);
    QCOMPARE(box->isReadOnly(), readOnly);
    QCOMPARE(box->isEnabled(), enabled);
    const QPalette palette = box->palette();
    QCOMPARE(palette.color(QPalette::Active, QPalette::Base).rgb(),
             ColorToQColor(colour, QPalette()).rgb());
}

void TestFormMain::lampHintsReachTheStatusBar_data() {
    QTest::addColumn<QString>("led");
    QTest::addColumn<QString>("hint");
    QTest::newRow("photo cell") << "Led2"
                                << "Fotocellsignal innan filter";
    QTest::newRow("watch dog") << "Led25"
                               << QString::fromUtf8("Watch dog, övervakning av processorn.");
}

void TestFormMain::lampHintsReachTheStatusBar() {
    QFETCH(QString, led);
    QFETCH(QString, hint);
    TFormMain form;
    form.resize(1600, 1000);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* lamp = form.findChild<TLed*>(led);
    QTest::mouseMove(form.Form().ButtonStart);
    QTest::mouseMove(lamp);
    QTRY_COMPARE(form.Form().StatusBar1->currentMessage(), hint);
}

void TestFormMain::aboutBoxClosesOnEnter() {
    TFormMain form;
    TAboutBox about;
    form.AboutBox = &about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("ProductName"))->text(),
             QStringLiteral("Glodrik"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("Version"))->text(),
             QStringLiteral("Version 1.01"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->size(), QSize(107, 68));
    for (int round = 0; round < 2; ++round) {
        QWidget* shown = nullptr;
        OnModal([&](QWidget* modal) {
            shown = modal;
            QTRY_COMPARE(QApplication::focusWidget(),
                         modal->findChild<QWidget*>(QStringLiteral("OKButton")));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        form.Form().Om1->trigger();
        QCOMPARE(shown, &about); // the same box every time
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
}

void TestFormMain::quitClosesTheWindow() {
    TFormMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Form().Avsluta1->trigger();
    QVERIFY(!form.isVisible());
}

void TestFormMain::helpKeyOpensTopics_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("Logga box") << "CheckBoxLoggaTemp"
                               << "topic20";
    QTest::newRow("Radera button") << "ButtonRaderaTemp"
                                   << "topic21";
    QTest::newRow("other control") << "ButtonStart"
                                   << "contents";
}

void TestFormMain::helpKeyOpensTopics() {
    QFETCH(QString, control);
    QFETCH(QString, anchor);
    TFormMain form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.Form().PageControl1->setCurrentWidget(form.Form().TabSheet4);
    auto* widget = form.findChild<QWidget*>(control);
    widget->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    QTest::keyClick(widget, Qt::Key_F1);
    THelpWindow& help = form.HelpWindow();
    QTRY_VERIFY(help.isVisible());
    QCOMPARE(help.ShownAnchor(), anchor);
    const QString text = help.Browser()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Logga temperatur och matning")));
    QVERIFY(text.contains(QStringLiteral("Uppdatera styrprogrammet")));
    help.close();
}

void TestFormMain::smallWindowScrolls() {
    TFormMain form;
    form.resize(700, 450);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QScrollArea* page = form.Form().ScrollBox1;
    QTRY_VERIFY(page->verticalScrollBar()->isVisible());
    QVERIFY(page->horizontalScrollBar()->isVisible());
    // The last group can be scrolled into view.
    page->ensureWidgetVisible(form.Form().GroupBox9);
    QVERIFY(page->verticalScrollBar()->value() > 0);
}
