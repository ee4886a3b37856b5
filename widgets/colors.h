// Colours as the platform's colour values: 0x00BBGGRR for a plain colour, 0x80000000 + index for a
// system colour. Required fields are clYellow and optional ones clWhite; the required-field check
// compares these values.
#pragma once

#include <cstdint>

namespace citara {

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clBtnFace = 0x8000000F;  // system colour COLOR_BTNFACE
inline constexpr TColor clWindow = 0x80000005;   // system colour COLOR_WINDOW

}  // namespace citara
