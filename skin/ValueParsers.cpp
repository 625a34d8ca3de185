#include "skin/ValueParsers.h"

#include "skin/AnsiText.h"
#include "skin/QuickIni.h"

#include <optional>
#include <string>

namespace skin {

namespace {

std::optional<uint32_t> ParseHex(std::string_view digits)
{
  if (digits.empty() || digits.size() > 8)
    return std::nullopt;
  uint32_t value = 0;
  for (const char c : digits) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9')
      digit = uint32_t(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = uint32_t(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = uint32_t(c - 'A' + 10);
    else
      return std::nullopt;
    value = (value << 4) | digit;
  }
  return value;
}

} // namespace

int32_t HexToIntDef(std::string_view digits, int32_t defaultValue)
{
  const std::optional<uint32_t> value = ParseHex(digits);
  return value ? int32_t(*value) : defaultValue;
}

int32_t StrToIntDef(std::string_view text, int32_t defaultValue)
{
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i < text.size() && text[i] == '$') {
    const std::optional<uint32_t> value = ParseHex(text.substr(i + 1));
    if (!value)
      return defaultValue;
    // Hexadecimal text is a bit pattern: $FFFFFFFF is -1.
    return int32_t(negative ? 0u - *value : *value);
  }
  if (i == text.size())
    return defaultValue;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9')
      return defaultValue;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1)
      return defaultValue;
  }
  if (negative)
    value = -value;
  if (value > INT32_MAX || value < INT32_MIN)
    return defaultValue;
  return int32_t(value);
}

gfx::TColor ParseColorText(std::string_view text, gfx::TColor defaultValue)
{
  text = Trim(text);
  if (text.empty())
    return defaultValue;
  uint32_t components[3] = {0, 0, 0};
  size_t count = 0;
  uint32_t number = 0;
  bool inNumber = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      number = (number * 10 + uint32_t(c - '0')) & 0xFFu;
      inNumber = true;
    } else if (inNumber) {
      if (count < 3)
        components[count++] = number;
      number = 0;
      inNumber = false;
    }
  }
  if (inNumber && count == 2)
    components[count++] = number;
  return gfx::RGBColor(uint8_t(components[0]), uint8_t(components[1]), uint8_t(components[2]));
}

gfx::TColor ReadColor(const TQuickIni& ini, std::string_view section, std::string_view key, gfx::TColor defaultValue)
{
  return ParseColorText(ini.ReadString(section, key, ""), defaultValue);
}

bool ReadSplitColor(const TQuickIni& ini, std::string_view section, std::string_view name, gfx::TColor& target)
{
  const std::string base(name);
  const int32_t r = ini.ReadInteger(section, base + "R", -1);
  const int32_t g = ini.ReadInteger(section, base + "G", -1);
  const int32_t b = ini.ReadInteger(section, base + "B", -1);
  if (r < 0 || g < 0 || b < 0)
    return false;
  target = gfx::RGBColor(uint8_t(r & 0xFF), uint8_t(g & 0xFF), uint8_t(b & 0xFF));
  return true;
}

} // namespace skin
