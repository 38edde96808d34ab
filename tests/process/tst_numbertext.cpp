#include "tst_numbertext.h"

#include "ansitext.h"
#include "numbertext.h"
#include "testsupport.h"

#include <QTest>

#include <cmath>
#include <limits>

void TestNumberText::formats_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("swedish");
    QTest::addColumn<QString>("point");

    QTest::newRow("zero") << 0.0 << "0"
                          << "0";
    QTest::newRow("negative zero") << -0.0 << "0"
                                   << "0";
    QTest::newRow("whole") << 152.0 << "152"
                           << "152";
    QTest::newRow("hundredths") << 3.02 << "3,02"
                                << "3.02";
    QTest::newRow("no trailing zeros") << 2.5 << "2,5"
                                       << "2.5";
    QTest::newRow("negative") << -10.25 << "-10,25"
                              << "-10.25";
    QTest::newRow("no thousands separator") << 1234567.5 << "1234567,5"
                                            << "1234567.5";
    QTest::newRow("15 digits kept") << 0.123456789012345 << "0,123456789012345"
                                    << "0.123456789012345";
    QTest::newRow("16th digit rounded") << 0.1 + 0.2 << "0,3"
                                        << "0.3";
    QTest::newRow("round up to next power") << 9.9999999999999999 << "10"
                                            << "10";
    QTest::newRow("smallest fixed") << 0.00001 << "0,00001"
                                    << "0.00001";
    QTest::newRow("below 0.00001 is exponent") << 0.000001 << "1E-6"
                                               << "1E-6";
    QTest::newRow("exponent with fraction") << 0.0000015 << "1,5E-6"
                                            << "1.5E-6";
    QTest::newRow("15 integer digits fixed") << 999999999999999.0 << "999999999999999"
                                             << "999999999999999";
    QTest::newRow("16 integer digits exponent") << 1e15 << "1E15"
                                                << "1E15";
    QTest::newRow("large with fraction") << -1.5e20 << "-1,5E20"
                                         << "-1.5E20";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "INF"
                              << "INF";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "NAN"
                                  << "NAN";
}

void TestNumberText::formats() {
    QFETCH(double, value);
    QFETCH(QString, swedish);
    QFETCH(QString, point);
    QCOMPARE(FormatNumber(value, SwedishLocale()), swedish);
    QCOMPARE(FormatNumber(value, PointLocale()), point);
    // The default argument is the default locale.
    LocaleScope scope(SwedishLocale());
    QCOMPARE(FormatNumber(value), swedish);
}

void TestNumberText::parses_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");

    QTest::newRow("sv integer") << "sv"
                                << "12" << true << 12.0;
    QTest::newRow("sv comma fraction") << "sv"
                                       << "12,7" << true << 12.7;
    QTest::newRow("sv point refused") << "sv"
                                      << "12.7" << false << 0.0;
    QTest::newRow("en point fraction") << "en"
                                       << "12.7" << true << 12.7;
    QTest::newRow("en comma refused") << "en"
                                      << "12,7" << false << 0.0;
    QTest::newRow("minus") << "sv"
                           << "-1" << true << -1.0;
    QTest::newRow("plus") << "sv"
                          << "+3,5" << true << 3.5;
    QTest::newRow("Unicode minus of the locale")
        << "sv" << QString::fromUtf8("\u22124") << true << -4.0;
    QTest::newRow("fraction only") << "sv"
                                   << ",5" << true << 0.5;
    QTest::newRow("separator last") << "sv"
                                    << "12," << true << 12.0;
    QTest::newRow("exponent") << "sv"
                              << "1E-6" << true << 1e-6;
    QTest::newRow("exponent lower case, sign") << "en"
                                               << "2.5e+3" << true << 2500.0;
    QTest::newRow("blanks around") << "sv"
                                   << "  42\t" << true << 42.0;
    QTest::newRow("tiny underflows to zero") << "sv"
                                             << "1E-400" << true << 0.0;
    QTest::newRow("empty") << "sv"
                           << "" << false << 0.0;
    QTest::newRow("blanks only") << "sv"
                                 << "   " << false << 0.0;
    QTest::newRow("blank inside") << "sv"
                                  << "1 2" << false << 0.0;
    QTest::newRow("blank after sign") << "sv"
                                      << "- 1" << false << 0.0;
    QTest::newRow("letters") << "sv"
                             << "abc" << false << 0.0;
    QTest::newRow("trailing letters") << "sv"
                                      << "12abc" << false << 0.0;
    QTest::newRow("thousands separator") << "en"
                                         << "1,000" << false << 0.0;
    QTest::newRow("sign only") << "sv"
                               << "-" << false << 0.0;
    QTest::newRow("separator only") << "sv"
                                    << "," << false << 0.0;
    QTest::newRow("exponent without digits") << "sv"
                                             << "1E" << false << 0.0;
    QTest::newRow("exponent without mantissa") << "sv"
                                               << "E5" << false << 0.0;
    QTest::newRow("two signs") << "sv"
                               << "--1" << false << 0.0;
    QTest::newRow("two separators") << "sv"
                                    << "1,2,3" << false << 0.0;
    QTest::newRow("hexadecimal") << "en"
                                 << "0x10" << false << 0.0;
    QTest::newRow("infinity word") << "en"
                                   << "inf" << false << 0.0;
    QTest::newRow("nan word") << "en"
                              << "nan" << false << 0.0;
    QTest::newRow("overflow") << "sv"
                              << "1E400" << false << 0.0;
    QTest::newRow("Arabic-Indic digits")
        << "sv" << QString::fromUtf8("\u0661\u0662") << false << 0.0;
}

void TestNumberText::parses() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);

    LocaleScope scope(LocaleNamed(locale));
    const std::optional<double> parsed = ParseNumber(text);
    QCOMPARE(parsed.has_value(), accepted);
    if (accepted)
        QCOMPARE(*parsed, value);
}

void TestNumberText::formattedNumbersReadBack_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("sv") << "sv";
    QTest::newRow("en") << "en";
}

void TestNumberText::formattedNumbersReadBack() {
    QFETCH(QString, locale);
    LocaleScope scope(LocaleNamed(locale));
    const double values[] = {0.0, 1.0, -1.0, 0.01, 3.02, 2.95, 4294.9, 1e-6, 1.5e-7, 1e15, -2.5e20,
                             123.456, 0.00001, 4294.91, 1e-300, 1.7e308,
                             // Rounded to 15 digits these would exceed the largest double.
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(), 0.3, -0.0001, 999999999999999.0};
    for (double value : values) {
        const QString text = FormatNumber(value);
        const std::optional<double> back = ParseNumber(text);
        QVERIFY2(back.has_value(), qPrintable(text));
        // 15 significant digits: equal to within the last digit.
        QVERIFY2(std::fabs(*back - value) <= std::fabs(value) * 1e-14, qPrintable(text));
    }
}

void TestNumberText::ansiText() {
    const QByteArray bytes("Temperatur \xb0"
                           "C, \xe5\xe4\xf6 \xc5\xc4\xd6, \x80");
    const QString text = FromAnsi(bytes);
    QCOMPARE(text, QString::fromUtf8("Temperatur °C, åäö ÅÄÖ, €"));
    QCOMPARE(ToAnsi(text), bytes);
}
