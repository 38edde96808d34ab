#pragma once

#include <QVector>

#include <qcustomplot.h>

#include <cstdint>
#include <utility>
#include <vector>

// The points of a series: y values by index (the index is the x), with the
// lowest and highest value over aligned blocks of 64, 128, 256, ... points,
// so that any stretch of any length can be outlined from a number of points
// that depends on the columns it is drawn into, not on the points it holds.
class TSeriesData {
public:
    void Append(double y);
    void Clear();
    qsizetype Count() const { return qsizetype(FY.size()); }
    double Y(qsizetype index) const { return FY[size_t(index)]; }

    // The points that draw the stretch of keys lower..upper into `columns`
    // columns as the whole data would: every point while there are few, else
    // the first and last point and, per column, the lowest and highest
    // point of the points it covers, in order. One point beyond each
    // end of the stretch is included so the line runs to the edges.
    QVector<QCPGraphData> Outline(double lower, double upper, int columns) const;

private:
    struct TBlock {
        double Min;
        double Max;
        std::uint32_t MinAt;
        std::uint32_t MaxAt;
    };
    static constexpr int kFirstLevelShift = 6; // blocks of 64 points

    // Where the lowest and the highest value of the points from..to lie.
    std::pair<qsizetype, qsizetype> Extremes(qsizetype from, qsizetype to) const;
    void AddGroup(QVector<QCPGraphData>& points, qsizetype minAt, qsizetype maxAt) const;

    std::vector<double> FY;
    // FLevels[j] holds blocks of 64 << j points.
    std::vector<std::vector<TBlock>> FLevels;
};
