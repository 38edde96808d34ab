#include "tst_parameterfile.h"

#include "ansitext.h"
#include "inifile.h"
#include "logfile.h"
#include "numbertext.h"
#include "parameterfile.h"
#include "testsupport.h"
#include "tst_logfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

constexpr int kStartValue = 1;

// Every point at kStartValue, set as if received: no change event yet.
void StartAll(TestImage& image, int value = kStartValue) {
    for (TZuIO* point : image.image.Points())
        point->UpdateWithNoEvent(value);
}

// "title=value" for every point of the image: those named get the values
// given, all others kStartValue.
QStringList Values(const TestImage& image) {
    QStringList values;
    for (const TZuIO* point : image.image.Points())
        values.append(point->Title() + u'=' + QString::number(point->Value()));
    return values;
}
QStringList ExpectedValues(const TestImage& image, const QStringList& titles,
                           const QList<int>& values) {
    QStringList expected;
    for (const TZuIO* point : image.image.Points()) {
        const qsizetype named = titles.indexOf(point->Title());
        expected.append(point->Title() + u'=' +
                        QString::number(named < 0 ? kStartValue : values[named]));
    }
    return expected;
}

} // namespace

// Each row: file bytes, section and key asked for; the value, or none.
void TestParameterFile::iniValues_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::optional<QString>>("value");

    const std::optional<QString> none;
    QTest::newRow("key in its section")
        << QByteArray("[Parametrar]\r\nMaxTid=200\r\n") << "Parametrar"
        << "MaxTid" << std::optional<QString>("200");
    QTest::newRow("section and key without regard to case")
        << QByteArray("[PARAMETRAR]\nmaxtid=200\n") << "Parametrar"
        << "MAXTID" << std::optional<QString>("200");
    QTest::newRow("blanks and tabs around name, key and value")
        << QByteArray("  [ P ] \n \tK \t=  2 0 \t\n") << "P"
        << "K" << std::optional<QString>("2 0");
    QTest::newRow("empty value") << QByteArray("[P]\nK=\n") << "P"
                                 << "K" << std::optional<QString>("");
    QTest::newRow("first occurrence counts") << QByteArray("[P]\nK=1\nk=2\n") << "P"
                                             << "K" << std::optional<QString>("1");
    QTest::newRow("section twice: later keys found")
        << QByteArray("[P]\nA=1\n[Q]\nB=2\n[p]\nB=3\nA=4\n") << "P"
        << "B" << std::optional<QString>("3");
    QTest::newRow("section twice: first occurrence still counts")
        << QByteArray("[P]\nA=1\n[Q]\nB=2\n[p]\nB=3\nA=4\n") << "P"
        << "A" << std::optional<QString>("1");
    QTest::newRow("key of another section") << QByteArray("[Q]\nK=1\n[P]\n") << "P"
                                            << "K" << none;
    QTest::newRow("key before any section") << QByteArray("K=1\n[P]\n") << "P"
                                            << "K" << none;
    QTest::newRow("next section ends the section") << QByteArray("[P]\n[Q]\nK=1\n") << "P"
                                                   << "K" << none;
    QTest::newRow("line without = is no occurrence") << QByteArray("[P]\nK\nK=5\n") << "P"
                                                     << "K" << std::optional<QString>("5");
    QTest::newRow("comment line") << QByteArray("[P]\n;K=1\nK=2\n") << "P"
                                  << "K" << std::optional<QString>("2");
    QTest::newRow("value holding = and ;") << QByteArray("[P]\nK=a=b;c\n") << "P"
                                           << "K" << std::optional<QString>("a=b;c");
    QTest::newRow("quotes removed") << QByteArray("[P]\nK=\"200\"\n") << "P"
                                    << "K" << std::optional<QString>("200");
    QTest::newRow("blanks inside quotes kept") << QByteArray("[P]\nK=' x '\n") << "P"
                                               << "K" << std::optional<QString>(" x ");
    QTest::newRow("lone quote kept") << QByteArray("[P]\nK=\"\n") << "P"
                                     << "K" << std::optional<QString>("\"");
    QTest::newRow("log header lines are no section")
        << QByteArray("![Parametrar]\r\n!MaxTid = 180\r\n") << "Parametrar"
        << "MaxTid" << none;
    QTest::newRow("CR line ends") << QByteArray("[P]\rK=1\rL=2\r") << "P"
                                  << "L" << std::optional<QString>("2");
    QTest::newRow("zero byte ends the text") << QByteArray("[P]\nK=1\0\nL=2\n", 13) << "P"
                                             << "L" << none;
    QTest::newRow("very long lines") << QByteArray("[P]\n" + QByteArray(1 << 20, 'x') +
                                                   "\nL=" + QByteArray(100000, 'y') + "\nK=1\n")
                                     << "P"
                                     << "K" << std::optional<QString>("1");
    QTest::newRow("garbage and lines with an empty key")
        << QByteArray("[P]\n\xff\xfe\x81\x8d\x90\n=\n = x\n[\n]\nK=1\n") << "P"
        << "K" << std::optional<QString>("1");
    QTest::newRow("unclosed bracket starts no section") << QByteArray("[P]\n[Q\nK=1\n") << "P"
                                                        << "K" << std::optional<QString>("1");
    QTest::newRow("Windows-1252") << QByteArray("[P]\nK=Spj\xe4ll\n") << "P"
                                  << "K" << std::optional<QString>(QString::fromUtf8("Spjäll"));
}

