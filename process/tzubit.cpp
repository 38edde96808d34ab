#include "tzubit.h"

#include "tled.h"

TZuBit::TZuBit(QObject* Owner, const QString& IOName, int Bit)
    : QObject(Owner), FIOName(IOName), FBit(Bit) {}

bool TZuBit::Store(int state) {
    if (state == FValue)
        return false;
    FValue = state;
    if (FLed)
        FLed->SetOn(state != 0);
    return true;
}

void TZuBit::SetValue(int state) {
    if (!Store(state))
        return;
    const TBitChangeEvent handler = OnBitChange;
    if (handler)
        handler(this, FBit, state);
}

void TZuBit::UpdateWithNoEvent(int state) {
    Store(state);
}

void TZuBit::LedOnMouseDown(QObject*, TMouseButton Button, TShiftState, int, int) {
    if (ReadOnly)
        return;
    SetValue(Button == TMouseButton::mbLeft ? 1 : 0);
}
