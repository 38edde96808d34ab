#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

// A colour as the controls store it: either an RGB value in the low three
// bytes (red in the lowest byte) or a system colour (high byte 0x80, low byte
// the system colour index), which is resolved against the palette only when
// it is painted, so it follows the desktop's theme.
using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0x80000000u;

constexpr TColor clBlack = 0x000000u;
constexpr TColor clMaroon = 0x000080u;
constexpr TColor clGreen = 0x008000u;
constexpr TColor clOlive = 0x008080u;
constexpr TColor clNavy = 0x800000u;
constexpr TColor clPurple = 0x800080u;
constexpr TColor clTeal = 0x808000u;
constexpr TColor clGray = 0x808080u;
constexpr TColor clSilver = 0xC0C0C0u;
constexpr TColor clRed = 0x0000FFu;
constexpr TColor clLime = 0x00FF00u;
constexpr TColor clYellow = 0x00FFFFu;
constexpr TColor clBlue = 0xFF0000u;
constexpr TColor clFuchsia = 0xFF00FFu;
constexpr TColor clAqua = 0xFFFF00u;
constexpr TColor clWhite = 0xFFFFFFu;

constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;

constexpr bool IsSystemColor(TColor color) {
    return (color & 0xFF000000u) == clSystemColor;
}

// The colour to paint: RGB values as they are, system colours from `palette`.
QColor ColorToQColor(TColor color, const QPalette& palette);
