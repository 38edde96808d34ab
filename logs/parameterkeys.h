#pragma once

#include <QString>

#include <span>

class TProcessImage;
class TZuIO;

// How a parameter's point value appears in a log header and a parameter file.
enum class ParameterForm {
    Scaled, // the point's Value x Scale, in the program's number format
    Raw,    // the point's Value as an integer
};

struct ParameterKey {
    const char* Key;   // as written before " = "
    const char* Point; // title of the point it stands for (UTF-8)
    ParameterForm Form;
};

// The controller parameters a log header records and a parameter file sets,
// in the order both use: the eleven timers first, then the raw settings.
// Point "T5" has no key.
std::span<const ParameterKey> ParameterKeys();

// The point a key stands for. Every title of the table is in the point
// table, so a missing point is a programming error (std::logic_error).
TZuIO& ParameterPoint(const TProcessImage& image, const ParameterKey& key);
