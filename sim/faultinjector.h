#pragma once

#include "simoptions.h"

#include <QByteArray>

#include <random>
#include <vector>

// How one reply goes out: nothing, or pieces each sent a given time after the request.
struct ReplyPlan {
    struct Piece {
        QByteArray bytes;
        double delay = 0; // seconds after the reply was due
    };
    bool dropped = false;
    std::vector<Piece> pieces;

    QByteArray Whole() const;
};

// Decides, reply by reply, which line faults hit it. Deterministic for a seed.
class FaultInjector {
public:
    static constexpr double kLateDelay = 1.3;

    FaultInjector(const FaultSettings& settings, quint32 seed);

    // Takes a reply as the controller gives it (ending in CR).
    ReplyPlan Plan(const QByteArray& reply);

private:
    bool Hits(double percent);
    int Between(int low, int high);

    FaultSettings FSettings;
    std::mt19937 FRandom;
};
