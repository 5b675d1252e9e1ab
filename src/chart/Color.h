#pragma once
// Colours as 32-bit 0x00BBGGRR values, with the two markers and the named colours.

#include <cstdint>

namespace tavimo::chart {

using TColor = std::uint32_t;

inline constexpr TColor clAutoColor = 0x20000000;  // automatic colour
inline constexpr TColor clNone = 0x1FFFFFFF;       // nothing drawn

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clLightYellow = 0x80FFFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

// System colours of the platform's default (light) theme, as fixed RGB values.
inline constexpr TColor clBtnFace = 0xF0F0F0;
inline constexpr TColor clBtnHighlight = 0xFFFFFF;
inline constexpr TColor clBtnShadow = 0xA0A0A0;
inline constexpr TColor clWindowText = 0x000000;

inline constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
inline constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace tavimo::chart
