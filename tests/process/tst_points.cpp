#include "tst_points.h"

#include "testsupport.h"
#include "tled.h"
#include "tzubit.h"
#include "tzuio.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

Q_DECLARE_METATYPE(IOType)
Q_DECLARE_METATYPE(IODir)

namespace {

// A point on a window with its edit box, a second box to move the focus to,
// and optionally eight bits with lamps. Counts the change events.
struct PointFixture {
    explicit PointFixture(IOType type, double scale = 1.0, IODir direction = IODir::In,
                          bool withBits = false) {
        edit = new QLineEdit(&window);
        other = new QLineEdit(&window);
        other->move(0, 40);
        edit->setText(QStringLiteral("..."));
        point = new TZuIO(&window, QStringLiteral("Punkt"), 'P', type, direction, edit);
        point->Scale = scale;
        point->OnIOChange = [this](TZuIO* sender) {
            ++changes;
            lastSender = sender;
        };
        if (withBits) {
            for (int n = 0; n < 8; ++n) {
                auto* led = new TLed(&window);
                led->move(20 * n, 80);
                auto* bit = new TZuBit(point, QStringLiteral("Bit%1").arg(n), n);
                bit->SetLed(led);
                point->AddBit(bit);
                // Count the bit's events on the way to the point.
                const TZuBit::TBitChangeEvent toPoint = bit->OnBitChange;
                bit->OnBitChange = [this, toPoint](TZuBit* s, int b, int v) {
                    ++bitChanges;
                    toPoint(s, b, v);
                };
                leds.append(led);
                bits.append(bit);
            }
        }
    }

    // Types over the whole box and presses `key`.
    void Type(const QString& text, Qt::Key key = Qt::Key_Return) {
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
        QTest::keyClick(edit, key);
    }

    QWidget window;
    QLineEdit* edit;
    QLineEdit* other;
    TZuIO* point;
    QList<TLed*> leds;
    QList<TZuBit*> bits;
    int changes = 0;
    int bitChanges = 0;
    TZuIO* lastSender = nullptr;
};

} // namespace

// Each row: type, scale, value before, argument; stored value, shown text, events.
void TestPoints::setValue_data() {
    QTest::addColumn<IOType>("type");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("argument");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("events");

    QTest::newRow("word change") << IOType::sWord << 1.0 << 0 << 5 << 5 << "5" << 1;
    QTest::newRow("same value rewrites, no event")
        << IOType::sWord << 1.0 << 5 << 5 << 5 << "5" << 0;
    QTest::newRow("word -1 stores 65535 shows -1")
        << IOType::sWord << 1.0 << 0 << -1 << 65535 << "-1" << 1;
    QTest::newRow("low 16 bits kept, argument shown")
        << IOType::sWord << 1.0 << 0 << 70000 << 4464 << "70000" << 1;
    QTest::newRow("same low bits, no event")
        << IOType::sWord << 1.0 << 4464 << 70000 << 4464 << "70000" << 0;
    QTest::newRow("byte has no range check")
        << IOType::sByte << 1.0 << 0 << 300 << 300 << "300" << 1;
    QTest::newRow("signed word 65535 shows -1")
        << IOType::SignsWord << 1.0 << 0 << 65535 << 65535 << "-1" << 1;
    QTest::newRow("signed word -10") << IOType::SignsWord << 1.0 << 0 << -10 << 65526 << "-10" << 1;
    QTest::newRow("signed word 32767")
        << IOType::SignsWord << 1.0 << 0 << 32767 << 32767 << "32767" << 1;
    QTest::newRow("signed word 32768")
        << IOType::SignsWord << 1.0 << 0 << 32768 << 32768 << "-32768" << 1;
    QTest::newRow("scaled 46") << IOType::sWord << 0.065536 << 0 << 46 << 46 << "3,02" << 1;
    QTest::newRow("scaled 45") << IOType::sWord << 0.065536 << 0 << 45 << 45 << "2,95" << 1;
    QTest::newRow("scaled 0") << IOType::sWord << 0.065536 << 7 << 0 << 0 << "0" << 1;
    QTest::newRow("scaled 152") << IOType::sWord << 0.065536 << 0 << 152 << 152 << "9,97" << 1;
    QTest::newRow("scaled 65535") << IOType::sWord << 0.065536 << 0 << 65535 << 65535 << "4294,91"
                                  << 1;
}

void TestPoints::setValue() {
    QFETCH(IOType, type);
    QFETCH(double, scale);
    QFETCH(int, before);
    QFETCH(int, argument);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    QFETCH(int, events);

    LocaleScope locale(SwedishLocale());
    PointFixture f(type, scale);
    f.point->UpdateWithNoEvent(before);
    f.edit->setText(QStringLiteral("old"));
    f.point->SetValue(argument);
    QCOMPARE(f.point->Value(), stored);
    QCOMPARE(f.edit->text(), shown);
    QCOMPARE(f.changes, events);
    if (events)
        QCOMPARE(f.lastSender, f.point);
}

