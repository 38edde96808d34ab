#include "tzuio.h"

#include "numbertext.h"
#include "tled.h"
#include "tzubit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

#include <cmath>
#include <cstdint>

namespace {

// The dynamic property of an edit box that names the point bound to it.
constexpr const char* kBoundPointProperty = "_glodrik_bound_point";

// Scales hold decimal fractions (0.065536) that a double can only approach.
// A product or quotient that lands within this relative distance of a whole
// number is that whole number, and is not pushed to the next one by the
// representation error.
constexpr long double kWholeTolerance = 1e-12L;

long double SnapToWhole(long double x) {
    const long double whole = std::nearbyint(x);
    const long double tolerance = kWholeTolerance * std::max<long double>(1.0L, std::fabs(x));
    return std::fabs(x - whole) <= tolerance ? whole : x;
}

int LowWordSigned(std::int64_t v) {
    return int(std::int16_t(std::uint16_t(v & 0xFFFF)));
}

} // namespace

TZuIO::TZuIO(QObject* Owner, const QString& Title, char MsgCode, IOType Type, IODir Direction,
             QLineEdit* Edit)
    : QObject(Owner), FTitle(Title), FMsgCode(MsgCode), FType(Type), FDirection(Direction),
      FEdit(Edit) {
    if (Edit) {
        if (auto* previous = Edit->property(kBoundPointProperty).value<QObject*>())
            Edit->removeEventFilter(previous);
        Edit->setProperty(kBoundPointProperty, QVariant::fromValue<QObject*>(this));
        Edit->installEventFilter(this);
    }
}

TZuIO::~TZuIO() {
    if (FEdit && FEdit->property(kBoundPointProperty).value<QObject*>() == this)
        FEdit->setProperty(kBoundPointProperty, QVariant());
    Bits.Clear();
}

double TZuIO::ScaleValue(int v) const {
    const long double product = SnapToWhole(static_cast<long double>(v) * Scale * 100.0L);
    return static_cast<double>(std::ceil(product) / 100.0L);
}

QString TZuIO::ShownText(int v) const {
    switch (FType) {
    case IOType::sByte:
    case IOType::sWord:
    case IOType::SignsWord: {
        const int shown = FType == IOType::SignsWord ? LowWordSigned(v) : v;
        if (Scale != 1.0)
            return FormatNumber(ScaleValue(shown));
        return QString::number(shown);
    }
    case IOType::sString:
        return TextValue;
    case IOType::sBit:
        break;
    }
    return QString();
}

std::optional<int> TZuIO::RawFromShown(double shown) const {
    const long double quotient = SnapToWhole(static_cast<long double>(shown) / Scale);
    const long double truncated = std::trunc(quotient);
    // Beyond 64 bits there is no integer to keep the low bits of.
    if (!std::isfinite(truncated) || std::fabs(truncated) >= 9.2e18L)
        return std::nullopt;
    const auto whole = static_cast<std::int64_t>(truncated);
    if (FType == IOType::SignsWord)
        return LowWordSigned(whole);
    // The value passed on is a 32-bit integer; SetValue keeps its low 16 bits.
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

void TZuIO::Show(int v) {
    if (!FEdit)
        return;
    if (FType == IOType::sBit)
        return;
    FEdit->setText(ShownText(v));
}

void TZuIO::DriveBits(int v, bool withEvents) {
    if (FType != IOType::sByte)
        return;
    TThreadList<TZuBit>::Locked bits(Bits);
    for (qsizetype i = 0; i < bits->size(); ++i) {
        TZuBit* bit = bits->at(i);
        const int number = bit->Bit();
        const bool set =
            number >= 0 && number < 32 && (std::uint32_t(v) & (std::uint32_t(1) << number)) != 0;
        if (withEvents)
            bit->SetValue(set ? 1 : 0);
        else
            bit->UpdateWithNoEvent(set ? 1 : 0);
    }
}

void TZuIO::SetValue(int v) {
    const int previous = FValue;
    FValue = v & 0xFFFF;
    if (FType != IOType::sString)
        Show(v);
    DriveBits(v, true);
    if (FValue != previous) {
        const TIOChangeEvent handler = OnIOChange;
        if (handler)
            handler(this);
    }
}

void TZuIO::UpdateWithNoEvent(int v) {
    FValue = v;
    Show(v);
    DriveBits(v, false);
}

void TZuIO::AddBit(TZuBit* bit) {
    if (!bit)
        return;
    if (TLed* led = bit->Led())
        led->OnMouseDown = [bit](QObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                 int Y) { bit->LedOnMouseDown(Sender, Button, Shift, X, Y); };
    bit->OnBitChange = [this](TZuBit* Sender, int Bit, int Value) {
        OnBitChange(Sender, Bit, Value);
    };
    if (FDirection == IODir::Out)
        bit->ReadOnly = false;
    Bits.Add(bit);
}

void TZuIO::OnBitChange(TZuBit*, int Bit, int Value) {
    if (Bit < 0 || Bit >= 32)
        return;
    const int mask = int(std::uint32_t(1) << Bit);
    const int value = Value != 0 ? (FValue | mask) : (FValue & ~mask);
    if (value != FValue)
        SetValue(value);
}

void TZuIO::EditKeyDown(QObject* Sender, int& Key, TShiftState) {
    if (Key == 13)
        EditExit(Sender);
}

void TZuIO::EditExit(QObject*) {
    if (FType != IOType::sByte && FType != IOType::sWord && FType != IOType::SignsWord)
        return;
    if (!FEdit)
        return;
    const std::optional<double> shown = ParseNumber(FEdit->text());
    const std::optional<int> raw = shown ? RawFromShown(*shown) : std::nullopt;
    if (!raw) {
        FEdit->undo();
        return;
    }
    SetValue(*raw);
}

bool TZuIO::eventFilter(QObject* watched, QEvent* event) {
    // A box being destroyed still sends events from its base destructor; it
    // is no edit box any more by then and is left alone.
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && edit == FEdit) {
        if (event->type() == QEvent::FocusOut) {
            // Leaving the box for another control; a menu, a popup or another
            // window taking the focus does not count as leaving it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::MenuBarFocusReason)
                EditExit(watched);
        } else if (event->type() == QEvent::KeyPress) {
            auto* keyEvent = static_cast<QKeyEvent*>(event);
            const bool enter =
                keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter;
            int key = enter ? 13 : keyEvent->key();
            EditKeyDown(watched, key, ShiftStateOf(*keyEvent));
        }
    }
    return QObject::eventFilter(watched, event);
}
