#include "logfile.h"

#include "ansitext.h"
#include "numbertext.h"
#include "parameterkeys.h"
#include "tchart.h"
#include "tprocessimage.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr const char* kTempLogTitles[] = {"Temp", "Matning", "Integrator", "FotoCell.Intens"};
constexpr const char* kStateLogTitles[] = {
    "Termostat", "Skruv", "FotoCell", "Rotor", "Spj\xc3\xa4ll", "Fl\xc3\xa4kt",
};

constexpr qsizetype kMaxFields = 10;

[[noreturn]] void Fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

// A time format without its time-zone field ("t" and longer runs outside
// quotes), and without the blank or the brackets that only set it apart:
// "HH:mm:ss t" -> "HH:mm:ss", "t HH:mm:ss" -> "HH:mm:ss",
// "H:mm:ss (t)" -> "H:mm:ss".
QString WithoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == u't')
            ++i;
        if (result.endsWith(u'(') && i + 1 < format.size() && format[i + 1] == u')') {
            result.chop(1);
            ++i;
        }
        while (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
        if (result.isEmpty()) {
            while (i + 1 < format.size() && format[i + 1].isSpace())
                ++i;
        }
    }
    return result;
}

QString SnapshotValue(const TZuIO& point, ParameterForm form, const QLocale& locale) {
    if (form == ParameterForm::Scaled)
        return FormatNumber(double(point.Value()) * point.Scale, locale);
    return QString::number(point.Value());
}

QString DataRow(const QList<TChartSeries*>& series, int index, const QLocale& locale) {
    QStringList values;
    values.reserve(series.size());
    for (const TChartSeries* s : series)
        values.append(FormatNumber(s->YValue(index), locale));
    return values.join(u';');
}

double FieldValue(const QString& field, const QLocale& locale) {
    const std::optional<double> value = ParseNumber(field, locale);
    if (!value)
        Fail(QStringLiteral("'%1' is not a valid floating point value").arg(field));
    return *value;
}

} // namespace

const LogLayout kTempLogLayout{kTempLogTitles, true};
const LogLayout kStateLogLayout{kStateLogTitles, false};

QString LogDateTime(const QDateTime& now, const QLocale& locale) {
    return locale.toString(now.date(), locale.dateFormat(QLocale::ShortFormat)) + u' ' +
           locale.toString(now.time(), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QStringList LoggHeaderLines(const TProcessImage& image, const QString& Prefix, const QDateTime& now,
                            const QLocale& locale) {
    const TZuIO* version = image.Point(QStringLiteral("Version"));
    if (!version)
        throw std::logic_error("No point Version");
    QStringList lines;
    lines.append(Prefix + QStringLiteral(";Datum:") + LogDateTime(now, locale));
    lines.append(Prefix + QStringLiteral(";Kolvo Version:") + version->TextValue);
    lines.append(Prefix + QStringLiteral("[Parametrar]"));
    for (const ParameterKey& key : ParameterKeys()) {
        lines.append(Prefix + QLatin1String(key.Key) + QStringLiteral(" = ") +
                     SnapshotValue(ParameterPoint(image, key), key.Form, locale));
    }
    return lines;
}

QStringList LogFileLines(const QStringList& headerLines, const QStringList& memoLines,
                         const QList<TChartSeries*>& series, const QLocale& locale) {
    QStringList lines = headerLines;
    for (const QString& memo : memoLines)
        lines.append(u'#' + memo);
    int rows = 0;
    if (!series.isEmpty()) {
        rows = (*std::min_element(series.begin(), series.end(), [](auto* a, auto* b) {
                   return a->Count() < b->Count();
               }))->Count();
    }
    for (int i = 0; i < rows; ++i)
        lines.append(DataRow(series, i, locale));
    return lines;
}

QByteArray LogFileText(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines) {
        text += ToAnsi(line);
        text += "\r\n";
    }
    return text;
}

void SaveLogFile(const QString& path, const QStringList& lines) {
    const QString failure = QStringLiteral("Cannot create file %1").arg(path);
    const QByteArray text = LogFileText(lines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        Fail(failure);
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        Fail(failure);
    }
    if (!file.commit())
        Fail(failure);
}

QStringList SplitLogLines(QByteArrayView bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    const QString text = FromAnsi(zero < 0 ? bytes : bytes.first(zero));
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines.append(text.sliced(start, end - start));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

QStringList ReadLogFileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot open file %1").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Fail(QStringLiteral("Cannot open file %1").arg(path));
    return SplitLogLines(bytes);
}

QStringList SplitLogFields(QStringView line) {
    QStringList fields;
    qsizetype start = 0;
    while (start < line.size() && fields.size() < kMaxFields) {
        qsizetype end = line.indexOf(u';', start);
        if (end < 0)
            end = line.size();
        fields.append(line.sliced(start, end - start).toString());
        start = end + 1;
    }
    return fields;
}

void ReadLogLine(const QString& Line, const LogLayout& layout, const QList<TChartSeries*>& series,
                 const TAddMemoLine& addMemoLine, const QLocale& locale) {
    if (series.size() != layout.SeriesCount())
        throw std::logic_error("ReadLogLine: the series do not match the layout");
    if (Line.startsWith(u'!'))
        return;
    if (Line.startsWith(u'#')) {
        addMemoLine(Line.sliced(1));
        return;
    }
    const QStringList fields = SplitLogFields(Line);
    for (qsizetype k = 0; k < series.size(); ++k) {
        if (k < fields.size())
            series[k]->AddY(FieldValue(fields[k], locale));
        else if (layout.LastZeroWhenMissing && k == series.size() - 1)
            series[k]->AddY(0.0);
    }
}

void ReadTempLoggLine(const QString& Line, const QList<TChartSeries*>& series,
                      const TAddMemoLine& addMemoLine, const QLocale& locale) {
    ReadLogLine(Line, kTempLogLayout, series, addMemoLine, locale);
}

void ReadStateLoggLine(const QString& Line, const QList<TChartSeries*>& series,
                       const TAddMemoLine& addMemoLine, const QLocale& locale) {
    ReadLogLine(Line, kStateLogLayout, series, addMemoLine, locale);
}
