#include "tseriesdata.h"

#include <algorithm>
#include <cmath>

void TSeriesData::Append(double y) {
    const auto at = std::uint32_t(FY.size());
    FY.push_back(y);
    for (size_t j = 0; j < FLevels.size(); ++j) {
        std::vector<TBlock>& level = FLevels[j];
        const size_t index = at >> (kFirstLevelShift + j);
        if (index == level.size()) {
            level.push_back({y, y, at, at});
            continue;
        }
        TBlock& block = level[index];
        if (y < block.Min) {
            block.Min = y;
            block.MinAt = at;
        }
        if (y > block.Max) {
            block.Max = y;
            block.MaxAt = at;
        }
    }
    // A level begins when the data first fills one of its blocks.
    const qsizetype size = qsizetype(1) << (kFirstLevelShift + FLevels.size());
    if (Count() == size) {
        const auto [low, high] = std::minmax_element(FY.begin(), FY.end());
        FLevels.push_back({TBlock{*low, *high, std::uint32_t(low - FY.begin()),
                                  std::uint32_t(high - FY.begin())}});
    }
}

void TSeriesData::Clear() {
    FY.clear();
    FY.shrink_to_fit();
    FLevels.clear();
}

void TSeriesData::AddGroup(QVector<QCPGraphData>& points, qsizetype minAt, qsizetype maxAt) const {
    const auto add = [&](qsizetype index) {
        if (points.isEmpty() || points.constLast().key < double(index))
            points.append(QCPGraphData(double(index), FY[size_t(index)]));
    };
    add(std::min(minAt, maxAt));
    add(std::max(minAt, maxAt));
}

std::pair<qsizetype, qsizetype> TSeriesData::Extremes(qsizetype from, qsizetype to) const {
    qsizetype minAt = from;
    qsizetype maxAt = from;
    const auto take = [&](qsizetype low, qsizetype high) {
        if (FY[size_t(low)] < FY[size_t(minAt)])
            minAt = low;
        if (FY[size_t(high)] > FY[size_t(maxAt)])
            maxAt = high;
    };
    for (qsizetype at = from; at <= to;) {
        // The largest block that starts here and ends within the stretch.
        int level = int(FLevels.size()) - 1;
        for (; level >= 0; --level) {
            const qsizetype size = qsizetype(1) << (kFirstLevelShift + level);
            if ((at & (size - 1)) == 0 && at + size - 1 <= to)
                break;
        }
        if (level < 0) {
            take(at, at);
            ++at;
            continue;
        }
        const int shift = kFirstLevelShift + level;
        const TBlock& block = FLevels[size_t(level)][size_t(at >> shift)];
        take(block.MinAt, block.MaxAt);
        at += qsizetype(1) << shift;
    }
    return {minAt, maxAt};
}

QVector<QCPGraphData> TSeriesData::Outline(double lower, double upper, int columns) const {
    QVector<QCPGraphData> points;
    if (FY.empty() || !(upper >= lower))
        return points;
    const qsizetype last = Count() - 1;
    const auto clamp = [last](double key) {
        if (!(key > 0))
            return qsizetype(0);
        return key >= double(last) ? last : qsizetype(key);
    };
    const qsizetype first = std::max<qsizetype>(0, clamp(std::floor(lower)) - 1);
    const qsizetype end = std::min(last, clamp(std::ceil(upper)) + 1);
    const qsizetype count = end - first + 1;
    columns = std::max(1, columns);
    if (count <= 4 * qsizetype(columns)) {
        points.reserve(count);
        for (qsizetype i = first; i <= end; ++i)
            points.append(QCPGraphData(double(i), FY[size_t(i)]));
        return points;
    }
    // One group per column; wide columns start on a block boundary, so
    // that their extremes come from the blocks alone.
    const bool aligned = count >= (qsizetype(1) << kFirstLevelShift) * columns;
    const auto boundary = [&](qsizetype column) {
        const qsizetype at = first + column * count / columns;
        return aligned && column > 0 ? at & ~((qsizetype(1) << kFirstLevelShift) - 1) : at;
    };
    points.reserve(2 * columns + 2);
    points.append(QCPGraphData(double(first), FY[size_t(first)]));
    for (qsizetype column = 0; column < columns; ++column) {
        const qsizetype from = boundary(column);
        const qsizetype to = boundary(column + 1) - 1;
        if (to >= from) {
            const auto [minAt, maxAt] = Extremes(from, to);
            AddGroup(points, minAt, maxAt);
        }
    }
    AddGroup(points, end, end);
    return points;
}
