#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <deque>
#include <optional>

// Bytes spaced out in time like characters on a serial line: each one is due a
// character time after the one before it, and never before it was pushed.
class PacedQueue {
public:
    // 8N1 at 19200 baud: ten bits a character.
    static constexpr double kCharTime19200 = 10.0 / 19200.0;

    // charTime 0 passes bytes through at once. With transmitFirst the first byte of a
    // burst also takes a character time (bytes going out); without it the first byte is
    // due when pushed (bytes that have already come in).
    explicit PacedQueue(double charTime, bool transmitFirst);

    void Push(QByteArrayView bytes, double now);
    // Removes and returns the bytes due at time now.
    QByteArray TakeDue(double now);
    std::optional<double> NextDue() const;
    bool IsEmpty() const { return FItems.empty(); }
    void Clear();

private:
    struct Item {
        double due;
        char byte;
    };
    double FCharTime;
    bool FTransmitFirst;
    double FLastDue = -1e300;
    std::deque<Item> FItems;
};
