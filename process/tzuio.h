#pragma once

#include "inputevents.h"
#include "iotypes.h"
#include "threadlist.h"

#include <QByteArray>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class TZuBit;

// The local copy of one controller value, named by its code character.
// SetValue is a local change and raises OnIOChange when the stored value
// changed; UpdateWithNoEvent is a change from the controller and raises
// nothing, so a reply never causes a write.
class TZuIO : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(double Scale MEMBER Scale)
    Q_PROPERTY(char MsgCode READ MsgCode)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(bool AutoScan MEMBER AutoScan)
    Q_PROPERTY(bool UpdateRequest MEMBER UpdateRequest)
    Q_PROPERTY(QString TextValue MEMBER TextValue)

public:
    using TIOChangeEvent = std::function<void(TZuIO* Sender)>;

    // With an edit box, binds the box's exit and key-down events to the
    // point, replacing the binding of any point that had the box before.
    TZuIO(QObject* Owner, const QString& Title, char MsgCode, IOType Type, IODir Direction,
          QLineEdit* Edit);
    ~TZuIO() override;

    int Value() const { return FValue; }
    char MsgCode() const { return FMsgCode; }
    IODir Direction() const { return FDirection; }
    IOType Type() const { return FType; }
    const QString& Title() const { return FTitle; }
    QLineEdit* Edit() const { return FEdit; }

    // Local change: stores the low 16 bits, shows the argument, drives the
    // bits of a byte point, raises OnIOChange when the stored value changed.
    void SetValue(int v);
    // Change from the controller: stores v as it is and shows it; no event.
    void UpdateWithNoEvent(int v);

    // The shown number of a raw value: v x Scale rounded up to hundredths.
    double ScaleValue(int v) const;
    // The text the edit box shows for v (the type's rules; TextValue for text).
    QString ShownText(int v) const;
    // The raw value a shown or typed number stands for, before SetValue; none
    // when the number is too large to be a value at all.
    std::optional<int> RawFromShown(double shown) const;

    void AddBit(TZuBit* bit);
    // Bound to each bit's OnBitChange: a bit switched by a click becomes the
    // point's new value.
    void OnBitChange(TZuBit* Sender, int Bit, int Value);

    // Key 13 (Enter or Return) runs EditExit; other keys are not handled.
    void EditKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    // Converts the box's text into the point's value; text that is not a
    // number is undone in the box, and nothing else happens.
    void EditExit(QObject* Sender);

    double Scale = 1.0;
    bool AutoScan = false;
    bool UpdateRequest = true;
    QString TextValue;
    TIOChangeEvent OnIOChange;

    // The pending write: the request frame and whether it is still to be sent.
    QByteArray WriteMsg;
    bool WriteRequest = false;

    TThreadList<TZuBit> Bits;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(int v);
    void DriveBits(int v, bool withEvents);

    int FValue = 0;
    QString FTitle;
    char FMsgCode;
    IOType FType;
    IODir FDirection;
    QPointer<QLineEdit> FEdit;
};
