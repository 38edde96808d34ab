#pragma once

#include <QList>

#include <functional>

class TChart;
class TChartSeries;
class TProcessImage;
class TZuBit;
class TZuIO;

// The two live logs: the temperature chart (temperature, feed, integrator,
// photo-cell intensity) and the sequence chart (thermostat, screw, photo
// cell, rotor, damper, fan, one band each). Sampling copies the current local
// values of the points; it never talks to the controller.
class TLiveLogs {
public:
    // `fotoProcent` gives the photo-cell percentage the link keeps.
    TLiveLogs(TChart& Chart1, TChart& Chart2, const TProcessImage& image,
              std::function<int()> fotoProcent);

    // In file column order: "Temp", "Matning", "Integrator", "FotoCell.Intens".
    const QList<TChartSeries*>& TemperatureSeries() const { return FTemperature; }
    // "Termostat", "Skruv", "FotoCell", "Rotor", "Spjäll", "Fläkt".
    const QList<TChartSeries*>& SequenceSeries() const { return FSequence; }

    // One sample of every series of a log, in series order.
    void SampleTemperature();
    void SampleSequence();

    // Clears every series of a log and drops the user's zoom.
    void EraseTemperature();
    void EraseSequence();

    TChart& Chart1;
    TChart& Chart2;

private:
    void SetUpTemperatureChart();
    void SetUpSequenceChart();

    TZuIO* FTemp;
    TZuIO* FMatning;
    TZuIO* FIntegrator;
    std::function<int()> FFotoProcent;
    TZuIO* FTermoState;
    TZuIO* FFotoState;
    TZuBit* FSkruv;
    TZuBit* FRotor;
    TZuBit* FSpjall;
    TZuBit* FFlakt;
    QList<TChartSeries*> FTemperature;
    QList<TChartSeries*> FSequence;
};

// The integrator as plotted: the low 16 bits of the point as a signed number.
int SignedWord(int value);
