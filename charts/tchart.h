#pragma once

#include "tcolor.h"
#include "tseriesdata.h"

#include <QList>
#include <QString>

#include <qcustomplot.h>

class QPrinter;
class TChart;

// One series of a chart: an ordered list of points whose x is the index of
// the point (the number of points held before it was added). The series
// keeps its points; its graph gets, before each redraw, the outline of the
// stretch in view.
class TChartSeries {
public:
    TChartSeries(TChart& chart, QCPGraph* graph);

    // Appends y at x = Count(); the chart redraws once the current event is done.
    void AddY(double y);
    // Removes every point; the next AddY gets x = 0.
    void Clear();
    int Count() const;
    // The y of the point at a 0-based index; the index must be below Count().
    double YValue(int index) const;

    QString Title() const;
    QCPGraph* Graph() const { return FGraph; }

    // Hands the graph the points that draw its key axis' current range.
    void PrepareGraph();

private:
    TChart& FChart;
    QCPGraph* FGraph;
    TSeriesData FData;
};

// A chart on QCustomPlot: a bold title over one main plot area whose bottom
// axis follows the points held until the user zooms or scrolls with the mouse
// (wheel, drag; a double click undoes it). Value axes keep the fixed ranges
// they were given. Appends only request a redraw; all requests of one pass
// of the event loop give one redraw.
class TChart : public QCustomPlot {
    Q_OBJECT

public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    void SetTitle(const QString& title);
    QString Title() const;

    // A line (or stair-step line) without point markers, drawn against the
    // main bottom axis or the bottom axis of a band.
    TChartSeries* AddSeries(const QString& title, QCPAxis* valueAxis, TColor colour,
                            bool stairs = false);
    const QList<TChartSeries*>& Series() const { return FSeries; }

    // A value axis whose range is fixed: zooming may change it, UndoZoom puts it back.
    void SetFixedRange(QCPAxis* axis, double lower, double upper);

    // A further value axis on the right, beyond the right axis (yAxis2, made
    // anew), standing a share of the plot width out from the plot. Call
    // before adding series.
    QCPAxis* AddOuterRightAxis(double percentOfPlotWidth);

    // A separate plot area over a band of the main one, given in percent of
    // its height from the top; its bottom axis (hidden) follows the main one.
    // Returns the band's left axis.
    QCPAxis* AddBand(double topPercent, double bottomPercent);

    // Mouse zoom and scroll in these directions only.
    void SetUserZoom(Qt::Orientations orientations);

    // Drops the user's zoom and scroll: fixed ranges again, the bottom axis
    // over every point held.
    void UndoZoom();
    bool Zoomed() const { return FZoomed; }

    // The chart as on screen, on one page: the width 70 % of the page
    // (15 % margins left and right), the on-screen aspect ratio, centred
    // vertically.
    void Print(QPrinter& printer);
    // Puts an image of the chart at its size on screen on the clipboard.
    void CopyToClipboardBitmap();
    // The image the clipboard receives.
    QPixmap Bitmap();

    // Asks for one redraw after the current event; a chart out of sight (on
    // a page not shown) redraws when it comes into sight.
    void RequestRedraw();
    // How many redraws ran (for tests and the benchmark).
    quint64 Redraws() const { return FRedraws; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BeforeRedraw();
    void PrepareGraphs();
    void KeyRangeChanged(QCPAxis* axis, const QCPRange& range);
    void SetKeyRange(const QCPRange& range);

    QCPTextElement* FTitle = nullptr;
    QList<TChartSeries*> FSeries;
    QList<QCPAxis*> FKeyAxes; // the main bottom axis, then one per band
    struct TFixedRange {
        QCPAxis* Axis;
        QCPRange Range;
    };
    QList<TFixedRange> FFixed;
    Qt::Orientations FUserZoom = Qt::Horizontal | Qt::Vertical;
    bool FZoomed = false;
    bool FSettingRange = false;
    bool FRedrawWhenShown = false;
    quint64 FRedraws = 0;
};
