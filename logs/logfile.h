#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <span>

class TChartSeries;
class TProcessImage;

// A log file is Windows-1252 text of three kinds of line: "!" header lines
// (date, controller version, parameter snapshot; skipped when read), "#"
// free-text lines (one line of the log's note field each) and data rows (one
// sample of every series of the log, joined by ";").

// The series of one log, in the order of a data row's fields.
struct LogLayout {
    std::span<const char* const> SeriesTitles; // UTF-8
    // The last series gets 0 for a row that lacks its field, so that every
    // row read gives it a point.
    bool LastZeroWhenMissing;

    qsizetype SeriesCount() const { return qsizetype(SeriesTitles.size()); }
};

// The temperature log (.Log): "Temp";"Matning";"Integrator";"FotoCell.Intens".
extern const LogLayout kTempLogLayout;
// The sequence log (.Seq): "Termostat";"Skruv";"FotoCell";"Rotor";"Spjäll";"Fläkt".
extern const LogLayout kStateLogLayout;

// --- Writing ---

// The date and time of a log header: the locale's short date format, a
// blank, the locale's long time format without its time-zone element.
QString LogDateTime(const QDateTime& now, const QLocale& locale);

// Header lines 1 to 4, each beginning with Prefix: the date, the controller
// version as last received, "[Parametrar]", and one "key = value" line per
// parameter key. Scaled values are the exact product Value x Scale.
QStringList LoggHeaderLines(const TProcessImage& image, const QString& Prefix, const QDateTime& now,
                            const QLocale& locale);

// The whole file: the header lines, "#" and each free-text line, then one
// row per sample index. Rows stop at the shortest series (after a file whose
// rows lacked fields the series can differ in length), so no row reads past
// the end of a series and every row has all of its fields.
QStringList LogFileLines(const QStringList& headerLines, const QStringList& memoLines,
                         const QList<TChartSeries*>& series, const QLocale& locale);

// The bytes of a log file of these lines: Windows-1252, each line followed
// by CR LF.
QByteArray LogFileText(const QStringList& lines);

// Writes the lines in Windows-1252, each followed by CR LF. The text goes to
// a temporary file beside the target that takes the target's place only
// once it is complete: a failed save leaves an earlier file as it was and no
// fragment of the new one. Throws std::runtime_error "Cannot create file
// <path>" when the file cannot be created, written or put in place.
void SaveLogFile(const QString& path, const QStringList& lines);

// --- Reading ---

// The lines of Windows-1252 text. A line ends at CR, LF or CR LF; a final
// line end gives no further empty line; a zero byte ends the text.
QStringList SplitLogLines(QByteArrayView bytes);

// Reads the whole file first and returns its lines as SplitLogLines does.
// Throws std::runtime_error "Cannot open file <path>" when it cannot be read.
QStringList ReadLogFileLines(const QString& path);

// The fields of a data row: the texts before the first ";", between
// consecutive ";" and after the last one. A final ";" opens no further
// field; an empty line has none. At most ten fields: the rest of a longer
// line is not looked at.
QStringList SplitLogFields(QStringView line);

using TAddMemoLine = std::function<void(const QString& line)>;

// Interprets one line of a file of the layout's log: a "!" line is skipped;
// a "#" line hands the rest of the line to addMemoLine; any other line's
// fields are converted with the locale's number format and appended, field
// by field, to the series in order (the series must be the layout's, in its
// order). Fields beyond the series are ignored. A field that is not a number
// throws std::runtime_error "'<field>' is not a valid floating point value";
// the values appended before it stay.
void ReadLogLine(const QString& Line, const LogLayout& layout, const QList<TChartSeries*>& series,
                 const TAddMemoLine& addMemoLine, const QLocale& locale);

// ReadLogLine for the temperature log: series "Temp" to "FotoCell.Intens".
void ReadTempLoggLine(const QString& Line, const QList<TChartSeries*>& series,
                      const TAddMemoLine& addMemoLine, const QLocale& locale);
// ReadLogLine for the sequence log: series "Termostat" to "Fläkt".
void ReadStateLoggLine(const QString& Line, const QList<TChartSeries*>& series,
                       const TAddMemoLine& addMemoLine, const QLocale& locale);