void TestParameterFile::iniValues() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(std::optional<QString>, value);
    QCOMPARE(TIniFile(bytes).Value(section, key), value);
}

void TestParameterFile::parseInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("value");

    const std::optional<int> none;
    QTest::newRow("decimal") << "12" << std::optional<int>(12);
    QTest::newRow("plus") << "+12" << std::optional<int>(12);
    QTest::newRow("minus") << "-12" << std::optional<int>(-12);
    QTest::newRow("leading zeros") << QString(1000, u'0') + u'5' << std::optional<int>(5);
    QTest::newRow("largest") << "2147483647" << std::optional<int>(2147483647);
    QTest::newRow("smallest") << "-2147483648" << std::optional<int>(-2147483647 - 1);
    QTest::newRow("above 32 bits") << "2147483648" << none;
    QTest::newRow("below 32 bits") << "-2147483649" << none;
    QTest::newRow("many digits") << QString(1000, u'9') << none;
    QTest::newRow("0x") << "0x1F" << std::optional<int>(31);
    QTest::newRow("0X, lower-case digits") << "0X1f" << std::optional<int>(31);
    QTest::newRow("$") << "$1F" << std::optional<int>(31);
    QTest::newRow("32-bit pattern") << "0xFFFFFFFF" << std::optional<int>(-1);
    QTest::newRow("beyond 32 bits hex") << "$100000000" << none;
    QTest::newRow("prefix alone") << "0x" << none;
    QTest::newRow("$ alone") << "$" << none;
    QTest::newRow("hex digits without prefix") << "1F" << none;
    QTest::newRow("sign before hex") << "-$1" << none;
    QTest::newRow("sign after prefix") << "0x-1" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("sign alone") << "-" << none;
    QTest::newRow("blank inside") << "1 2" << none;
    QTest::newRow("fraction") << "1,5" << none;
    QTest::newRow("other digits") << QString::fromUtf8("１２") << none;
}

void TestParameterFile::parseInteger() {
    QFETCH(QString, text);
    QFETCH(std::optional<int>, value);
    QCOMPARE(ParseParameterInteger(text), value);
}

