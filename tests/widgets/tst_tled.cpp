#include "tst_tled.h"

#include "tled.h"

#include <QImage>
#include <QTest>

#include <optional>

using Shape = TLed::TShapeType;

namespace {

QImage Render(TLed& led) {
    return led.grab().toImage();
}

bool SameRgb(QColor a, QColor b) {
    return a.rgb() == b.rgb();
}

} // namespace

void TestLed::newLampDefaults() {
    TLed led;
    QCOMPARE(led.Shape(), Shape::stCircle);
    QCOMPARE(led.Width(), 10);
    QCOMPARE(led.Height(), 10);
    QCOMPARE(led.size(), QSize(10, 10));
    QCOMPARE(led.GetOn(), false);
    QCOMPARE(led.GetOnColor(), clRed);
    QCOMPARE(led.GetOffColor(), clBtnFace);
    QCOMPARE(led.FillColor(), clBtnFace);
    QVERIFY(SameRgb(led.PaintedFillColor(), led.palette().color(QPalette::Button)));
}

// Each row: the lamp's colours, the states given in order, the fill colour after.
void TestLed::switchingSetsFillColour_data() {
    QTest::addColumn<uint>("onColor");
    QTest::addColumn<uint>("offColor");
    QTest::addColumn<QList<bool>>("states");
    QTest::addColumn<uint>("fill");

    QTest::newRow("on with face/lime is face")
        << uint(clBtnFace) << uint(clLime) << QList<bool>{true} << uint(clBtnFace);
    QTest::newRow("then off is lime")
        << uint(clBtnFace) << uint(clLime) << QList<bool>{true, false} << uint(clLime);
    QTest::newRow("off while already off sets OffColor")
        << uint(clRed) << uint(clLime) << QList<bool>{false} << uint(clLime);
    QTest::newRow("on twice stays on colour")
        << uint(clYellow) << uint(clBtnFace) << QList<bool>{true, true} << uint(clYellow);
    QTest::newRow("red lamp off again")
        << uint(clRed) << uint(clBtnFace) << QList<bool>{true, false} << uint(clBtnFace);
}

void TestLed::switchingSetsFillColour() {
    QFETCH(uint, onColor);
    QFETCH(uint, offColor);
    QFETCH(QList<bool>, states);
    QFETCH(uint, fill);

    TLed led;
    led.SetOnColor(onColor);
    led.SetOffColor(offColor);
    QCOMPARE(led.FillColor(), clBtnFace); // colours alone do not repaint
    for (bool state : states)
        led.SetOn(state);
    QCOMPARE(led.GetOn(), states.last());
    QCOMPARE(led.FillColor(), TColor(fill));
}

void TestLed::colourChangeShowsAtNextSwitch() {
    TLed led;
    led.SetOn(true);
    QCOMPARE(led.FillColor(), clRed);
    led.SetOnColor(clYellow);
    QCOMPARE(led.FillColor(), clRed);
    led.LOn();
    QCOMPARE(led.FillColor(), clYellow);
    led.SetOffColor(clLime);
    QCOMPARE(led.FillColor(), clYellow);
    led.LOff();
    QCOMPARE(led.FillColor(), clLime);
    QCOMPARE(led.GetOn(), true); // LOn and LOff paint only; the state stays
}

void TestLed::colourValues_data() {
    QTest::addColumn<uint>("color");
    QTest::addColumn<QColor>("rgb");
    QTest::newRow("clRed") << uint(clRed) << QColor(255, 0, 0);
    QTest::newRow("clLime") << uint(clLime) << QColor(0, 255, 0);
    QTest::newRow("clYellow") << uint(clYellow) << QColor(255, 255, 0);
    QTest::newRow("red in the lowest byte") << uint(0x123456) << QColor(0x56, 0x34, 0x12);
    QTest::newRow("clSilver") << uint(clSilver) << QColor(192, 192, 192);
}

void TestLed::colourValues() {
    QFETCH(uint, color);
    QFETCH(QColor, rgb);
    QCOMPARE(clRed, TColor(0xFF));
    QCOMPARE(clLime, TColor(0xFF00));
    QCOMPARE(clYellow, TColor(0xFFFF));
    QCOMPARE(clBtnFace, TColor(0x8000000F));
    QVERIFY(SameRgb(ColorToQColor(color, QPalette()), rgb));
}

void TestLed::systemColourFollowsPalette() {
    TLed led;
    QPalette palette = led.palette();
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    led.setPalette(palette);
    QVERIFY(SameRgb(led.PaintedFillColor(), QColor(10, 20, 30)));
    QCOMPARE(Render(led).pixelColor(5, 5).rgb(), QColor(10, 20, 30).rgb());
}

