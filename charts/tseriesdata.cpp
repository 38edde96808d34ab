#include "tseriesdata.h"

#include <algorithm>
#include <array>
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

void TSeriesData::AddGroup(QVector<QCPGraphData>& points, qsizetype first, qsizetype last,
                           qsizetype minAt, qsizetype maxAt) const {
    std::array<qsizetype, 4> at{first, minAt, maxAt, last};
    std::sort(at.begin(), at.end());
    qsizetype previous = -1;
    for (qsizetype index : at) {
        if (index == previous)
            continue;
        points.append(QCPGraphData(double(index), FY[size_t(index)]));
        previous = index;
    }
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
    const qsizetype perColumn = count / columns;
    points.reserve(4 * (columns + 2));
    // The coarsest level whose blocks are no larger than a column.
    int level = -1;
    while (level + 1 < int(FLevels.size()) &&
           (qsizetype(1) << (kFirstLevelShift + level + 1)) <= perColumn)
        ++level;
    if (level < 0) {
        // Fewer than a block per column: groups of points straight from the data.
        for (qsizetype from = first; from <= end; from += perColumn) {
            const qsizetype to = std::min(end, from + perColumn - 1);
            const auto [low, high] = std::minmax_element(FY.begin() + from, FY.begin() + to + 1);
            AddGroup(points, from, to, low - FY.begin(), high - FY.begin());
        }
        return points;
    }
    const int shift = kFirstLevelShift + level;
    const std::vector<TBlock>& blocks = FLevels[size_t(level)];
    for (qsizetype b = first >> shift; b <= (end >> shift); ++b) {
        const qsizetype from = b << shift;
        const qsizetype to = std::min(last, from + (qsizetype(1) << shift) - 1);
        const TBlock& block = blocks[size_t(b)];
        AddGroup(points, from, to, block.MinAt, block.MaxAt);
    }
    return points;
}
