#include "tst_logfile.h"

#include "ansitext.h"
#include "logfile.h"
#include "tchart.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <stdexcept>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using SeriesValues = QList<QList<double>>;

namespace {

// A chart holding the series of one log, in the log's order.
struct LogChart {
    explicit LogChart(const LogLayout& layout) {
        for (const char* title : layout.SeriesTitles)
            series.append(chart.AddSeries(QString::fromUtf8(title), chart.yAxis, clRed));
    }
    void Fill(const SeriesValues& values) {
        for (qsizetype k = 0; k < values.size(); ++k) {
            for (double y : values[k])
                series[k]->AddY(y);
        }
    }
    SeriesValues Values() const {
        SeriesValues values;
        for (const TChartSeries* s : series) {
            QList<double> ys;
            for (int i = 0; i < s->Count(); ++i)
                ys.append(s->YValue(i));
            values.append(ys);
        }
        return values;
    }

    TChart chart;
    QList<TChartSeries*> series;
};

const LogLayout& LayoutNamed(const QString& name) {
    return name == QLatin1String("temp") ? kTempLogLayout : kStateLogLayout;
}

// Hands each line to the log's reader the way the window does: reading
// stops at the first error, whose message is returned.
QString ReadInto(LogChart& chart, const QString& layout, const QStringList& lines,
                 QStringList& memo, const QLocale& locale) {
    const auto reader = layout == QLatin1String("temp") ? ReadTempLoggLine : ReadStateLoggLine;
    const TAddMemoLine addMemo = [&memo](const QString& line) { memo.append(line); };
    try {
        for (const QString& line : lines)
            reader(line, chart.series, addMemo, locale);
    } catch (const std::runtime_error& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

const QDateTime kExampleTime(QDate(2003, 5, 14), QTime(13, 45, 10));

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry under a folder with the bytes of the files: what a failed save
// must leave exactly as it was.
QMap<QString, QByteArray> FolderContent(const QString& folder) {
    QMap<QString, QByteArray> content;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        content.insert(QDir(folder).relativeFilePath(path),
                       it.fileInfo().isDir() ? QByteArray("<folder>") : FileBytes(path));
    }
    return content;
}

} // namespace

void TestLogFile::splitFields_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QStringList many;
    for (int i = 1; i <= 5000; ++i)
        many.append(QString::number(i));

    QTest::newRow("empty line") << QString() << QStringList{};
    QTest::newRow("one field") << "612" << QStringList{"612"};
    QTest::newRow("two fields") << "612;45" << QStringList{"612", "45"};
    QTest::newRow("final semicolon opens no field")
        << "612;45;-12;35;" << QStringList{"612", "45", "-12", "35"};
    QTest::newRow("only a semicolon") << ";" << QStringList{""};
    QTest::newRow("leading semicolon") << ";45" << QStringList{"", "45"};
    QTest::newRow("adjacent semicolons") << "612;;35" << QStringList{"612", "", "35"};
    QTest::newRow("empty field before final semicolon") << "612;;" << QStringList{"612", ""};
    QTest::newRow("blanks kept") << " 1 ; 2" << QStringList{" 1 ", " 2"};
    QTest::newRow("ten fields") << "1;2;3;4;5;6;7;8;9;10"
                                << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("thousands of fields give ten") << many.join(u';') << many.first(10);
}

void TestLogFile::splitFields() {
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitLogFields(line), fields);
}

void TestLogFile::splitLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const QStringList ab{"a", "b"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("no line end") << QByteArray("a") << QStringList{"a"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << ab;
    QTest::newRow("LF only") << QByteArray("a\nb\n") << ab;
    QTest::newRow("CR only") << QByteArray("a\rb\r") << ab;
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << ab;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{"", ""};
    QTest::newRow("LF then CR ends two lines") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("zero byte ends the text")
        << QByteArray("a\r\nb\0c\r\nd", 10) << QStringList{"a", "b"};
    QTest::newRow("zero byte first") << QByteArray("\0a\r\n", 4) << QStringList{};
    QTest::newRow("Windows-1252") << QByteArray("Spj\xe4ll \x80\r\n")
                                  << QStringList{QString::fromUtf8("Spjäll €")};
}

void TestLogFile::splitLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(SplitLogLines(bytes), lines);
}

