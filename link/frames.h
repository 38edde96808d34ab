#pragma once

#include <QByteArray>

class TZuIO;

// Request frames of the controller protocol: a space, R or W, the point's
// code character, for W the value in uppercase hexadecimal, and a carriage
// return.

// " R<code>\r"
QByteArray ReadFrame(char code);

// " W<code><hex>\r": at least two digits for a byte point, four for a word
// point, the low 16 bits for a signed word. Empty for types that are never
// written (text and bit points).
QByteArray WriteFrame(const TZuIO& point);

// Collects a reply as its characters come: a blank starts the reply text
// afresh, a carriage return completes it, any other character is added.
class TReplyAssembler {
public:
    // Takes one character; true when it completed the reply.
    bool Add(char c);
    bool Complete() const { return FComplete; }
    // The reply text without the blank and the carriage return.
    const QByteArray& Text() const { return FText; }
    // Ready for the next reply.
    void Reset();

private:
    QByteArray FText;
    bool FComplete = false;
};
