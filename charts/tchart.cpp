#include "tchart.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPicture>
#include <QPrinter>

#include <algorithm>
#include <stdexcept>
#include <typeinfo>

namespace {

// Tick labels in the program's number format: no group separator, and the
// plain minus sign rather than the locale's typographic one.
class TNumberTicker : public QCPAxisTicker {
protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override {
        return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision)
            .replace(QChar(0x2212), u'-');
    }
};

// Ticks of a bottom axis that counts samples: whole numbers only.
class TIndexTicker : public TNumberTicker {
protected:
    double getTickStep(const QCPRange& range) override {
        return std::max(1.0, QCPAxisTicker::getTickStep(range));
    }
    int getSubTickCount(double tickStep) override {
        return tickStep < 5 ? int(tickStep) - 1 : QCPAxisTicker::getSubTickCount(tickStep);
    }
};

// The axis just inside an outer axis: it keeps at least a share of the plot
// width free beyond itself, so the outer axis stands that far out.
class TSpacedAxis : public QCPAxis {
public:
    TSpacedAxis(QCPAxisRect* rect, AxisType type, double share)
        : QCPAxis(rect, type), FShare(share) {}

protected:
    int calculateMargin() override {
        const int own = QCPAxis::calculateMargin();
        if (!visible())
            return own;
        return std::max(own, int(FShare * axisRect()->width() + 0.5));
    }

private:
    double FShare;
};

// The graph of a band: drawn within the whole plot rather than its band,
// so a line on a band's edge shows in full and a value beyond the band's
// range is drawn outside it, where it can be seen.
class TBandGraph : public QCPGraph {
public:
    TBandGraph(QCPAxis* key, QCPAxis* value, QCPAxisRect* plot)
        : QCPGraph(key, value), FPlot(plot) {}

protected:
    QRect clipRect() const override { return FPlot->rect(); }

private:
    QCPAxisRect* FPlot;
};

} // namespace

TChartSeries::TChartSeries(TChart& chart, QCPGraph* graph) : FChart(chart), FGraph(graph) {}

void TChartSeries::AddY(double y) {
    FData.Append(y);
    FChart.RequestRedraw();
}

void TChartSeries::Clear() {
    FData.Clear();
    FChart.RequestRedraw();
}

int TChartSeries::Count() const {
    return int(FData.Count());
}

double TChartSeries::YValue(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("series index out of range");
    return FData.Y(index);
}

void TChartSeries::PrepareGraph() {
    const QCPAxis* key = FGraph->keyAxis();
    const QCPRange range = key->range();
    const int columns = key->axisRect()->width();
    QVector<QCPGraphData> points = FData.Outline(range.lower, range.upper, columns);
    // Smoothing buys nothing where points crowd every column, and costs most there.
    FGraph->setAntialiased(points.size() < columns);
    FGraph->data()->set(points, true);
}

QString TChartSeries::Title() const {
    return FGraph->name();
}

TChart::TChart(QWidget* parent) : QCustomPlot(parent) {
    plotLayout()->insertRow(0);
    QFont font = this->font();
    font.setBold(true);
    FTitle = new QCPTextElement(this, QString(), font);
    plotLayout()->addElement(0, 0, FTitle);

    // Numbers on the axes as everywhere else in the program.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(locale);
    xAxis->setTicker(QSharedPointer<TIndexTicker>::create());
    FKeyAxes << xAxis;
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& range) { KeyRangeChanged(xAxis, range); });
    connect(this, &QCustomPlot::beforeReplot, this, &TChart::BeforeRedraw);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    // Lines as one polyline each, not segment by segment.
    setPlottingHint(QCP::phFastPolylines, true);
    SetUserZoom(Qt::Horizontal | Qt::Vertical);
}

TChart::~TChart() {
    qDeleteAll(FSeries);
}

void TChart::SetTitle(const QString& title) {
    FTitle->setText(title);
    RequestRedraw();
}

QString TChart::Title() const {
    return FTitle->text();
}

TChartSeries* TChart::AddSeries(const QString& title, QCPAxis* valueAxis, TColor colour,
                                bool stairs) {
    QCPAxis* keyAxis = valueAxis->axisRect()->axis(QCPAxis::atBottom);
    QCPGraph* graph = valueAxis->axisRect() == axisRect()
                          ? addGraph(keyAxis, valueAxis)
                          : new TBandGraph(keyAxis, valueAxis, axisRect());
    graph->setName(title);
    graph->setPen(QPen(ColorToQColor(colour, palette())));
    graph->setLineStyle(stairs ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
    graph->setScatterStyle(QCPScatterStyle::ssNone);
    graph->setAdaptiveSampling(true);
    auto* series = new TChartSeries(*this, graph);
    FSeries << series;
    return series;
}

QCPAxis* TChart::AddOuterRightAxis(double percentOfPlotWidth) {
    if (!FSeries.isEmpty())
        throw std::logic_error("outer axes come before the series");
    QCPAxisRect* rect = axisRect();
    rect->removeAxis(rect->axis(QCPAxis::atRight));
    yAxis2 = rect->addAxis(QCPAxis::atRight,
                           new TSpacedAxis(rect, QCPAxis::atRight, percentOfPlotWidth / 100.0));
    yAxis2->setVisible(true);
    QCPAxis* outer = rect->addAxis(QCPAxis::atRight);
    outer->setVisible(true);
    outer->setOffset(0);
    return outer;
}

void TChart::SetFixedRange(QCPAxis* axis, double lower, double upper) {
    const QCPAxisTicker* ticker = axis->ticker().data();
    if (ticker && typeid(*ticker) == typeid(QCPAxisTicker)) // the plain default
        axis->setTicker(QSharedPointer<TNumberTicker>::create());
    FFixed.append({axis, QCPRange(lower, upper)});
    FSettingRange = true;
    axis->setRange(lower, upper);
    FSettingRange = false;
    connect(axis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
        if (!FSettingRange)
            FZoomed = true;
    });
    SetUserZoom(FUserZoom);
}

