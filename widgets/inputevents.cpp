#include "inputevents.h"

#include <QMouseEvent>

TShiftState ShiftStateOf(const QInputEvent& event) {
    TShiftState shift;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        shift |= TShiftStateFlag::ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= TShiftStateFlag::ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= TShiftStateFlag::ssCtrl;
    if (const auto* mouse = dynamic_cast<const QMouseEvent*>(&event)) {
        const Qt::MouseButtons buttons = mouse->buttons();
        if (buttons & Qt::LeftButton)
            shift |= TShiftStateFlag::ssLeft;
        if (buttons & Qt::RightButton)
            shift |= TShiftStateFlag::ssRight;
        if (buttons & Qt::MiddleButton)
            shift |= TShiftStateFlag::ssMiddle;
        if (mouse->type() == QEvent::MouseButtonDblClick)
            shift |= TShiftStateFlag::ssDouble;
    }
    return shift;
}
