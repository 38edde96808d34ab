#include "tst_chart.h"

#include "tchart.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {

// A shown chart with one series on its left axis, fixed 500..800.
struct ChartFixture {
    ChartFixture() {
        chart.resize(640, 400);
        chart.SetFixedRange(chart.yAxis, 500, 800);
        series = chart.AddSeries(QStringLiteral("Temp"), chart.yAxis, clRed);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
    }
    void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    TChart chart;
    TChartSeries* series = nullptr;
};

void Wheel(TChart& chart, int delta) {
    const QPointF at = chart.axisRect()->center();
    QWheelEvent event(at, chart.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&chart, &event);
}

// The bounding box of the non-white pixels of an image.
QRect InkBox(const QImage& image) {
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 250) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The keys the graph draws, after a redraw.
QList<double> DrawnKeys(TChart& chart, const TChartSeries* series) {
    chart.replot();
    QList<double> keys;
    for (const QCPGraphData& point : *series->Graph()->data())
        keys << point.key;
    return keys;
}

} // namespace

void TestChart::seriesHoldIndexedPoints() {
    ChartFixture f;
    for (double y : {612.0, 613.5, -1.0})
        f.series->AddY(y);
    QCOMPARE(f.series->Count(), 3);
    QCOMPARE(f.series->YValue(1), 613.5);
    QCOMPARE(DrawnKeys(f.chart, f.series), (QList<double>{0, 1, 2}));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, f.series->YValue(3));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, f.series->YValue(-1));

    f.series->Clear();
    QCOMPARE(f.series->Count(), 0);
    f.series->AddY(7);
    QCOMPARE(DrawnKeys(f.chart, f.series), QList<double>{0});
}

void TestChart::appendsAreRedrawnOncePerPass() {
    ChartFixture f;
    f.Settle();
    const quint64 before = f.chart.Redraws();
    for (int i = 0; i < 1000; ++i)
        f.series->AddY(600 + i % 50);
    QCOMPARE(f.chart.Redraws(), before); // nothing drawn while appending
    f.Settle();
    QCOMPARE(f.chart.Redraws(), before + 1);
}

void TestChart::bottomAxisFollowsPointsUntilUserZooms() {
    ChartFixture f;
    for (int i = 0; i < 10; ++i)
        f.series->AddY(600);
    f.Settle();
    QCOMPARE(f.chart.xAxis->range(), QCPRange(0, 9));

    Wheel(f.chart, 120);
    f.Settle();
    QVERIFY(f.chart.Zoomed());
    const QCPRange zoomed = f.chart.xAxis->range();
    QVERIFY(zoomed.size() < 9);
    for (int i = 0; i < 10; ++i)
        f.series->AddY(600);
    f.Settle();
    QCOMPARE(f.chart.xAxis->range(), zoomed); // the user's view stays
    QCOMPARE(f.series->Count(), 20);          // and only the view changed

    f.chart.UndoZoom();
    f.Settle();
    QVERIFY(!f.chart.Zoomed());
    QCOMPARE(f.chart.xAxis->range(), QCPRange(0, 19));
}

void TestChart::undoZoomRestoresFixedRanges() {
    ChartFixture f;
    f.chart.yAxis->setRange(550, 560); // as a drag would
    QVERIFY(f.chart.Zoomed());
    f.chart.UndoZoom();
    QCOMPARE(f.chart.yAxis->range(), QCPRange(500, 800));
    QVERIFY(!f.chart.Zoomed());

    // Double-clicking is the mouse's way back.
    f.chart.yAxis->setRange(550, 560);
    QTest::mouseDClick(&f.chart, Qt::LeftButton, {}, f.chart.axisRect()->center());
    QCOMPARE(f.chart.yAxis->range(), QCPRange(500, 800));
}

void TestChart::bandsLieInTheirShareOfThePlot() {
    TChart chart;
    chart.resize(700, 500);
    QCPAxis* upper = chart.AddBand(2, 10);
    QCPAxis* lower = chart.AddBand(77, 85);
    chart.SetFixedRange(upper, 0, 1);
    chart.SetFixedRange(lower, 0, 1);
    chart.AddSeries(QStringLiteral("Termostat"), upper, clRed, true);
    chart.replot();
    const QRect plot = chart.axisRect()->rect();
    for (auto [axis, top, bottom] : {std::tuple{upper, 2.0, 10.0}, std::tuple{lower, 77.0, 85.0}}) {
        const QRect band = axis->axisRect()->rect();
        QVERIFY2(qAbs(band.top() - (plot.top() + plot.height() * top / 100)) <= 1,
                 qPrintable(QStringLiteral("band %1..%2 plot %3..%4")
                                .arg(band.top())
                                .arg(band.bottom())
                                .arg(plot.top())
                                .arg(plot.bottom())));
        QVERIFY(qAbs(band.top() + band.height() - (plot.top() + plot.height() * bottom / 100)) <=
                1);
        QCOMPARE(band.left(), plot.left());
        QCOMPARE(band.width(), plot.width());
        // 0 and 1 are the band's lower and upper edges.
        QVERIFY(qAbs(axis->coordToPixel(1) - band.top()) <= 1);
        QVERIFY(qAbs(axis->coordToPixel(0) - band.bottom()) <= 1);
    }
    QVERIFY(chart.Series().constFirst()->Graph()->lineStyle() == QCPGraph::lsStepLeft);

    // A trace at 0 lies on its band's lower edge, and is drawn there.
    for (int i = 0; i < 20; ++i)
        chart.Series().constFirst()->AddY(0);
    const QImage image = chart.Bitmap().toImage();
    const int y = qRound(upper->coordToPixel(0) * image.devicePixelRatio());
    int red = 0;
    for (int x = 0; x < image.width(); ++x)
        red += image.pixelColor(x, y) == QColor(Qt::red);
    QVERIFY2(red > plot.width() / 2, qPrintable(QString::number(red)));
}