void TestPoints::updateWithNoEventRaisesNothing() {
    LocaleScope locale(SwedishLocale());
    PointFixture f(IOType::sByte, 1.0, IODir::Out, true);
    f.point->UpdateWithNoEvent(0x5A);
    QCOMPARE(f.point->Value(), 0x5A);
    QCOMPARE(f.edit->text(), QStringLiteral("90"));
    f.point->UpdateWithNoEvent(70000); // stored as it is, not reduced
    QCOMPARE(f.point->Value(), 70000);
    QCOMPARE(f.edit->text(), QStringLiteral("70000"));
    f.point->UpdateWithNoEvent(0);
    QCOMPARE(f.changes, 0);
    QCOMPARE(f.bitChanges, 0);
    QCOMPARE(f.point->WriteRequest, false);
}

// The rounding up to hundredths, including scales that a double cannot hold
// exactly: a product that is a whole number of hundredths stays that number.
void TestPoints::scaleValue_data() {
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("raw");
    QTest::addColumn<double>("scaled");

    QTest::newRow("46 x 0.065536") << 0.065536 << 46 << 3.02;
    QTest::newRow("45 x 0.065536") << 0.065536 << 45 << 2.95;
    QTest::newRow("625 x 0.065536 is exactly 40.96") << 0.065536 << 625 << 40.96;
    QTest::newRow("3 x 0.1 is exactly 0.3") << 0.1 << 3 << 0.3;
    QTest::newRow("7 x 0.01 is exactly 0.07") << 0.01 << 7 << 0.07;
    QTest::newRow("1 x 0.001 rounds up") << 0.001 << 1 << 0.01;
    QTest::newRow("negative rounds toward plus") << 0.065536 << -46 << -3.01;
    QTest::newRow("unscaled") << 1.0 << 123 << 123.0;
}

void TestPoints::scaleValue() {
    QFETCH(double, scale);
    QFETCH(int, raw);
    QFETCH(double, scaled);
    TZuIO point(nullptr, QStringLiteral("P"), 'P', IOType::sWord, IODir::In, nullptr);
    point.Scale = scale;
    QCOMPARE(point.ScaleValue(raw), scaled);
}

// Each row: locale, type, scale, typed text; stored value, shown text and
// events after Enter, starting from the value 7. A refused text brings back
// the text from before the edit.
void TestPoints::typedValues_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<IOType>("type");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("events");

    const IOType byte = IOType::sByte, word = IOType::sWord, sword = IOType::SignsWord;
    QTest::newRow("12,7 truncates to 12") << "sv" << byte << 1.0 << "12,7" << 12 << "12" << 1;
    QTest::newRow("point locale 12.7") << "en" << byte << 1.0 << "12.7" << 12 << "12" << 1;
    QTest::newRow("point in comma locale refused")
        << "sv" << byte << 1.0 << "12.7" << 7 << "7" << 0;
    QTest::newRow("comma in point locale refused")
        << "en" << byte << 1.0 << "12,7" << 7 << "7" << 0;
    QTest::newRow("scaled 3 stores 45") << "sv" << word << 0.065536 << "3" << 45 << "2,95" << 1;
    QTest::newRow("scaled 10 stores 152") << "sv" << word << 0.065536 << "10" << 152 << "9,97" << 1;
    QTest::newRow("scaled 40,96 stores 625")
        << "sv" << word << 0.065536 << "40,96" << 625 << "40,96" << 1;
    QTest::newRow("0,3 at scale 0,1 stores 3") << "sv" << word << 0.1 << "0,3" << 3 << "0,3" << 1;
    QTest::newRow("point locale scaled")
        << "en" << word << 0.065536 << "9.97" << 152 << "9.97" << 1;
    QTest::newRow("word -1") << "sv" << word << 1.0 << "-1" << 65535 << "-1" << 1;
    QTest::newRow("signed -10") << "sv" << sword << 1.0 << "-10" << 65526 << "-10" << 1;
    QTest::newRow("signed 40000 wraps")
        << "sv" << sword << 1.0 << "40000" << 40000 << "-25536" << 1;
    QTest::newRow("no range check") << "sv" << word << 1.0 << "70000" << 4464 << "70000" << 1;
    QTest::newRow("negative fraction to zero") << "sv" << word << 1.0 << "-0,9" << 0 << "0" << 1;
    QTest::newRow("exponent") << "sv" << word << 1.0 << "1E3" << 1000 << "1000" << 1;
    QTest::newRow("blanks around") << "sv" << word << 1.0 << " 12 " << 12 << "12" << 1;
    QTest::newRow("same value, no event") << "sv" << word << 1.0 << "7" << 7 << "7" << 0;
    QTest::newRow("letters undone") << "sv" << word << 1.0 << "abc" << 7 << "7" << 0;
    QTest::newRow("trailing letters undone") << "sv" << word << 1.0 << "12x" << 7 << "7" << 0;
    QTest::newRow("blank inside undone") << "sv" << word << 1.0 << "1 2" << 7 << "7" << 0;
    QTest::newRow("empty undone") << "sv" << word << 1.0 << "" << 7 << "7" << 0;
    QTest::newRow("beyond any integer undone") << "sv" << word << 1.0 << "1E30" << 7 << "7" << 0;
}

