#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

constexpr int kSignificantDigits = 15;
// Fixed notation for decimal exponents in [kLowestFixedExponent, kSignificantDigits).
constexpr int kLowestFixedExponent = -5;
// The largest number of 15 significant digits that a double can hold; the
// few doubles above it would round to a text no double can be read from.
constexpr double kLargestWritten = 1.79769313486231e308;

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace

QString FormatNumber(double value, const QLocale& locale) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0)
        return QStringLiteral("0");

    // Round to 15 significant digits first; the notation follows the rounded value.
    char buffer[64];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, std::min(std::fabs(value), kLargestWritten),
                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string scientific(buffer, written.ptr);
    const std::size_t e = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QString separator = locale.decimalPoint();
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= kLowestFixedExponent && exponent < kSignificantDigits) {
        if (exponent >= 0) {
            const std::size_t integerDigits = std::size_t(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += QString::fromLatin1(digits) +
                        QString(qsizetype(integerDigits - digits.size()), u'0');
            } else {
                text += QString::fromLatin1(digits.substr(0, integerDigits)) + separator +
                        QString::fromLatin1(digits.substr(integerDigits));
            }
        } else {
            text += u'0' + separator + QString(qsizetype(-exponent - 1), u'0') +
                    QString::fromLatin1(digits);
        }
    } else {
        text += QChar::fromLatin1(digits[0]);
        if (digits.size() > 1)
            text += separator + QString::fromLatin1(digits.substr(1));
        text += u'E' + QString::number(exponent);
    }
    return text;
}

std::optional<double> ParseNumber(QStringView text, const QLocale& locale) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const QStringView body = text.sliced(begin, end - begin);
    const QString separator = locale.decimalPoint();
    const QString negativeSign = locale.negativeSign();
    const QString positiveSign = locale.positiveSign();

    // Rewritten into the locale-independent form that from_chars reads.
    std::string ascii;
    qsizetype i = 0;
    if (body.startsWith(u'-') || body.startsWith(u'+')) {
        if (body[0] == u'-')
            ascii += '-';
        i = 1;
    } else if (!negativeSign.isEmpty() && body.startsWith(negativeSign)) {
        ascii += '-';
        i = negativeSign.size();
    } else if (!positiveSign.isEmpty() && body.startsWith(positiveSign)) {
        i = positiveSign.size();
    }

    int integerDigits = 0;        // digits before the separator, leading zeros excluded
    int leadingFractionZeros = 0; // zeros right after the separator, while no digit was seen
    bool anyDigit = false;
    bool nonZeroSeen = false;
    while (i < body.size() && body[i].isDigit() && body[i].unicode() < 128) {
        const char digit = char(body[i].unicode());
        if (digit != '0' || nonZeroSeen) {
            nonZeroSeen = true;
            ++integerDigits;
        }
        ascii += digit;
        anyDigit = true;
        ++i;
    }
    if (!separator.isEmpty() && body.sliced(i).startsWith(separator)) {
        i += separator.size();
        ascii += '.';
        while (i < body.size() && body[i].isDigit() && body[i].unicode() < 128) {
            const char digit = char(body[i].unicode());
            if (!nonZeroSeen && digit == '0')
                ++leadingFractionZeros;
            if (digit != '0')
                nonZeroSeen = true;
            ascii += digit;
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    long long exponentValue = 0;
    if (i < body.size() && (body[i] == u'e' || body[i] == u'E')) {
        ascii += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < body.size() && (body[i] == u'-' || body[i] == u'+')) {
            negativeExponent = body[i] == u'-';
            ascii += char(body[i].unicode());
            ++i;
        }
        bool exponentDigit = false;
        while (i < body.size() && body[i].isDigit() && body[i].unicode() < 128) {
            ascii += char(body[i].unicode());
            if (exponentValue < 100000)
                exponentValue = exponentValue * 10 + (body[i].unicode() - u'0');
            exponentDigit = true;
            ++i;
        }
        if (!exponentDigit)
            return std::nullopt;
        if (negativeExponent)
            exponentValue = -exponentValue;
    }
    if (i != body.size())
        return std::nullopt;

    double value = 0.0;
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    const std::from_chars_result parsed = std::from_chars(first, last, value);
    if (parsed.ec == std::errc::result_out_of_range) {
        if (!nonZeroSeen)
            return ascii[0] == '-' ? -0.0 : 0.0;
        // Out of range either way: too small is zero, too large is no number.
        const long long magnitude =
            (integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1)) + exponentValue;
        if (magnitude < 0)
            return ascii[0] == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (parsed.ec != std::errc() || parsed.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}
