#pragma once

#include <QFlags>
#include <QObject>

#include <functional>

class QInputEvent;
class QMouseEvent;

// The mouse button of a mouse-down event. Only these three raise one.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held at the time of a mouse or key event.
enum class TShiftStateFlag {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

// Mouse-down handler: Sender, button, shift state, position in the control.
using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// Shift state of a Qt input event (modifiers, and the buttons held for a
// mouse event).
TShiftState ShiftStateOf(const QInputEvent& event);