// Each row: the log whose reader gets the lines, the locale, the lines; the
// series afterwards, the free-text lines added and the error that stopped
// reading (empty when none).
void TestLogFile::readLines_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<SeriesValues>("values");
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<QString>("error");

    QTest::newRow("full .Log rows")
        << "temp"
        << "sv" << QStringList{"612;45;-12;35", "613;45;-10;35"}
        << SeriesValues{{612, 613}, {45, 45}, {-12, -10}, {35, 35}} << QStringList{} << "";
    QTest::newRow("two fields: FotoCell.Intens gets 0")
        << "temp"
        << "sv" << QStringList{"612;45"} << SeriesValues{{612}, {45}, {}, {0}} << QStringList{}
        << "";
    QTest::newRow("three columns throughout")
        << "temp"
        << "sv" << QStringList{"1;2;3", "4;5;6"} << SeriesValues{{1, 4}, {2, 5}, {3, 6}, {0, 0}}
        << QStringList{} << "";
    QTest::newRow("final semicolon gives four fields")
        << "temp"
        << "sv" << QStringList{"612;45;-12;35;"} << SeriesValues{{612}, {45}, {-12}, {35}}
        << QStringList{} << "";
    QTest::newRow("empty line, temperature log")
        << "temp"
        << "sv" << QStringList{""} << SeriesValues{{}, {}, {}, {0}} << QStringList{} << "";
    QTest::newRow("empty line, sequence log")
        << "state"
        << "sv" << QStringList{""} << SeriesValues{{}, {}, {}, {}, {}, {}} << QStringList{} << "";
    QTest::newRow("header lines skipped, whatever follows the !")
        << "temp"
        << "sv"
        << QStringList{"!;Datum:2003-05-14 13:45:10",
                       "![Parametrar]",
                       "!T1 = 59,96544",
                       "!",
                       "!1;2;3;4",
                       "!not a number;x"}
        << SeriesValues{{}, {}, {}, {}} << QStringList{} << "";
    QTest::newRow("free-text lines")
        << "state"
        << "sv" << QStringList{"#Ny skruv monterad", "#", "##hash", "#!bang", "#1;2"}
        << SeriesValues{{}, {}, {}, {}, {}, {}}
        << QStringList{"Ny skruv monterad", "", "#hash", "!bang", "1;2"} << "";
    QTest::newRow(".Seq read as temperature log: first four columns")
        << "temp"
        << "sv" << QStringList{"1;0;1;0;1;1"} << SeriesValues{{1}, {0}, {1}, {0}} << QStringList{}
        << "";
    QTest::newRow(".Log read as sequence log: Termostat to Rotor")
        << "state"
        << "sv" << QStringList{"612;45;-12;35"} << SeriesValues{{612}, {45}, {-12}, {35}, {}, {}}
        << QStringList{} << "";
    QTest::newRow("fields after the series are not converted")
        << "state"
        << "sv" << QStringList{"1;2;3;4;5;6;x;;y;z;w"} << SeriesValues{{1}, {2}, {3}, {4}, {5}, {6}}
        << QStringList{} << "";
    QTest::newRow("fractions and exponents, Swedish")
        << "temp"
        << "sv" << QStringList{"612,5;-1,25E1;1e-6;+3"}
        << SeriesValues{{612.5}, {-12.5}, {1e-6}, {3}} << QStringList{} << "";
    QTest::newRow("comma file under a point locale stops at the first fraction")
        << "temp"
        << "en"
        << QStringList{"#note", "600;45;-1;35", "612;45,5;-12;35", "613;45;-10;35", "#later"}
        << SeriesValues{{600, 612}, {45}, {-1}, {35}} << QStringList{"note"}
        << "'45,5' is not a valid floating point value";
    QTest::newRow("empty field") << "state"
                                 << "sv" << QStringList{"1;;1"}
                                 << SeriesValues{{1}, {}, {}, {}, {}, {}} << QStringList{}
                                 << "'' is not a valid floating point value";
    QTest::newRow("text in the last temperature field: no 0 instead")
        << "temp"
        << "sv" << QStringList{"1;2;3;abc"} << SeriesValues{{1}, {2}, {3}, {}} << QStringList{}
        << "'abc' is not a valid floating point value";
    QTest::newRow("line beginning with a blank is a data row")
        << "temp"
        << "sv" << QStringList{" !x"} << SeriesValues{{}, {}, {}, {}} << QStringList{}
        << "' !x' is not a valid floating point value";
}