void TestPoints::typedValues() {
    QFETCH(QString, locale);
    QFETCH(IOType, type);
    QFETCH(double, scale);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    QFETCH(int, events);

    LocaleScope scope(LocaleNamed(locale));
    PointFixture f(type, scale);
    f.point->UpdateWithNoEvent(7);
    f.Type(typed);
    QCOMPARE(f.point->Value(), stored);
    QCOMPARE(f.edit->text(), shown);
    QCOMPARE(f.changes, events);
}

void TestPoints::enterAndReturnBothConvert() {
    LocaleScope scope(SwedishLocale());
    PointFixture f(IOType::sWord);
    f.Type(QStringLiteral("12"), Qt::Key_Enter);
    QCOMPARE(f.point->Value(), 12);
    f.Type(QStringLiteral("13"), Qt::Key_Return);
    QCOMPARE(f.point->Value(), 13);
    f.Type(QStringLiteral("14"), Qt::Key_Tab); // another key converts nothing
    QCOMPARE(f.point->Value(), 13);
    QCOMPARE(f.changes, 2);
}

void TestPoints::enterThenLeavingWritesOnce() {
    LocaleScope scope(SwedishLocale());
    PointFixture f(IOType::sWord, 0.065536);
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.edit->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(f.edit->hasFocus());

    f.Type(QStringLiteral("10"));
    QCOMPARE(f.point->Value(), 152);
    QCOMPARE(f.edit->text(), QStringLiteral("9,97"));
    f.other->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(f.other->hasFocus());
    QCOMPARE(f.point->Value(), 152);
    QCOMPARE(f.changes, 1);

    // Leaving the box after typing converts as Enter does.
    f.edit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(f.edit->hasFocus());
    f.edit->selectAll();
    QTest::keyClicks(f.edit, QStringLiteral("3"));
    f.other->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(f.other->hasFocus());
    QCOMPARE(f.point->Value(), 45);
    QCOMPARE(f.changes, 2);
}

void TestPoints::shownScaledValuesReadBackUnchanged_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("Swedish") << "sv";
    QTest::newRow("point") << "en";
}

// Leaving a box unchanged must never write: every raw value, shown and read
// back through the box, gives itself again.
void TestPoints::shownScaledValuesReadBackUnchanged() {
    QFETCH(QString, locale);
    LocaleScope scope(LocaleNamed(locale));
    PointFixture f(IOType::sWord, 0.065536);
    for (int raw = 0; raw <= 65535; ++raw) {
        f.point->UpdateWithNoEvent(raw);
        f.point->EditExit(f.edit);
        if (f.point->Value() != raw || f.changes != 0)
            QFAIL(qPrintable(QStringLiteral("raw %1 shown as %2 read back as %3")
                                 .arg(raw)
                                 .arg(f.edit->text())
                                 .arg(f.point->Value())));
    }
}

void TestPoints::textAndBitPointsIgnoreTheBox() {
    for (IOType type : {IOType::sString, IOType::sBit}) {
        PointFixture f(type);
        f.point->SetValue(42);
        QCOMPARE(f.edit->text(), QStringLiteral("..."));
        QCOMPARE(f.point->Value(), 42);
        QCOMPARE(f.changes, 1);
        f.Type(QStringLiteral("7"));
        QCOMPARE(f.point->Value(), 42); // EditExit does nothing
        QCOMPARE(f.changes, 1);
    }
    PointFixture text(IOType::sString);
    text.point->TextValue = QStringLiteral("V1.07");
    text.point->UpdateWithNoEvent(0);
    QCOMPARE(text.edit->text(), QStringLiteral("V1.07"));
}

