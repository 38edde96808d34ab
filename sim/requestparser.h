#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

// A request from the PC: " R<code>\r" reads a point, " W<code><hex>\r" writes one.
enum class RequestKind { Read, Write };

struct Request {
    RequestKind kind = RequestKind::Read;
    char code = 0;
    quint16 value = 0; // only for writes

    friend bool operator==(const Request&, const Request&) = default;
};

// One frame as it came in, from the space that opened it to the CR that closed it.
struct Frame {
    QByteArray text;
    std::optional<Request> request; // empty when the frame is not a valid request
};

// Turns the received byte stream into frames. A space always starts a new frame and
// drops what was collected; a CR ends the frame; bytes outside a frame are ignored.
class RequestParser {
public:
    // Longest frame body kept; anything longer is not a request anyway.
    static constexpr int kMaxBody = 32;

    std::optional<Frame> Feed(char c);
    std::vector<Frame> Feed(QByteArrayView bytes);
    void Reset();

    // Checks the body of a frame (the text between the space and the CR).
    static std::optional<Request> Parse(QByteArrayView body);

private:
    bool FInFrame = false;
    bool FOverlong = false;
    QByteArray FBody;
};
