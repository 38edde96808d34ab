#pragma once

#include "inputevents.h"
#include "tled.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

// One bit of a byte point, shown by one lamp. Owned by its point.
class TZuBit : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString IOName READ IOName)
    Q_PROPERTY(int Bit READ Bit)
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(bool ReadOnly MEMBER ReadOnly)
    Q_PROPERTY(bool Inverted MEMBER Inverted)

public:
    using TBitChangeEvent = std::function<void(TZuBit* Sender, int Bit, int Value)>;

    TZuBit(QObject* Owner, const QString& IOName, int Bit);

    const QString& IOName() const { return FIOName; }
    int Bit() const { return FBit; }
    int Value() const { return FValue; }

    // A change of state switches the lamp and raises OnBitChange.
    void SetValue(int state);
    // The same without the event: for states that come from the controller.
    void UpdateWithNoEvent(int state);

    // Bound to the lamp's mouse-down event by the point's AddBit.
    void LedOnMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    TLed* Led() const { return FLed; }
    void SetLed(TLed* led) { FLed = led; }

    // true: clicks on the lamp do nothing; AddBit clears it for Out points.
    bool ReadOnly = true;
    // Not consulted: inverted meanings are expressed by the lamp colours.
    bool Inverted = false;
    TBitChangeEvent OnBitChange;

private:
    bool Store(int state);

    QString FIOName;
    int FBit;
    int FValue = 0;
    QPointer<TLed> FLed;
};
