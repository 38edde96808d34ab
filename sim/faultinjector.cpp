#include "faultinjector.h"

#include <algorithm>

namespace {

// Noise a disturbed line may produce; never a space or a CR, which would frame it.
constexpr char kNoise[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!#%&*+-/:;<=>?@";

} // namespace

QByteArray ReplyPlan::Whole() const {
    QByteArray whole;
    for (const Piece& piece : pieces)
        whole += piece.bytes;
    return whole;
}

FaultInjector::FaultInjector(const FaultSettings& settings, quint32 seed)
    : FSettings(settings), FRandom(seed) {}

bool FaultInjector::Hits(double percent) {
    if (percent <= 0)
        return false;
    return std::uniform_real_distribution<double>(0, 100)(FRandom) < percent;
}

int FaultInjector::Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(FRandom);
}

ReplyPlan FaultInjector::Plan(const QByteArray& reply) {
    ReplyPlan plan;
    // Every decision draws, hit or not, so that one fault's share does not shift another's.
    const bool drop = Hits(FSettings.dropPercent);
    const bool late = Hits(FSettings.latePercent);
    const bool noise = Hits(FSettings.noisePercent);
    const bool split = Hits(FSettings.splitPercent);
    if (drop) {
        plan.dropped = true;
        return plan;
    }
    QByteArray bytes;
    if (noise) {
        const int count = Between(1, 5);
        for (int n = 0; n < count; ++n)
            bytes.append(kNoise[Between(0, int(sizeof(kNoise)) - 2)]);
    }
    bytes += reply;
    if (FSettings.crlf && bytes.endsWith('\r'))
        bytes.append('\n');
    const double start = late ? kLateDelay : 0.0;
    if (!split || bytes.size() < 3) {
        plan.pieces.push_back({bytes, start});
        return plan;
    }
    const int pieces = std::min(Between(2, 3), int(bytes.size()));
    std::vector<int> cuts;
    while (int(cuts.size()) < pieces - 1) {
        const int cut = Between(1, int(bytes.size()) - 1);
        if (std::find(cuts.begin(), cuts.end(), cut) == cuts.end())
            cuts.push_back(cut);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(int(bytes.size()));
    int from = 0;
    double delay = start;
    for (int cut : cuts) {
        plan.pieces.push_back({bytes.mid(from, cut - from), delay});
        delay += Between(5, 50) / 1000.0;
        from = cut;
    }
    return plan;
}