void TestLogFile::readLines() {
    QFETCH(QString, layout);
    QFETCH(QString, locale);
    QFETCH(QStringList, lines);
    QFETCH(SeriesValues, values);
    QFETCH(QStringList, memo);
    QFETCH(QString, error);

    LogChart chart(LayoutNamed(layout));
    QStringList added;
    QCOMPARE(ReadInto(chart, layout, lines, added, LocaleNamed(locale)), error);
    QCOMPARE(chart.Values(), values);
    QCOMPARE(added, memo);
}

void TestLogFile::logDateTime_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("Swedish") << SwedishLocale() << "2003-05-14 13:45:10";
    QTest::newRow("US English") << PointLocale() << "5/14/03 1:45:10 PM";
    QTest::newRow("zone in brackets")
        << QLocale(QLocale::Spanish, QLocale::Spain) << "14/5/03 13:45:10";
    QTest::newRow("zone first") << QLocale(QLocale::Chinese, QLocale::China)
                                << "2003/5/14 13:45:10";
}

void TestLogFile::logDateTime() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(LogDateTime(kExampleTime, locale), text);
}

void TestLogFile::headerMatchesExample() {
    LocaleScope scope(PointLocale()); // the locale passed in counts, not the default
    TestImage image;
    image.Point("T1").UpdateWithNoEvent(915);
    image.Point("EEMaxtid").UpdateWithNoEvent(180);
    LogChart chart(kTempLogLayout);
    chart.Fill({{612, 613}, {45, 45}, {-12, -10}, {35, 35}});

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("logg.Log"));
    SaveLogFile(path, LogFileLines(LoggHeaderLines(image.image, "!", kExampleTime, SwedishLocale()),
                                   {"Ny skruv monterad"}, chart.series, SwedishLocale()));

    const QByteArray expected = "!;Datum:2003-05-14 13:45:10\r\n"
                                "!;Kolvo Version:\r\n"
                                "![Parametrar]\r\n"
                                "!T1 = 59,96544\r\n"
                                "!T2 = 0\r\n"
                                "!T2B = 0\r\n"
                                "!T3 = 0\r\n"
                                "!T4 = 0\r\n"
                                "!Periodtid = 0\r\n"
                                "!T7 = 0\r\n"
                                "!T8 = 0\r\n"
                                "!VMax = 0\r\n"
                                "!VTill = 0\r\n"
                                "!Reduceringstid = 0\r\n"
                                "!N_FelInnanLarm = 0\r\n"
                                "!TempSet = 0\r\n"
                                "!PulsKvotMax = 0\r\n"
                                "!PulsKvotMin = 0\r\n"
                                "!Reduceringsprocent = 0\r\n"
                                "!DriftTid = 0\r\n"
                                "!DriftGrans = 0\r\n"
                                "!PT = 0\r\n"
                                "!PN = 0\r\n"
                                "!Integrator = 0\r\n"
                                "!LarmMask = 0\r\n"
                                "!LarmTemp = 0\r\n"
                                "!MaxTid = 180\r\n"
                                "#Ny skruv monterad\r\n"
                                "612;45;-12;35\r\n"
                                "613;45;-10;35\r\n";
    QCOMPARE(FileBytes(path), expected);

    image.Point("Version").TextValue = QStringLiteral("2.3b");
    QCOMPARE(LoggHeaderLines(image.image, "P", kExampleTime, SwedishLocale()).mid(1, 2),
             (QStringList{"P;Kolvo Version:2.3b", "P[Parametrar]"}));
}

