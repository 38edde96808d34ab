#pragma once

#include <QString>

#include <stdexcept>

// Error codes of the serial layer.
constexpr int ecBadId = -2001;          // the device of that number does not exist
constexpr int ecNotOpen = -2007;        // an operation other than Open on a closed port
constexpr int ecAlreadyOpen = -2008;    // another program holds the port
constexpr int ecNoPortSelected = -2011; // the port prompt was cancelled
constexpr int ecBufferIsEmpty = -8;     // GetChar with nothing received
constexpr int ecDriverError = -1;       // other failures, with the driver's own text

// A failure of the serial layer: a negative code and a message.
class EAPDException : public std::runtime_error {
public:
    EAPDException(int code, const QString& message);

    int ErrorCode() const { return FErrorCode; }
    QString Message() const { return QString::fromUtf8(what()); }

    // The failures with fixed texts.
    static EAPDException BadId();
    static EAPDException NotOpen();
    static EAPDException AlreadyOpen();
    static EAPDException NoPortSelected();

private:
    int FErrorCode;
};
