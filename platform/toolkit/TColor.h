#pragma once

#include <QColor>
#include <cstdint>

// The class library's colour value: $00BBGGRR for a fixed colour, or a system colour
// index in the low byte with the high byte $FF.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clWhite = 0xFFFFFF;
// No colour at all (nothing is painted).
inline constexpr TColor clNone = 0x1FFFFFFF;

inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;

// The one conversion to what Qt paints with; system colours come from the application's
// palette, clNone (and an unknown system index) gives an invalid QColor.
QColor ColorToQColor(TColor color);