// Each row: the file, the locale; the points whose change event is raised,
// in the order of the key table, and their values. All other points keep 1.
void TestParameterFile::loadParameters_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<QList<int>>("values");

    const QByteArray section = "[Parametrar]\r\n";
    const QString pt = QString::fromUtf8("K-Värde Täljare");
    const QString pn = QString::fromUtf8("K-Värde Nämnare");

    QTest::newRow("MaxTid only") << section + "MaxTid=200\r\n"
                                 << "sv" << QStringList{"EEMaxtid"} << QList<int>{200};
    QTest::newRow("lower-case keys, section in capitals")
        << QByteArray("[PARAMETRAR]\r\nmaxtid = 200\r\ntempset = 55\r\n") << "sv"
        << QStringList{"EETempSet", "EEMaxtid"} << QList<int>{55, 200};

    // Every key, in reverse order in the file: set in table order all the same.
    const QList<std::pair<const char*, const char*>> keys = {
        {"T1", "T1"},
        {"T2", "T2"},
        {"T2B", "T2B"},
        {"T3", "T3"},
        {"T4", "T4"},
        {"Periodtid", "T6"},
        {"T7", "T7"},
        {"T8", "T8"},
        {"VMax", "VMax"},
        {"VTill", "VTill"},
        {"Reduceringstid", "EEReduceringstid"},
        {"N_FelInnanLarm", "EEN_FelInnanLarm"},
        {"TempSet", "EETempSet"},
        {"PulsKvotMax", "EEPulsKvotMax"},
        {"PulsKvotMin", "EEPulsKvotMin"},
        {"Reduceringsprocent", "EEReduceringsprocent"},
        {"DriftTid", "EEDriftTid"},
        {"DriftGrans", "EEDriftGrans"},
        {"PT", "K-V\xc3\xa4rde T\xc3\xa4ljare"},
        {"PN", "K-V\xc3\xa4rde N\xc3\xa4mnare"},
        {"Integrator", "Integrator"},
        {"LarmMask", "LarmMask"},
        {"LarmTemp", "EELarmTemp"},
        {"MaxTid", "EEMaxtid"},
    };
    QByteArray all;
    QStringList allPoints;
    QList<int> allValues;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        // Scaled keys get i + 1 seconds (1 s = 1000000 / 65536 units), raw keys
        // the value 100 + i.
        const bool scaled = i < 11;
        const int value = scaled ? int((i + 1) * 1000000 / 65536) : 100 + int(i);
        all.prepend(QByteArray(keys[i].first) + "=" +
                    (scaled ? QByteArray::number(i + 1) : QByteArray::number(value)) + "\r\n");
        allPoints.append(QString::fromUtf8(keys[i].second));
        allValues.append(value);
    }
    all.prepend(section);
    QTest::newRow("every key") << all << "sv" << allPoints << allValues;

    QTest::newRow("0,5 Swedish") << section + "T1=0,5\r\n"
                                 << "sv" << QStringList{"T1"} << QList<int>{7};
    QTest::newRow("0.5 point locale") << section + "T1=0.5\r\n"
                                      << "en" << QStringList{"T1"} << QList<int>{7};
    QTest::newRow("0,5 under a point locale is no number")
        << section + "T1=0,5\r\n"
        << "en" << QStringList{"T1"} << QList<int>{1525};
    QTest::newRow("60 seconds") << section + "T1=60\r\n"
                                << "sv" << QStringList{"T1"} << QList<int>{915};
    QTest::newRow("empty scaled value") << section + "T1=\r\n"
                                        << "sv" << QStringList{"T1"} << QList<int>{1525};
    QTest::newRow("negative scaled value truncated toward zero")
        << section + "T2=-0,5\r\n"
        << "sv" << QStringList{"T2"} << QList<int>{65536 - 7};
    QTest::newRow("beyond 64 bits") << section + "T3=1E300\r\n"
                                    << "sv" << QStringList{"T3"} << QList<int>{1525};
    QTest::newRow("not a number") << section + "TempSet=abc\r\nDriftTid=abc\r\nMaxTid=abc\r\n"
                                  << "sv" << QStringList{"EETempSet", "EEDriftTid", "EEMaxtid"}
                                  << QList<int>{3, 0, 180};
    QTest::newRow("empty raw values")
        << section + "TempSet=\r\nDriftTid=\r\nMaxTid=\r\n"
        << "sv" << QStringList{"EETempSet", "EEDriftTid", "EEMaxtid"} << QList<int>{3, 0, 180};
    QTest::newRow("0x1F") << section + "LarmMask=0x1F\r\n"
                          << "sv" << QStringList{"LarmMask"} << QList<int>{31};
    QTest::newRow("$1F") << section + "LarmMask=$1F\r\n"
                         << "sv" << QStringList{"LarmMask"} << QList<int>{31};
    QTest::newRow("negative raw value") << section + "Integrator=-1\r\n"
                                        << "sv" << QStringList{"Integrator"} << QList<int>{65535};
    QTest::newRow("beyond 16 bits")
        << section + "TempSet=70000\r\n"
        << "sv" << QStringList{"EETempSet"} << QList<int>{70000 - 65536};
    QTest::newRow("beyond 32 bits") << section + "TempSet=4294967296\r\n"
                                    << "sv" << QStringList{"EETempSet"} << QList<int>{3};
    QTest::newRow("T5 has no key") << section + "T5=60\r\nPeriodtid=60\r\n"
                                   << "sv" << QStringList{"T6"} << QList<int>{915};
    QTest::newRow("PT and PN") << section + "PN=6\r\nPT=5\r\n"
                               << "sv" << QStringList{pt, pn} << QList<int>{5, 6};
    QTest::newRow("other sections") << QByteArray("[Annat]\r\nMaxTid=200\r\n") + section +
                                           "TempSet=55\r\n[Mer]\r\nLarmTemp=9\r\n"
                                    << "sv" << QStringList{"EETempSet"} << QList<int>{55};
    QTest::newRow("no section") << QByteArray("MaxTid=200\r\n") << "sv" << QStringList{}
                                << QList<int>{};
    QTest::newRow("values equal to the current ones")
        << section + "T1=0,065536\r\nTempSet=1\r\nDriftTid=1\r\nMaxTid=1\r\n"
        << "sv" << QStringList{} << QList<int>{};
    QTest::newRow("a log file sets nothing")
        << QByteArray("!;Datum:2003-05-14 13:45:10\r\n!;Kolvo Version:\r\n![Parametrar]\r\n"
                      "!T1 = 59,96544\r\n!MaxTid = 180\r\n#Ny skruv monterad\r\n"
                      "612;45;-12;35\r\n")
        << "sv" << QStringList{} << QList<int>{};
}

