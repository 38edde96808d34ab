#include "requestparser.h"

#include "hexdigit.h"

namespace {

bool IsCodeChar(char c) {
    return c > ' ' && c < 0x7F;
}

} // namespace

std::optional<Frame> RequestParser::Feed(char c) {
    if (c == ' ') {
        FInFrame = true;
        FOverlong = false;
        FBody.clear();
        return std::nullopt;
    }
    if (!FInFrame)
        return std::nullopt;
    if (c != '\r') {
        if (FBody.size() < kMaxBody)
            FBody.append(c);
        else
            FOverlong = true;
        return std::nullopt;
    }
    Frame frame;
    frame.text = ' ' + FBody + '\r';
    if (!FOverlong)
        frame.request = Parse(FBody);
    FInFrame = false;
    FBody.clear();
    return frame;
}

std::vector<Frame> RequestParser::Feed(QByteArrayView bytes) {
    std::vector<Frame> frames;
    for (char c : bytes) {
        if (auto frame = Feed(c))
            frames.push_back(std::move(*frame));
    }
    return frames;
}

void RequestParser::Reset() {
    FInFrame = false;
    FOverlong = false;
    FBody.clear();
}

std::optional<Request> RequestParser::Parse(QByteArrayView body) {
    if (body.size() < 2 || !IsCodeChar(body[1]))
        return std::nullopt;
    Request request;
    request.code = body[1];
    if (body[0] == 'R') {
        if (body.size() != 2)
            return std::nullopt;
        request.kind = RequestKind::Read;
        return request;
    }
    if (body[0] != 'W' || body.size() < 3 || body.size() > 6)
        return std::nullopt;
    request.kind = RequestKind::Write;
    int value = 0;
    for (char c : body.sliced(2)) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    request.value = static_cast<quint16>(value);
    return request;
}