// Each row: figure, control size, a pixel and what it must show there
// (fill, outline, or neither for a pixel outside the figure).
void TestLed::paintsFigure_data() {
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QString>("expected");

    QTest::newRow("circle centre") << Shape::stCircle << QSize(10, 10) << QPoint(5, 5) << "fill";
    QTest::newRow("circle top edge")
        << Shape::stCircle << QSize(10, 10) << QPoint(5, 0) << "outline";
    QTest::newRow("circle corner outside")
        << Shape::stCircle << QSize(10, 10) << QPoint(0, 0) << "outside";
    QTest::newRow("square corner") << Shape::stSquare << QSize(14, 14) << QPoint(0, 0) << "outline";
    QTest::newRow("square far corner")
        << Shape::stSquare << QSize(14, 14) << QPoint(13, 13) << "outline";
    QTest::newRow("square inside corner")
        << Shape::stSquare << QSize(14, 14) << QPoint(1, 1) << "fill";
    QTest::newRow("wide circle centred, left outside")
        << Shape::stCircle << QSize(30, 10) << QPoint(3, 5) << "outside";
    QTest::newRow("wide circle centred, middle filled")
        << Shape::stCircle << QSize(30, 10) << QPoint(15, 5) << "fill";
    QTest::newRow("wide square centred, left edge")
        << Shape::stSquare << QSize(30, 10) << QPoint(10, 5) << "outline";
    QTest::newRow("rectangle uses the whole control")
        << Shape::stRectangle << QSize(30, 10) << QPoint(0, 5) << "outline";
}

void TestLed::paintsFigure() {
    QFETCH(Shape, shape);
    QFETCH(QSize, size);
    QFETCH(QPoint, pixel);
    QFETCH(QString, expected);

    TLed led;
    led.SetShape(shape);
    led.SetWidth(size.width());
    led.SetHeight(size.height());
    led.SetOnColor(clLime);
    led.SetOn(true);
    QPalette palette = led.palette();
    palette.setColor(QPalette::Window, QColor(200, 100, 200));
    led.setPalette(palette);
    led.setAutoFillBackground(true);

    const QColor color = Render(led).pixelColor(pixel);
    if (expected == "fill")
        QCOMPARE(color.rgb(), QColor(0, 255, 0).rgb());
    else if (expected == "outline")
        QVERIFY2(color.lightness() < 100, qPrintable(color.name()));
    else
        QCOMPARE(color.rgb(), QColor(200, 100, 200).rgb());
}

void TestLed::mouseDown_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<TMouseButton>("expectedButton");
    QTest::addColumn<TShiftState>("expectedShift");

    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << TMouseButton::mbLeft
                          << TShiftState(TShiftStateFlag::ssLeft);
    QTest::newRow("right with shift")
        << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << TMouseButton::mbRight
        << (TShiftStateFlag::ssRight | TShiftStateFlag::ssShift);
    QTest::newRow("middle with ctrl and alt")
        << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier)
        << TMouseButton::mbMiddle
        << (TShiftStateFlag::ssMiddle | TShiftStateFlag::ssCtrl | TShiftStateFlag::ssAlt);
}

void TestLed::mouseDown() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(TMouseButton, expectedButton);
    QFETCH(TShiftState, expectedShift);

    TLed led;
    int calls = 0;
    QObject* sender = nullptr;
    std::optional<TMouseButton> seenButton;
    TShiftState seenShift;
    QPoint seenPos;
    led.OnMouseDown = [&](QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        ++calls;
        sender = Sender;
        seenButton = Button;
        seenShift = Shift;
        seenPos = QPoint(X, Y);
    };
    QTest::mousePress(&led, button, modifiers, QPoint(3, 7));
    QCOMPARE(calls, 1);
    QCOMPARE(sender, &led);
    QVERIFY(seenButton == expectedButton);
    QCOMPARE(seenShift, expectedShift);
    QCOMPARE(seenPos, QPoint(3, 7));
    QTest::mouseRelease(&led, button, modifiers, QPoint(3, 7));
    QCOMPARE(calls, 1); // release raises nothing
}

void TestLed::otherButtonsRaiseNothing() {
    TLed led;
    int calls = 0;
    led.OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++calls; };
    QTest::mousePress(&led, Qt::BackButton, {}, QPoint(5, 5));
    QTest::mousePress(&led, Qt::ForwardButton, {}, QPoint(5, 5));
    QCOMPARE(calls, 0);
}
