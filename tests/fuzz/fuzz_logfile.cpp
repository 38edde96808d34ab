// Log files of any content read into the two logs. Reading never crashes;
// a bad field stops it with the platform's message. What was read, saved
// by the saver and read again, gives the same series and free text; a
// second save gives the same bytes as the first.

#include "fuzzsupport.h"
#include "logfile.h"
#include "tchart.h"
#include "tprocessimage.h"

#include <QLineEdit>

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace {

struct Log {
    explicit Log(int series) {
        for (int i = 0; i < series; ++i)
            Series << chart.AddSeries(QString::number(i), chart.yAxis, clRed);
    }
    void Clear() {
        for (TChartSeries* one : Series)
            one->Clear();
        Memo.clear();
    }
    // Reads lines as the window does; false when a field stopped it.
    bool Read(const QStringList& lines, bool temperature, const QLocale& locale) {
        try {
            for (const QString& line : lines)
                (temperature ? ReadTempLoggLine : ReadStateLoggLine)(
                    line, Series, [this](const QString& memo) { Memo << memo; }, locale);
        } catch (const std::runtime_error& error) {
            FUZZ_CHECK(QString::fromUtf8(error.what())
                           .endsWith(QStringLiteral("' is not a valid floating point value")));
            return false;
        }
        return true;
    }
    QList<QList<double>> Columns() const {
        QList<QList<double>> columns;
        for (const TChartSeries* one : Series) {
            QList<double> column;
            for (int i = 0; i < one->Count(); ++i)
                column << one->YValue(i);
            columns << column;
        }
        return columns;
    }
    TChart chart;
    QList<TChartSeries*> Series;
    QStringList Memo;
};

bool Same(double a, double b) {
    return a == b || std::fabs(a - b) <= std::fabs(a) * 1e-14;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static Log temperature(4);
    static Log sequence(6);
    const bool isTemperature = data[0] & 2;
    Log& log = isTemperature ? temperature : sequence;
    const QLocale locale = FuzzLocale(data[0]);
    log.Clear();
    log.Read(SplitLogLines(QByteArrayView(data + 1, qsizetype(size - 1))), isTemperature, locale);

    // Save what was read (rows up to the shortest series) and read it back.
    const QStringList header = {QStringLiteral("!;Datum:x"), QStringLiteral("![Parametrar]")};
    const QStringList first = LogFileLines(header, log.Memo, log.Series, locale);
    QList<QList<double>> written = log.Columns();
    qsizetype rows = written.isEmpty() ? 0 : written[0].size();
    for (const QList<double>& column : written)
        rows = std::min(rows, column.size());
    for (QList<double>& column : written)
        column.resize(rows);
    const QStringList memo = log.Memo;
    log.Clear();
    const QByteArray firstBytes = LogFileText(first);
    FUZZ_CHECK(log.Read(SplitLogLines(firstBytes), isTemperature, locale));
    FUZZ_CHECK(log.Memo == memo);
    const QList<QList<double>> read = log.Columns();
    FUZZ_CHECK(read.size() == written.size());
    for (qsizetype s = 0; s < read.size(); ++s) {
        FUZZ_CHECK(read[s].size() == rows);
        for (qsizetype i = 0; i < rows; ++i)
            FUZZ_CHECK(Same(written[s][i], read[s][i]));
    }
    FUZZ_CHECK(LogFileText(LogFileLines(header, log.Memo, log.Series, locale)) == firstBytes);
    return 0;
}
