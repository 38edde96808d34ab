#pragma once

#include <cstdint>

// Value type of a point.
enum class IOType : std::uint8_t {
    sBit = 0,      // declared only; no behaviour, no point uses it
    sByte = 1,     // unsigned byte; the only type whose bits follow the value
    sWord = 2,     // unsigned 16-bit word
    sString = 3,   // text, held in TextValue
    SignsWord = 4, // 16-bit word shown as a signed number
};

// Direction of a point: only the bits of Out points can be switched by a click.
enum class IODir : std::uint8_t { In = 0, Out = 1 };
