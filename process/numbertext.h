#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// The one number format of the program, for every number it shows, writes to
// a file or reads back: general format with up to 15 significant digits, the
// locale's decimal separator, no thousands separator, no trailing zeros, and
// exponent form ("1E-6", "1,5E20") only below 0.00001 or from 16 integer
// digits on. The minus sign is always '-'.
QString FormatNumber(double value, const QLocale& locale = QLocale());

// Reads a number in the locale's notation: optional blanks around it, an
// optional sign, digits with an optional fraction after the locale's decimal
// separator, an optional exponent ("E" or "e", optional sign, digits).
// Anything else - empty text, blanks inside, a thousands separator, the other
// decimal separator, trailing characters, a number beyond the range of a
// double - gives no value.
std::optional<double> ParseNumber(QStringView text, const QLocale& locale = QLocale());