// Each row: locale, point, raw value; the snapshot line of the point's key.
void TestLogFile::snapshotValues_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("point");
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("line");

    QTest::newRow("exact product, not the shown 0,86") << "sv"
                                                       << "T1" << 13 << "!T1 = 0,851968";
    QTest::newRow("point locale") << "en"
                                  << "T1" << 13 << "!T1 = 0.851968";
    QTest::newRow("one unit") << "sv"
                              << "VTill" << 1 << "!VTill = 0,065536";
    QTest::newRow("Periodtid is T6") << "sv"
                                     << "T6" << 915 << "!Periodtid = 59,96544";
    QTest::newRow("largest timer") << "sv"
                                   << "EEReduceringstid" << 65535 << "!Reduceringstid = 4294,90176";
    QTest::newRow("raw without separators") << "en"
                                            << "EEMaxtid" << 65535 << "!MaxTid = 65535";
    QTest::newRow("PT") << "sv" << QString::fromUtf8("K-Värde Täljare") << 7 << "!PT = 7";
    QTest::newRow("PN") << "sv" << QString::fromUtf8("K-Värde Nämnare") << 8 << "!PN = 8";
    QTest::newRow("LarmMask") << "sv"
                              << "LarmMask" << 31 << "!LarmMask = 31";
}

void TestLogFile::snapshotValues() {
    QFETCH(QString, locale);
    QFETCH(QString, point);
    QFETCH(int, raw);
    QFETCH(QString, line);

    TestImage image;
    image.image.Point(point)->UpdateWithNoEvent(raw);
    const QStringList lines = LoggHeaderLines(image.image, "!", kExampleTime, LocaleNamed(locale));
    QCOMPARE(lines.size(), 3 + 24);
    const QString keyPrefix = line.left(line.indexOf(QLatin1String(" = ")) + 3);
    QStringList matching;
    for (const QString& header : lines) {
        if (header.startsWith(keyPrefix))
            matching.append(header);
    }
    QCOMPARE(matching, QStringList{line});
}

void TestLogFile::rowsStopAtShortestSeries() {
    LogChart chart(kTempLogLayout);
    chart.Fill({{1, 2, 3}, {10, 20}, {100, 200, 300}, {1000, 2000, 3000}});
    QCOMPARE(LogFileLines({"!h"}, {"m"}, chart.series, SwedishLocale()),
             (QStringList{"!h", "#m", "1;10;100;1000", "2;20;200;2000"}));
}

// Each row: log, locale, free-text lines and series saved to a file and read back.
void TestLogFile::roundTrip_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<SeriesValues>("values");

    QTest::newRow("temperature log, Swedish")
        << "temp"
        << "sv"
        << QStringList{"Ny skruv monterad",
                       "#börjar med brädgård",
                       "!börjar med utropstecken",
                       "",
                       "  blanks  ",
                       "a;b",
                       QString::fromUtf8("€ åäö")}
        << SeriesValues{{612.5, 600, -0.25}, {45, 46, 47}, {-12, -32768, 65535}, {35, 1e-6, 1e20}};
    QTest::newRow("sequence log, point locale")
        << "state"
        << "en" << QStringList{"#", ""}
        << SeriesValues{{1, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 0}, {0.5, 2.25}};
    QTest::newRow("empty log") << "temp"
                               << "sv" << QStringList{"bara text"} << SeriesValues{{}, {}, {}, {}};
    QTest::newRow("nothing at all")
        << "state"
        << "sv" << QStringList{} << SeriesValues{{}, {}, {}, {}, {}, {}};
}

