#include "tst_seriesdata.h"

#include "tseriesdata.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>

void TestSeriesData::fewPointsAreDrawnAsTheyAre() {
    TSeriesData data;
    for (double y : {3.0, -1.0, 4.0, 1.5, 9.0, 2.0})
        data.Append(y);
    const QVector<QCPGraphData> all = data.Outline(0, 5, 800);
    QCOMPARE(all.size(), 6);
    QCOMPARE(all[1].key, 1.0);
    QCOMPARE(all[1].value, -1.0);
    // A view between two points reaches one point beyond each of them.
    const QVector<QCPGraphData> middle = data.Outline(2.2, 2.8, 800);
    QCOMPARE(middle.size(), 4);
    QCOMPARE(middle.constFirst().key, 1.0);
    QCOMPARE(middle.constLast().key, 4.0);
    QVERIFY(TSeriesData().Outline(0, 10, 800).isEmpty());
}

void TestSeriesData::outlineKeepsEveryExtreme_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<int>("columns");
    QTest::newRow("groups from the data") << 5000 << 0.0 << 4999.0 << 300;
    QTest::newRow("blocks, whole view") << 200'000 << 0.0 << 199'999.0 << 1200;
    QTest::newRow("blocks, zoomed") << 200'000 << 12'345.6 << 150'000.2 << 700;
    QTest::newRow("partial last block") << 70'001 << 0.0 << 70'000.0 << 100;
    QTest::newRow("one column") << 10'000 << 0.0 << 9999.0 << 1;
    QTest::newRow("a power of two") << 65'536 << 0.0 << 65'535.0 << 64;
    QTest::newRow("view beyond the data") << 10'000 << -500.0 << 20'000.0 << 200;
}

void TestSeriesData::outlineKeepsEveryExtreme() {
    QFETCH(int, count);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(int, columns);
    QRandomGenerator random(count);
    TSeriesData data;
    std::vector<double> y;
    for (int i = 0; i < count; ++i) {
        // Steps and spikes, as the logs have them.
        y.push_back(random.bounded(100) == 0 ? random.bounded(2000) - 1000 : (i / 97) % 3);
        data.Append(y.back());
    }
    QCOMPARE(data.Count(), qsizetype(count));
    const QVector<QCPGraphData> outline = data.Outline(lower, upper, columns);
    QVERIFY(outline.size() <= 2 * columns + 4);
    // Only real points, in order.
    for (int i = 0; i < outline.size(); ++i) {
        const auto index = qsizetype(outline[i].key);
        QCOMPARE(outline[i].key, double(index));
        QCOMPARE(outline[i].value, y[size_t(index)]);
        if (i > 0)
            QVERIFY(outline[i].key > outline[i - 1].key);
    }
    // Every column shows its lowest and highest point: between any two
    // neighbouring outline points no point lies outside their values
    // by more than a column's extremes allow, so check the stretch's
    // extremes, its ends and each aligned stretch of a column's width.
    const int first = std::max(0, int(std::floor(lower)));
    const int last = std::min(count - 1, int(std::ceil(upper)));
    QVERIFY(outline.constFirst().key <= first);
    QVERIFY(outline.constLast().key >= last);
    const qsizetype width = std::max<qsizetype>(1, (last - first + 1) / columns);
    for (int from = first; from <= last; from += int(width)) {
        const int to = std::min(last, from + int(width) - 1);
        const double low = *std::min_element(y.begin() + from, y.begin() + to + 1);
        const double high = *std::max_element(y.begin() + from, y.begin() + to + 1);
        // The outline points whose keys fall within the two groups around
        // this stretch must reach its extremes.
        double seenLow = INFINITY, seenHigh = -INFINITY;
        for (const QCPGraphData& point : outline)
            if (point.key >= from - 2 * width && point.key <= to + 2 * width) {
                seenLow = std::min(seenLow, point.value);
                seenHigh = std::max(seenHigh, point.value);
            }
        QVERIFY2(seenLow <= low && seenHigh >= high,
                 qPrintable(QStringLiteral("stretch %1..%2").arg(from).arg(to)));
    }
}

void TestSeriesData::clearStartsAgain() {
    TSeriesData data;
    for (int i = 0; i < 1000; ++i)
        data.Append(i);
    data.Clear();
    QCOMPARE(data.Count(), qsizetype(0));
    for (int i = 0; i < 300; ++i)
        data.Append(-i);
    const QVector<QCPGraphData> outline = data.Outline(0, 299, 10);
    QCOMPARE(outline.constFirst().value, 0.0);
    QCOMPARE(outline.constLast().value, -299.0);
    for (const QCPGraphData& point : outline)
        QCOMPARE(point.value, -point.key);
}
