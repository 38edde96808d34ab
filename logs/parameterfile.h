#pragma once

#include "parameterkeys.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

class TProcessImage;
class TZuIO;

// A parameter file is an initialisation file whose section "[Parametrar]"
// holds "key = value" lines for the keys of ParameterKeys(), in the forms a
// log header's snapshot writes them.

// An integer in decimal with an optional sign, or in hexadecimal after
// "0x", "0X" or "$" (without a sign). Decimal must lie in the 32-bit signed
// range; hexadecimal may have up to 32 bits and gives their pattern
// (0xFFFFFFFF is -1). None for anything else, blanks included.
std::optional<int> ParseParameterInteger(QStringView text);

// The value SetValue receives for a key's text. Scaled: the number in the
// locale's format divided by the point's Scale and truncated toward zero,
// as a typed value is; 100 for a text that is not a number or gives no
// value. Raw: the integer as it is; 3 for a text that is not one, except
// DriftTid (0) and MaxTid (180).
int ParameterValue(const ParameterKey& key, const TZuIO& point, QStringView text,
                   const QLocale& locale);

// Sets each point whose key is present in the section "[Parametrar]", key by
// key in table order, with SetValue (which raises the change event only for
// a value that differs). Points of absent keys stay untouched.
void LoadParameters(const QByteArray& fileBytes, TProcessImage& image, const QLocale& locale);

// LoadParameters with the file's content; a file that does not exist or
// cannot be read has no keys and changes nothing.
void LoadParameterFile(const QString& path, TProcessImage& image, const QLocale& locale);