void TestLogFile::roundTrip() {
    QFETCH(QString, layout);
    QFETCH(QString, locale);
    QFETCH(QStringList, memo);
    QFETCH(SeriesValues, values);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("logg"));
    TestImage image;
    LogChart saved(LayoutNamed(layout));
    saved.Fill(values);
    SaveLogFile(path,
                LogFileLines(LoggHeaderLines(image.image, "!", kExampleTime, LocaleNamed(locale)),
                             memo, saved.series, LocaleNamed(locale)));

    LogChart read(LayoutNamed(layout));
    QStringList readMemo;
    QCOMPARE(ReadInto(read, layout, ReadLogFileLines(path), readMemo, LocaleNamed(locale)),
             QString());
    QCOMPARE(read.Values(), values);
    QCOMPARE(readMemo, memo);
}

void TestLogFile::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("kind");

    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder does not exist") << "missing";
    QTest::newRow("read-only folder") << "read-only";
#ifdef Q_OS_UNIX
    QTest::newRow("write fails part way") << "size limit";
#endif
}

void TestLogFile::failedSaveKeepsOldFile() {
    QFETCH(QString, kind);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray old = "!old\r\n612;45;-12;35\r\n";
    QString path = dir.filePath(QStringLiteral("logg.Log"));
    QStringList lines{"!new", "1;2;3;4"};
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("logg.Log")));
        WriteBytes(path + QStringLiteral("/inside.Log"), old);
    } else if (kind == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("missing/logg.Log"));
    } else {
        WriteBytes(path, old);
    }

    const bool readOnly = kind == QLatin1String("read-only");
    auto writable = qScopeGuard([&] {
        if (readOnly)
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (readOnly) {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(dir.filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("permissions do not stop this user writing");
        }
    }

    const QMap<QString, QByteArray> before = FolderContent(dir.path());
    QString message;
    {
#ifdef Q_OS_UNIX
        // Writes beyond 4 KiB fail (EFBIG) instead of raising SIGXFSZ, for
        // the time of the save only.
        const bool limited = kind == QLatin1String("size limit");
        rlimit previousLimit{};
        void (*previousHandler)(int) = SIG_DFL;
        if (limited) {
            lines.append(QStringList(2000, QStringLiteral("612;45;-12;35")));
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
            rlimit limit = previousLimit;
            limit.rlim_cur = std::min<rlim_t>(4096, limit.rlim_max);
            previousHandler = std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        auto unlimited = qScopeGuard([&] {
            if (limited) {
                setrlimit(RLIMIT_FSIZE, &previousLimit);
                std::signal(SIGXFSZ, previousHandler);
            }
        });
#endif
        try {
            SaveLogFile(path, lines);
        } catch (const std::runtime_error& error) {
            message = QString::fromUtf8(error.what());
        }
    }
    QCOMPARE(message, QStringLiteral("Cannot create file %1").arg(path));
    QCOMPARE(FolderContent(dir.path()), before);
}

void TestLogFile::saveReplacesFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("logg.Seq"));
    WriteBytes(path, QByteArray(5000, 'x'));
    SaveLogFile(path, {QString::fromUtf8("#Spjäll €"), QString()});
    QCOMPARE(FileBytes(path), QByteArray("#Spj\xe4ll \x80\r\n\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"logg.Seq"});
}

void TestLogFile::unreadableFile_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("no such file") << "missing.Log";
    QTest::newRow("a folder") << "folder.Log";
}

void TestLogFile::unreadableFile() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.Log")));
    const QString path = dir.filePath(name);
    QString message;
    try {
        ReadLogFileLines(path);
    } catch (const std::runtime_error& error) {
        message = QString::fromUtf8(error.what());
    }
    QCOMPARE(message, QStringLiteral("Cannot open file %1").arg(path));
}
