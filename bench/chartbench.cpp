// The cost of the logs as they grow: one log tick (a sample of every series
// of both logs, then both charts redrawn) with nothing, one day and one week
// of samples already held; saving and reading back a .Log file of one week;
// and the memory each held sample takes.
//
//   build/bench/chartbench [ticks per figure, default 30]
//
// Goals: under 16 ms per tick at one week, under 2 s for each of save and read.

#include "benchsupport.h"
#include "logfile.h"
#include "tchart.h"
#include "tformmain.h"
#include "tlivelogs.h"
#include "tprocessimage.h"
#include "ui_tformmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kDay = 86'400;
constexpr int kWeek = 7 * kDay;

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    return 0;
}

using TProfile = void (*)(TFormMain& form, int second);

void Set(TFormMain& form, const char* title, int value) {
    form.Image().Point(QString::fromLatin1(title))->UpdateWithNoEvent(value);
}

// The hardest data to draw: every value sweeps its whole range within a few
// seconds, so at one week every pixel column spans the chart's full height.
void Rough(TFormMain& form, int second) {
    Set(form, "Temperatur", 600 + (second * 7) % 150);
    Set(form, "Matning", (second * 3) % 100);
    Set(form, "IntegratorIntern", ((second * 11) % 2400 - 1200) & 0xFFFF);
    Set(form, "TermoState", (second / 600) % 2);
    Set(form, "FotoState", (second / 30) % 2);
    Set(form, "Out1", (second % 40 < 8 ? 1 << 3 : 0) | ((second / 5) % 2) << 5);
    Set(form, "Out2", ((second / 300) % 2) << 1);
    Set(form, "PortC", ((second / 120) % 2) << 2);
}

// A burner at work: temperature and integrator drift over an hour, the feed
// changes every few minutes, the sequence switches every few minutes.
void Burner(TFormMain& form, int second) {
    const double hour = second / 3600.0 * 2 * 3.14159265358979;
    Set(form, "Temperatur", 650 + int(60 * std::sin(hour)) + (second * 7919) % 3);
    Set(form, "Matning", 30 + 10 * ((second / 240) % 4));
    Set(form, "IntegratorIntern", int(800 * std::sin(hour / 3)) & 0xFFFF);
    Set(form, "TermoState", (second / 1800) % 2);
    Set(form, "FotoState", (second % 900) > 60);
    Set(form, "Out1", ((second % 120) < 20 ? 1 << 3 : 0) | ((second % 900) > 30) << 5);
    Set(form, "Out2", ((second % 900) > 10) << 1);
    Set(form, "PortC", ((second % 900) > 5) << 2);
}

void Fill(TFormMain& form, TProfile profile, int from, int to) {
    for (int second = from; second < to; ++second) {
        profile(form, second);
        form.Logs().SampleTemperature();
        form.Logs().SampleSequence();
    }
}

// Milliseconds per tick: the tick itself and a redraw of both charts.
double TickCost(TFormMain& form, TProfile profile, int ticks, int& second) {
    Ui::TFormMain& ui = form.Form();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < ticks; ++i) {
        profile(form, second++);
        form.Timer1Timer();
        ui.Chart1->replot();
        ui.Chart2->replot();
    }
    return double(timer.nsecsElapsed()) / 1e6 / ticks;
}

} // namespace

// A window whose two charts are both on screen at the size of the log page.
void ShowBothCharts(TFormMain& form) {
    form.resize(1280, 800);
    form.show();
    Ui::TFormMain& ui = form.Form();
    ui.Chart2->setParent(nullptr);
    ui.Chart2->resize(ui.Chart1->size());
    ui.Chart2->show();
    ui.PageControl1->setCurrentWidget(ui.TabSheet4);
    ui.CheckBoxLoggaTemp->setChecked(true);
    ui.CheckBoxLoggaState->setChecked(true);
    QApplication::processEvents();
}

// The tick's cost as the logs grow; the form keeps its week of samples.
void TickFigures(TFormMain& form, const char* name, TProfile profile, int ticks) {
    std::printf("  %s data:\n", name);
    int second = 0;
    const double empty = TickCost(form, profile, ticks, second);
    std::printf("    tick, %7d samples held: %6.2f ms\n", 0, empty);
    Fill(form, profile, second, kDay);
    second = kDay;
    const double day = TickCost(form, profile, ticks, second);
    std::printf("    tick, %7d samples held: %6.2f ms\n", kDay, day);
    Fill(form, profile, second, kWeek);
    second = kWeek;
    const double week = TickCost(form, profile, ticks, second);
    std::printf("    tick, %7d samples held: %6.2f ms  (goal 16 ms: %.2f of it)\n", kWeek, week,
                week / 16.0);
}

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    PrepareBenchEnvironment(runtime.path());
    QApplication application(argc, argv);
    const int ticks = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    const long emptyKiB = ResidentKiB();
    {
        TFormMain burner;
        ShowBothCharts(burner);
        std::printf("chartbench: charts %dx%d, %d ticks per figure\n",
                    burner.Form().Chart1->width(), burner.Form().Chart1->height(), ticks);
        TickFigures(burner, "burner-like", &Burner, ticks);
        const long weekKiB = ResidentKiB();
        const int held = burner.Logs().TemperatureSeries().constFirst()->Count();
        const int series =
            int(burner.Logs().TemperatureSeries().size() + burner.Logs().SequenceSeries().size());
        const double perSample = (weekKiB - emptyKiB) * 1024.0 / held;
        std::printf("  memory: %.1f MiB more for %d samples of %d series: %.0f bytes per sample, "
                    "%.1f per value\n",
                    (weekKiB - emptyKiB) / 1024.0, held, series, perSample, perSample / series);
    }
    TFormMain form;
    ShowBothCharts(form);
    TickFigures(form, "rough (worst case for drawing)", &Rough, ticks);
    const int held = form.Logs().TemperatureSeries().constFirst()->Count();

    // One week of the temperature log to a file and back.
    const QLocale locale(QLocale::Swedish, QLocale::Sweden);
    const QString path = runtime.filePath(QStringLiteral("vecka.Log"));
    QElapsedTimer timer;
    timer.start();
    SaveLogFile(path, LogFileLines(LoggHeaderLines(form.Image(), QStringLiteral("!"),
                                                   QDateTime::currentDateTime(), locale),
                                   {QStringLiteral("en vecka")}, form.Logs().TemperatureSeries(),
                                   locale));
    const double saveSeconds = timer.nsecsElapsed() / 1e9;
    for (TChartSeries* one : form.Logs().TemperatureSeries())
        one->Clear();
    timer.restart();
    int memoLines = 0;
    for (const QString& line : ReadLogFileLines(path))
        ReadTempLoggLine(
            line, form.Logs().TemperatureSeries(), [&](const QString&) { ++memoLines; }, locale);
    const double readSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("  .Log of one week (%.1f MiB): save %.2f s, read %.2f s  (goal 2 s: %.2f and "
                "%.2f of it)\n",
                QFileInfo(path).size() / 1048576.0, saveSeconds, readSeconds, saveSeconds / 2,
                readSeconds / 2);
    if (form.Logs().TemperatureSeries().constFirst()->Count() != held || memoLines != 1) {
        std::fprintf(stderr, "chartbench: the file did not read back whole\n");
        return 1;
    }
    return 0;
}
