#include "parameterfile.h"

#include "inifile.h"
#include "numbertext.h"
#include "tprocessimage.h"

#include <QFile>

#include <cstdint>
#include <cstring>

namespace {

constexpr double kScaledDefault = 100.0;
constexpr int kRawDefault = 3;

struct RawDefault {
    const char* Key;
    int Value;
};
constexpr RawDefault kRawDefaults[] = {{"DriftTid", 0}, {"MaxTid", 180}};

int RawDefaultOf(const ParameterKey& key) {
    for (const RawDefault& row : kRawDefaults) {
        if (std::strcmp(row.Key, key.Key) == 0)
            return row.Value;
    }
    return kRawDefault;
}

int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The digits' value in the base; none for no digit, another character or a
// value above the limit (checked as the digits come, so any length is safe).
std::optional<std::uint64_t> Digits(QStringView digits, int base, std::uint64_t limit) {
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const int digit = DigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int> ParseParameterInteger(QStringView text) {
    if (text.startsWith(u"0x") || text.startsWith(u"0X") || text.startsWith(u'$')) {
        const auto bits = Digits(text.sliced(text.front() == u'$' ? 1 : 2), 16, 0xFFFFFFFFu);
        if (!bits)
            return std::nullopt;
        return int(std::uint32_t(*bits));
    }
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    const auto magnitude = Digits(text, 10, negative ? 0x80000000u : 0x7FFFFFFFu);
    if (!magnitude)
        return std::nullopt;
    return negative ? int(-std::int64_t(*magnitude)) : int(*magnitude);
}

int ParameterValue(const ParameterKey& key, const TZuIO& point, QStringView text,
                   const QLocale& locale) {
    if (key.Form == ParameterForm::Raw)
        return ParseParameterInteger(text).value_or(RawDefaultOf(key));
    // The same conversion as a number typed into the point's edit box: a
    // quotient that the scale's representation error puts just below a whole
    // number is that whole number, so a snapshot value reads back unchanged.
    const std::optional<double> shown = ParseNumber(text, locale);
    const std::optional<int> raw = shown ? point.RawFromShown(*shown) : std::nullopt;
    return raw ? *raw : point.RawFromShown(kScaledDefault).value_or(0);
}

void LoadParameters(const QByteArray& fileBytes, TProcessImage& image, const QLocale& locale) {
    const TIniFile file(fileBytes);
    const QString section = QStringLiteral("Parametrar");
    for (const ParameterKey& key : ParameterKeys()) {
        const std::optional<QString> text = file.Value(section, QLatin1String(key.Key));
        if (!text)
            continue;
        TZuIO& point = ParameterPoint(image, key);
        point.SetValue(ParameterValue(key, point, *text, locale));
    }
}

void LoadParameterFile(const QString& path, TProcessImage& image, const QLocale& locale) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    LoadParameters(bytes, image, locale);
}