void TestParameterFile::loadParameters() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, locale);
    QFETCH(QStringList, points);
    QFETCH(QList<int>, values);

    LocaleScope scope(locale == QLatin1String("sv") ? PointLocale() : SwedishLocale());
    TestImage image;
    StartAll(image);
    LoadParameters(bytes, image.image, LocaleNamed(locale));

    QCOMPARE(image.changed, points);
    QCOMPARE(Values(image), ExpectedValues(image, points, values));
}

// Each row: the raw value of every parameter point, the locale. 493, 1017
// and 7829 are timer values whose written product, divided by the scale,
// falls just below the whole number.
void TestParameterFile::snapshotLoadsBack_data() {
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("locale");

    for (const int raw : {13, 493, 1017, 7829, 915, 1, 3, 7, 999, 1525, 4096, 32767, 65535}) {
        for (const char* locale : {"sv", "en"})
            QTest::addRow("%d %s", raw, locale) << raw << QString::fromLatin1(locale);
    }
}

void TestParameterFile::snapshotLoadsBack() {
    QFETCH(int, raw);
    QFETCH(QString, locale);

    TestImage source;
    for (const ParameterKey& key : ParameterKeys())
        ParameterPoint(source.image, key).UpdateWithNoEvent(raw);
    QStringList lines = LoggHeaderLines(source.image, "!", QDateTime(QDate(2003, 5, 14), QTime()),
                                        LocaleNamed(locale));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        QVERIFY(lines[i].startsWith(u'!'));
        lines[i].remove(0, 1);
    }

    TestImage target;
    StartAll(target, (raw + 1) & 0xFFFF);
    LoadParameters(ToAnsi(lines.join(QStringLiteral("\r\n"))), target.image, LocaleNamed(locale));
    QStringList titles;
    for (const ParameterKey& key : ParameterKeys()) {
        QCOMPARE(ParameterPoint(target.image, key).Value(), raw);
        titles.append(QString::fromUtf8(key.Point));
    }
    QCOMPARE(target.changed, titles);
}

void TestParameterFile::everyTimerValueReadsBack_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("Swedish") << "sv";
    QTest::newRow("point locale") << "en";
}

// The snapshot's number for each 16-bit value of a timer gives that value.
void TestParameterFile::everyTimerValueReadsBack() {
    QFETCH(QString, locale);
    TestImage image;
    const ParameterKey& key = ParameterKeys().front();
    const TZuIO& point = ParameterPoint(image.image, key);
    QList<int> wrong;
    for (int raw = 0; raw <= 0xFFFF; ++raw) {
        const QString text = FormatNumber(raw * point.Scale, LocaleNamed(locale));
        if (ParameterValue(key, point, text, LocaleNamed(locale)) != raw)
            wrong.append(raw);
    }
    QCOMPARE(wrong, QList<int>{});
}

void TestParameterFile::parameterFilePath_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("points");

    QTest::newRow("file") << "param.Txt" << QStringList{"EEMaxtid"};
    QTest::newRow("no such file") << "missing.Txt" << QStringList{};
    QTest::newRow("a folder") << "folder.Txt" << QStringList{};
}

void TestParameterFile::parameterFilePath() {
    QFETCH(QString, name);
    QFETCH(QStringList, points);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.Txt")));
    QFile file(dir.filePath(QStringLiteral("param.Txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Parametrar]\r\nMaxTid=200\r\n");
    file.close();

    TestImage image;
    StartAll(image);
    LoadParameterFile(dir.filePath(name), image.image, SwedishLocale());
    QCOMPARE(image.changed, points);
}
