#include "pacedqueue.h"

#include <algorithm>

PacedQueue::PacedQueue(double charTime, bool transmitFirst)
    : FCharTime(std::max(0.0, charTime)), FTransmitFirst(transmitFirst) {}

void PacedQueue::Push(QByteArrayView bytes, double now) {
    for (char c : bytes) {
        const double due = FTransmitFirst ? std::max(now, FLastDue) + FCharTime
                                          : std::max(now, FLastDue + FCharTime);
        FItems.push_back({due, c});
        FLastDue = due;
    }
}

QByteArray PacedQueue::TakeDue(double now) {
    QByteArray due;
    while (!FItems.empty() && FItems.front().due <= now) {
        due.append(FItems.front().byte);
        FItems.pop_front();
    }
    return due;
}

std::optional<double> PacedQueue::NextDue() const {
    if (FItems.empty())
        return std::nullopt;
    return FItems.front().due;
}

void PacedQueue::Clear() {
    FItems.clear();
    FLastDue = -1e300;
}