void TestChart::bandsScrollTogether() {
    TChart chart;
    QCPAxis* band = chart.AddBand(2, 10);
    QCPAxis* bandKey = band->axisRect()->axis(QCPAxis::atBottom);
    TChartSeries* series = chart.AddSeries(QStringLiteral("Skruv"), band, clGreen, true);
    for (int i = 0; i < 100; ++i)
        series->AddY(i % 2);
    chart.replot();
    QCOMPARE(bandKey->range(), QCPRange(0, 99));
    QCOMPARE(chart.xAxis->range(), QCPRange(0, 99));

    bandKey->setRange(10, 20); // a drag inside the band
    QCOMPARE(chart.xAxis->range(), QCPRange(10, 20));
    chart.xAxis->setRange(30, 40); // a drag elsewhere
    QCOMPARE(bandKey->range(), QCPRange(30, 40));
    QVERIFY(chart.Zoomed());
}

void TestChart::outerAxisStandsOutByShareOfPlotWidth() {
    TChart chart;
    chart.resize(1000, 400);
    QCPAxis* outer = chart.AddOuterRightAxis(7);
    chart.SetFixedRange(chart.yAxis2, 0, 100);
    chart.SetFixedRange(outer, -1200, 1200);
    chart.AddSeries(QStringLiteral("Integrator"), outer, clRed);
    chart.replot();
    chart.replot(); // the share follows the plot width of the last layout
    const double share = 0.07 * chart.axisRect()->width();
    QVERIFY2(qAbs(outer->offset() - share) <= outer->tickLengthIn() + 1,
             qPrintable(
                 QStringLiteral("offset %1, 7 % of the plot %2").arg(outer->offset()).arg(share)));
    QVERIFY(outer->visible() && chart.yAxis2->visible());
}

void TestChart::printsOnePageWithSideMargins() {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    ChartFixture f;
    f.chart.resize(800, 400);
    // Without the grid, whose dotted lines a PDF viewer draws differently.
    f.chart.xAxis->grid()->setVisible(false);
    f.chart.yAxis->grid()->setVisible(false);
    for (int i = 0; i < 50; ++i)
        f.series->AddY(600 + i);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("chart.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageOrientation(QPageLayout::Portrait);
    f.chart.Print(printer);
    QVERIFY(QFileInfo(pdf).size() > 0);
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is needed to look at the page");

    QProcess render;
    // At the scale where the printed chart is as wide as on screen.
    const QString pageWidth = QString::number(qRound(f.chart.width() / 0.7));
    render.start(pdftoppm, {QStringLiteral("-scale-to-x"), pageWidth, QStringLiteral("-scale-to-y"),
                            QStringLiteral("-1"), QStringLiteral("-png"), pdf,
                            folder.filePath(QStringLiteral("page"))});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    QDir dir(folder.path());
    const QStringList pages = dir.entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1); // one page
    const QImage page(dir.filePath(pages.constFirst()));
    const QRect ink = InkBox(page);
    QVERIFY(ink.isValid());
    // The chart's white background is ink-free; its axes and labels mark its extent.
    const double left = double(ink.left()) / page.width();
    const double right = double(ink.right() + 1) / page.width();
    QVERIFY2(left >= 0.14 && left <= 0.19, qPrintable(QString::number(left)));
    QVERIFY2(right >= 0.81 && right <= 0.86, qPrintable(QString::number(right)));
    // Vertically centred.
    const double above = ink.top(), below = page.height() - 1 - ink.bottom();
    QVERIFY2(qAbs(above - below) <= page.height() * 0.06,
             qPrintable(QStringLiteral("%1 / %2").arg(above).arg(below)));
    // And as on screen, texts included: the printed chart, as wide as on
    // screen, carries about as much ink as the screen's image.
    const int width = qRound(page.width() * 0.7);
    const int height = width * f.chart.height() / f.chart.width();
    const QImage printed =
        page.copy((page.width() - width) / 2, (page.height() - height) / 2, width, height);
    const QImage screen = f.chart.Bitmap().toImage().scaled(width, height, Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation);
    const auto darkPixels = [](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return double(dark);
    };
    const double ratio = darkPixels(printed) / std::max(1.0, darkPixels(screen));
    QVERIFY2(ratio > 0.8 && ratio < 1.25, qPrintable(QStringLiteral("ink ratio %1").arg(ratio)));
}

void TestChart::copiesChartAtScreenSize() {
    ChartFixture f;
    f.chart.resize(500, 300);
    f.series->AddY(650);
    QGuiApplication::clipboard()->clear();
    f.chart.CopyToClipboardBitmap();
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(500, 300) * f.chart.devicePixelRatioF());
    QVERIFY(InkBox(copied).isValid()); // something was drawn
}
