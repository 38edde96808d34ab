#include "tzuiolist.h"

#include "ansitext.h"

namespace {

constexpr qsizetype kMaxHexDigits = 4;

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<int> HexWord(QByteArrayView digits) {
    if (digits.isEmpty() || digits.size() > kMaxHexDigits)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

TZuIOList::TZuIOList(QObject* Owner) : QObject(Owner) {}

TZuIOList::~TZuIOList() {
    Items.Clear();
}

void TZuIOList::AddIO(TZuIO* point) {
    if (!point)
        return;
    Items.Add(point);
    point->OnIOChange = OnIOChange;
}

void TZuIOList::UnpackMsg(const QByteArray& text) {
    if (text.isEmpty())
        return;
    const char code = text[0];
    const QByteArrayView payload = QByteArrayView(text).sliced(1);
    TThreadList<TZuIO>::Locked items(Items);
    for (qsizetype i = 0; i < items->size(); ++i) {
        TZuIO* point = items->at(i);
        // While a write of the user's value waits, the controller still
        // answers with the value before it; showing that would let the next
        // user action compare against it and lose the value set.
        if (point->MsgCode() != code || point->WriteRequest)
            continue;
        switch (point->Type()) {
        case IOType::sByte:
        case IOType::sWord:
        case IOType::SignsWord:
            if (const std::optional<int> value =
                    HexWord(payload.first(std::min(payload.size(), kMaxHexDigits))))
                point->UpdateWithNoEvent(*value);
            break;
        case IOType::sString:
            point->TextValue = FromAnsi(payload);
            point->UpdateWithNoEvent(0);
            break;
        case IOType::sBit:
            break;
        }
    }
}