QCPAxis* TChart::AddBand(double topPercent, double bottomPercent) {
    auto* band = new QCPAxisRect(this, false);
    band->setAutoMargins(QCP::msNone);
    band->setMargins(QMargins());
    band->setMinimumSize(0, 0); // a band may be lower than the default minimum
    band->setBackground(Qt::NoBrush);
    QCPAxis* key = band->addAxis(QCPAxis::atBottom);
    key->setVisible(false);
    key->grid()->setVisible(false);
    QCPAxis* value = band->addAxis(QCPAxis::atLeft);
    value->grid()->setVisible(false);
    for (QCPAxis* axis : {key, value})
        axis->setLayer(QStringLiteral("axes"));
    // Drags inside the band move the whole chart, like drags anywhere else.
    band->setRangeDrag(Qt::Horizontal);
    band->setRangeZoom(Qt::Horizontal);
    band->setRangeDragAxes(key, nullptr);
    band->setRangeZoomAxes(key, nullptr);
    // Bands are measured on the plot itself, not inside the inset margins.
    axisRect()->insetLayout()->setAutoMargins(QCP::msNone);
    axisRect()->insetLayout()->setMargins(QMargins());
    axisRect()->insetLayout()->addElement(
        band, QRectF(0, topPercent / 100.0, 1, (bottomPercent - topPercent) / 100.0));
    FKeyAxes << key;
    key->setRange(xAxis->range());
    connect(key, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this, key](const QCPRange& range) { KeyRangeChanged(key, range); });
    return value;
}

void TChart::SetUserZoom(Qt::Orientations orientations) {
    FUserZoom = orientations;
    axisRect()->setRangeDrag(orientations);
    axisRect()->setRangeZoom(orientations);
    QList<QCPAxis*> vertical;
    if (orientations & Qt::Vertical)
        for (const TFixedRange& fixed : FFixed)
            if (fixed.Axis->axisRect() == axisRect())
                vertical << fixed.Axis;
    axisRect()->setRangeDragAxes({xAxis}, vertical);
    axisRect()->setRangeZoomAxes({xAxis}, vertical);
}

void TChart::UndoZoom() {
    FSettingRange = true;
    for (const TFixedRange& fixed : FFixed)
        fixed.Axis->setRange(fixed.Range);
    FSettingRange = false;
    FZoomed = false;
    RequestRedraw();
}

void TChart::RequestRedraw() {
    if (!isVisible()) {
        FRedrawWhenShown = true;
        return;
    }
    replot(rpQueuedReplot);
}

void TChart::showEvent(QShowEvent* event) {
    QCustomPlot::showEvent(event);
    if (FRedrawWhenShown) {
        FRedrawWhenShown = false;
        replot(rpQueuedReplot);
    }
}

void TChart::BeforeRedraw() {
    ++FRedraws;
    if (!FZoomed) {
        // The bottom axis spans the points held.
        int count = 0;
        for (const TChartSeries* series : FSeries)
            count = std::max(count, series->Count());
        SetKeyRange(QCPRange(0, std::max(1, count - 1)));
    }
    PrepareGraphs();
}

void TChart::PrepareGraphs() {
    for (TChartSeries* series : FSeries)
        series->PrepareGraph();
}

void TChart::SetKeyRange(const QCPRange& range) {
    FSettingRange = true;
    for (QCPAxis* axis : FKeyAxes)
        axis->setRange(range);
    FSettingRange = false;
}

void TChart::KeyRangeChanged(QCPAxis* axis, const QCPRange& range) {
    if (FSettingRange)
        return;
    // A drag or zoom of one bottom axis: every band follows it.
    FZoomed = true;
    FSettingRange = true;
    for (QCPAxis* other : FKeyAxes)
        if (other != axis)
            other->setRange(range);
    FSettingRange = false;
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event) {
    UndoZoom();
    event->accept();
}

void TChart::Print(QPrinter& printer) {
    const int width = std::max(1, this->width());
    const int height = std::max(1, this->height());
    // The chart is recorded at screen resolution and played back scaled, so
    // its fonts keep their size relative to the chart on any printer.
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmVectorized);
        recorder.setMode(QCPPainter::pmNoCaching);
        BeforeRedraw(); // the view as the next redraw would show it
        toPainter(&recorder, width, height);
    }
    // Margins are measured on the whole sheet, so paint from its corner.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("the printer cannot be started");
    const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    const double printedWidth = page.width() * 0.7;
    const double printedHeight = printedWidth * height / width;
    const double left = page.width() * 0.15;
    const double top = std::max(0.0, (page.height() - printedHeight) / 2);
    painter.translate(left, top);
    // Playing a picture back scales it from its resolution to the printer's.
    painter.scale(printedWidth / width * picture.logicalDpiX() / printer.logicalDpiX(),
                  printedHeight / height * picture.logicalDpiY() / printer.logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.end();
}

QPixmap TChart::Bitmap() {
    BeforeRedraw();
    return toPixmap(std::max(1, width()), std::max(1, height()));
}

void TChart::CopyToClipboardBitmap() {
    QApplication::clipboard()->setPixmap(Bitmap());
}
