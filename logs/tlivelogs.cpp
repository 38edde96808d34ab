#include "tlivelogs.h"

#include "tchart.h"
#include "tprocessimage.h"

#include <cstdint>
#include <stdexcept>

namespace {

template <typename T> T* Required(T* item, const char* what) {
    if (!item)
        throw std::logic_error(std::string("the process image has no ") + what);
    return item;
}

void Erase(TChart& chart) {
    for (TChartSeries* series : chart.Series())
        series->Clear();
    chart.UndoZoom();
}

} // namespace

int SignedWord(int value) {
    return int(std::int16_t(std::uint16_t(value & 0xFFFF)));
}

TLiveLogs::TLiveLogs(TChart& chart1, TChart& chart2, const TProcessImage& image,
                     std::function<int()> fotoProcent)
    : Chart1(chart1), Chart2(chart2),
      FTemp(Required(image.Point(QStringLiteral("Temperatur")), "Temperatur")),
      FMatning(Required(image.Point(QStringLiteral("Matning")), "Matning")),
      FIntegrator(Required(image.Point(QStringLiteral("IntegratorIntern")), "IntegratorIntern")),
      FFotoProcent(std::move(fotoProcent)),
      FTermoState(Required(image.Point(QStringLiteral("TermoState")), "TermoState")),
      FFotoState(Required(image.Point(QStringLiteral("FotoState")), "FotoState")),
      FSkruv(Required(image.Bit(QStringLiteral("Out1"), 3), "Skruv")),
      FRotor(Required(image.Bit(QStringLiteral("Out1"), 5), "Rotor")),
      FSpjall(Required(image.Bit(QStringLiteral("Out2"), 1), "Spjall")),
      FFlakt(Required(image.Bit(QStringLiteral("PortC"), 2), "Flakt")) {
    SetUpTemperatureChart();
    SetUpSequenceChart();
}

void TLiveLogs::SetUpTemperatureChart() {
    TChart& chart = Chart1;
    chart.SetTitle(QStringLiteral("Temperatur vs skruvmatning"));
    QCPAxis* integrator = chart.AddOuterRightAxis(7);
    chart.xAxis->setLabel(QStringLiteral("Tid (sek)"));
    chart.yAxis->setLabel(QString::fromUtf8("Temperatur °C"));
    chart.SetFixedRange(chart.yAxis, 500, 800);
    chart.yAxis2->setLabel(QStringLiteral("Matning %"));
    chart.yAxis2->grid()->setVisible(false);
    chart.SetFixedRange(chart.yAxis2, 0, 100);
    // A right-hand axis title reads from top to bottom: turned 270 degrees.
    integrator->setLabel(QStringLiteral("Integrator"));
    integrator->grid()->setVisible(false);
    chart.SetFixedRange(integrator, -1200, 1200);

    FTemperature << chart.AddSeries(QStringLiteral("Temp"), chart.yAxis, clRed)
                 << chart.AddSeries(QStringLiteral("Matning"), chart.yAxis2, clGreen)
                 << chart.AddSeries(QStringLiteral("Integrator"), integrator, TColor(0x40FF00u))
                 << chart.AddSeries(QStringLiteral("FotoCell.Intens"), chart.yAxis2, clBlue);

    // The legend goes under the plot: its entries in one row, centred.
    chart.legend->setVisible(true);
    chart.legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    chart.legend->setWrap(0);
    auto* legendRow = new QCPLayoutGrid;
    QCPLayoutGrid* layout = chart.plotLayout();
    layout->addElement(layout->rowCount(), 0, legendRow);
    layout->setRowStretchFactor(layout->rowCount() - 1, 0.001);
    legendRow->setMargins(QMargins(0, 0, 0, 6));
    legendRow->addElement(0, 0, new QCPLayoutElement(&chart));
    legendRow->addElement(0, 1, chart.legend);
    legendRow->addElement(0, 2, new QCPLayoutElement(&chart));
    chart.legend->setMaximumSize(chart.legend->minimumOuterSizeHint());
}

void TLiveLogs::SetUpSequenceChart() {
    TChart& chart = Chart2;
    chart.SetTitle(QStringLiteral("Sekvensdiagram"));
    chart.setBackground(ColorToQColor(clSilver, chart.palette()));
    chart.axisRect()->setBackground(Qt::NoBrush);
    chart.yAxis->setVisible(false);
    chart.yAxis->grid()->setVisible(false);
    chart.xAxis->grid()->setPen(QPen(Qt::black, 0, Qt::SolidLine));
    chart.xAxis->grid()->setSubGridVisible(false);
    chart.xAxis->setLabel(QStringLiteral("Tid (sek)"));
    chart.SetUserZoom(Qt::Horizontal);
    // Room at the left for the band titles and their 0/1 labels.
    chart.axisRect()->setAutoMargins(QCP::msTop | QCP::msRight | QCP::msBottom);
    chart.axisRect()->setMargins(QMargins(90, 0, 0, 0));

    struct TTrace {
        const char* Title;
        const char* AxisTitle;
        double Top;
        double Bottom;
        TColor Colour;
    };
    const TTrace traces[] = {
        {"Termostat", "Termostat", 2, 10, clRed},   {"Skruv", "Skruv", 17, 25, clGreen},
        {"FotoCell", "Fotocell", 32, 40, clYellow}, {"Rotor", "Rotor", 47, 55, clBlue},
        {"Spjäll", "Spjäll", 62, 70, clWhite},      {"Fläkt", "Fläkt", 77, 85, clGray},
    };
    for (const TTrace& trace : traces) {
        QCPAxis* axis = chart.AddBand(trace.Top, trace.Bottom);
        axis->setLabel(QString::fromUtf8(trace.AxisTitle));
        chart.SetFixedRange(axis, 0, 1);
        auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
        ticker->setTickStep(1);
        ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
        axis->setTicker(ticker);
        axis->setSubTicks(false);
        FSequence << chart.AddSeries(QString::fromUtf8(trace.Title), axis, trace.Colour, true);
    }
}

void TLiveLogs::SampleTemperature() {
    FTemperature[0]->AddY(FTemp->Value());
    FTemperature[1]->AddY(FMatning->Value());
    FTemperature[2]->AddY(SignedWord(FIntegrator->Value()));
    FTemperature[3]->AddY(FFotoProcent ? FFotoProcent() : 0);
}

void TLiveLogs::SampleSequence() {
    FSequence[0]->AddY(FTermoState->Value());
    FSequence[1]->AddY(FSkruv->Value());
    FSequence[2]->AddY(FFotoState->Value());
    FSequence[3]->AddY(FRotor->Value());
    FSequence[4]->AddY(FSpjall->Value());
    FSequence[5]->AddY(FFlakt->Value());
}

void TLiveLogs::EraseTemperature() {
    Erase(Chart1);
}

void TLiveLogs::EraseSequence() {
    Erase(Chart2);
}
