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
