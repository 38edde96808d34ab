#include "frames.h"

#include "tzuio.h"

QByteArray ReadFrame(char code) {
    QByteArray frame(" R");
    frame += code;
    frame += '\r';
    return frame;
}

QByteArray WriteFrame(const TZuIO& point) {
    int digits = 0;
    unsigned value = unsigned(point.Value());
    switch (point.Type()) {
    case IOType::sByte:
        digits = 2;
        break;
    case IOType::sWord:
        digits = 4;
        break;
    case IOType::SignsWord:
        digits = 4;
        value &= 0xFFFFu;
        break;
    case IOType::sString:
    case IOType::sBit:
        return QByteArray();
    }
    QByteArray frame(" W");
    frame += point.MsgCode();
    frame += QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
    frame += '\r';
    return frame;
}

bool TReplyAssembler::Add(char c) {
    if (c == '\r')
        FComplete = true;
    else if (c == ' ')
        FText.clear();
    else
        FText += c;
    return FComplete;
}

void TReplyAssembler::Reset() {
    FText.clear();
    FComplete = false;
}
