// The number parser and formatter: whatever the text, parsing never fails
// loudly; a parsed number is finite and its formatted text reads back to a
// number that formats the same (the file and edit-box round trip).

#include "fuzzsupport.h"
#include "numbertext.h"

#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const QLocale locale = FuzzLocale(data[0]);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (const std::optional<double> value = ParseNumber(text, locale)) {
        FUZZ_CHECK(std::isfinite(*value));
        const QString shown = FormatNumber(*value, locale);
        const std::optional<double> again = ParseNumber(shown, locale);
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(FormatNumber(*again, locale) == shown);
        FUZZ_CHECK(*again == *value || std::fabs(*again - *value) <= std::fabs(*value) * 1e-14);
    }
    // Any double, from the raw bytes, formats to text that reads back.
    if (size >= 1 + sizeof(double)) {
        double raw;
        std::memcpy(&raw, data + 1, sizeof raw);
        if (std::isfinite(raw)) {
            const QString shown = FormatNumber(raw, locale);
            const std::optional<double> back = ParseNumber(shown, locale);
            FUZZ_CHECK(back.has_value());
            FUZZ_CHECK(FormatNumber(*back, locale) == shown);
        }
    }
    return 0;
}
