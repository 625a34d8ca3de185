#pragma once
#include "gfx/Color.h"

#include <cstdint>
#include <string_view>

namespace skin {

class TQuickIni;

// Converts a decimal number with optional sign, or "$" followed by up to eight
// hexadecimal digits (also after a sign); anything else, and decimal numbers
// outside 32 bits, give the default.
[[nodiscard]] int32_t StrToIntDef(std::string_view text, int32_t defaultValue);

// Up to eight hexadecimal digits and nothing else, as a 32-bit pattern;
// anything else gives the default.
[[nodiscard]] int32_t HexToIntDef(std::string_view digits, int32_t defaultValue);

// Colour text: three numbers (red, green, blue) separated by anything that is
// not a digit, each taken modulo 256. A missing component is 0, numbers after
// the third are ignored, and a number that runs to the very end of the text
// counts only when it is the third. An empty text gives the default.
[[nodiscard]] gfx::TColor ParseColorText(std::string_view text, gfx::TColor defaultValue);

// ReadString of a colour text key, parsed as above.
[[nodiscard]] gfx::TColor ReadColor(const TQuickIni& ini, std::string_view section, std::string_view key,
                                    gfx::TColor defaultValue);

// A colour spread over three integer keys, name + "R", "G" and "B". Only when
// all three are present and not negative is target set (each component modulo
// 256); otherwise target keeps its value. Returns whether it was set.
bool ReadSplitColor(const TQuickIni& ini, std::string_view section, std::string_view name, gfx::TColor& target);

} // namespace skin
