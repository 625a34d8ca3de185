#pragma once
#include <cstdint>

namespace gfx {

// An RGB value in the low three bytes, red lowest (0x00BBGGRR), or a system
// colour: a negative value whose low byte is the platform's colour index.
using TColor = int32_t;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) { return TColor(r | (g << 8) | (b << 16)); }
// The names are parenthesised so that the platform's function-like macros of
// the same names, when its header comes first, do not break the definitions.
constexpr uint8_t(GetRValue)(TColor c) { return uint8_t(c); }
constexpr uint8_t(GetGValue)(TColor c) { return uint8_t(c >> 8); }
constexpr uint8_t(GetBValue)(TColor c) { return uint8_t(c >> 16); }

// System colours: 0x80000000 | the platform's COLOR_* index.
constexpr TColor SystemColor(int index) { return TColor(0x80000000u | uint32_t(index)); }
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// Plain colours, as the framework names them.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Resolves a system colour to RGB; RGB values pass through unchanged. Natively
// a table of the platform's default scheme answers; on Win32 the platform does
// (see SetSystemColorSource).
[[nodiscard]] TColor ColorToRGB(TColor color);

// The platform layer installs its own lookup (GetSysColor on Win32).
using TSystemColorSource = TColor (*)(int index);
void SetSystemColorSource(TSystemColorSource source);

// Pixels in memory are blue, green, red, unused: read as a 32-bit value that is
// 0x00RRGGBB, the reverse byte order of TColor.
using TPixel = uint32_t;
constexpr TPixel ColorToPixel(TColor rgb)
{
  return TPixel((GetBValue)(rgb)) | (TPixel((GetGValue)(rgb)) << 8) | (TPixel((GetRValue)(rgb)) << 16);
}
constexpr TColor PixelToColor(TPixel p)
{
  return RGBColor(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p));
}

} // namespace gfx