// Each row: direction, value before, bit clicked, button; value after, events.
void TestPoints::lampClicks_data() {
    QTest::addColumn<IODir>("direction");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("bit");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("events");

    QTest::newRow("left on bit 2 of 1 gives 5") << IODir::Out << 1 << 2 << Qt::LeftButton << 5 << 1;
    QTest::newRow("left on a set bit does nothing")
        << IODir::Out << 1 << 0 << Qt::LeftButton << 1 << 0;
    QTest::newRow("right on a clear bit does nothing")
        << IODir::Out << 1 << 3 << Qt::RightButton << 1 << 0;
    QTest::newRow("right clears") << IODir::Out << 0x88 << 3 << Qt::RightButton << 0x80 << 1;
    QTest::newRow("middle clears") << IODir::Out << 0x88 << 7 << Qt::MiddleButton << 0x08 << 1;
    QTest::newRow("skruv: left on bit 3 of 0 gives 8")
        << IODir::Out << 0 << 3 << Qt::LeftButton << 8 << 1;
    QTest::newRow("In point, left") << IODir::In << 0 << 2 << Qt::LeftButton << 0 << 0;
    QTest::newRow("In point, right") << IODir::In << 0xFF << 2 << Qt::RightButton << 0xFF << 0;
    QTest::newRow("In point, middle") << IODir::In << 0xFF << 0 << Qt::MiddleButton << 0xFF << 0;
}

void TestPoints::lampClicks() {
    QFETCH(IODir, direction);
    QFETCH(int, before);
    QFETCH(int, bit);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, after);
    QFETCH(int, events);

    PointFixture f(IOType::sByte, 1.0, direction, true);
    f.point->UpdateWithNoEvent(before);
    QTest::mouseClick(f.leds[bit], button);
    QCOMPARE(f.point->Value(), after);
    QCOMPARE(f.changes, events);
    QCOMPARE(f.edit->text(), QString::number(after));
    for (int n = 0; n < 8; ++n) {
        QCOMPARE(f.bits[n]->Value(), (after >> n) & 1);
        QCOMPARE(f.leds[n]->GetOn(), ((after >> n) & 1) != 0);
    }
}

void TestPoints::bitsFollowByteValue() {
    PointFixture f(IOType::sByte, 1.0, IODir::In, true);
    auto* bare = new TZuBit(f.point, QStringLiteral("UtanLampa"), 9); // no lamp
    f.point->AddBit(bare);
    f.point->SetValue(0x25A);
    QCOMPARE(f.point->Value(), 0x25A);
    const int expected[] = {0, 1, 0, 1, 1, 0, 1, 0};
    for (int n = 0; n < 8; ++n)
        QCOMPARE(f.bits[n]->Value(), expected[n]);
    QCOMPARE(bare->Value(), 1);
    QCOMPARE(f.changes, 1); // the bits' own events find the value in place
    QCOMPARE(f.leds[1]->FillColor(), clRed);
    QCOMPARE(f.leds[0]->FillColor(), clBtnFace);
    f.point->UpdateWithNoEvent(0);
    QCOMPARE(bare->Value(), 0);
}

void TestPoints::bitsOfOtherTypesAreNotDriven() {
    PointFixture f(IOType::sWord, 1.0, IODir::Out);
    auto* bit = new TZuBit(f.point, QStringLiteral("B"), 0);
    f.point->AddBit(bit);
    f.point->SetValue(1);
    f.point->UpdateWithNoEvent(3);
    QCOMPARE(bit->Value(), 0);
}

void TestPoints::addBitOnceAndBindsReadOnlyLamps() {
    PointFixture f(IOType::sByte, 1.0, IODir::In);
    auto* led = new TLed(&f.window);
    auto* bit = new TZuBit(f.point, QStringLiteral("B"), 1);
    QCOMPARE(bit->ReadOnly, true);
    bit->SetLed(led);
    f.point->AddBit(bit);
    f.point->AddBit(bit);
    QCOMPARE(f.point->Bits.Count(), 1);
    QVERIFY(bool(led->OnMouseDown)); // bound although the bit is read-only
    QCOMPARE(bit->ReadOnly, true);

    PointFixture out(IOType::sByte, 1.0, IODir::Out);
    auto* outBit = new TZuBit(out.point, QStringLiteral("B"), 1);
    out.point->AddBit(outBit);
    QCOMPARE(outBit->ReadOnly, false);
}

void TestPoints::laterPointTakesOverTheBox() {
    LocaleScope scope(SwedishLocale());
    PointFixture f(IOType::sWord);
    int secondChanges = 0;
    TZuIO second(nullptr, QStringLiteral("Andra"), 'Q', IOType::sWord, IODir::In, f.edit);
    second.OnIOChange = [&](TZuIO*) { ++secondChanges; };
    f.Type(QStringLiteral("21"));
    QCOMPARE(second.Value(), 21);
    QCOMPARE(secondChanges, 1);
    QCOMPARE(f.point->Value(), 0);
    QCOMPARE(f.changes, 0);
}
