#include "framework/ShortCut.h"

#include <array>
#include <cctype>
#include <optional>

#include "framework/Component.h" // SameText

namespace framework {

namespace {

struct TKeyName {
  uint16_t Key;
  const char* Name;
};

// Keys whose names are words; letters, digits and F1..F24 are made from
// their codes.
constexpr std::array<TKeyName, 24> kNamedKeys{{
    {0x08, "BkSp"},  {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},   {0x20, "Space"}, {0x21, "PgUp"},
    {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"},  {0x25, "Left"},  {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"},  {0x2D, "Ins"},   {0x2E, "Del"},   {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"},
    {0x6F, "Num /"}, {0xBA, ";"},     {0xBB, "="},     {0xBC, ","},     {0xBD, "-"},     {0xBE, "."},
}};

constexpr uint16_t kFirstFunctionKey = 0x70; // F1
constexpr int kFunctionKeys = 24;

struct TModifierName {
  TShortCut Bit;
  const char* Name;
};
constexpr std::array<TModifierName, 3> kModifiers{{{scCtrl, "Ctrl+"}, {scShift, "Shift+"}, {scAlt, "Alt+"}}};

std::string KeyName(uint16_t key)
{
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, char(key));
  if (key >= kFirstFunctionKey && key < kFirstFunctionKey + kFunctionKeys)
    return std::string(1, 'F').append(std::to_string(key - kFirstFunctionKey + 1));
  for (const TKeyName& named : kNamedKeys)
    if (named.Key == key)
      return named.Name;
  return {};
}

std::optional<uint16_t> KeyOfName(std::string_view name)
{
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return uint16_t(std::toupper(static_cast<unsigned char>(name[0])));
  for (const TKeyName& named : kNamedKeys)
    if (SameText(named.Name, name))
      return named.Key;
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int number = 0;
    for (char c : name.substr(1)) {
      if (!std::isdigit(static_cast<unsigned char>(c)))
        return std::nullopt;
      number = number * 10 + (c - '0');
      if (number > kFunctionKeys)
        return std::nullopt;
    }
    if (number >= 1)
      return uint16_t(kFirstFunctionKey + number - 1);
  }
  return std::nullopt;
}

// Decodes one UTF-8 character at the start of text; sets its length.
char32_t DecodeUtf8(std::string_view text, size_t& length)
{
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t count = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (count > text.size())
    count = 1;
  char32_t value = count == 1 ? lead : lead & (0x7F >> count);
  for (size_t i = 1; i < count; ++i)
    value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  length = count;
  return value;
}

char32_t Folded(char32_t c)
{
  return c < 0x80 ? char32_t(std::toupper(int(c))) : c;
}

} // namespace

TShortCut MakeShortCut(uint16_t key, uint8_t shiftState)
{
  TShortCut result = key & scKeyMask;
  if (shiftState & 1)
    result |= scShift;
  if (shiftState & 2)
    result |= scAlt;
  if (shiftState & 4)
    result |= scCtrl;
  return result;
}

std::string ShortCutToText(TShortCut shortCut)
{
  std::string key = KeyName(ShortCutKey(shortCut));
  if (key.empty())
    return {};
  std::string text;
  for (const TModifierName& modifier : kModifiers)
    if (shortCut & modifier.Bit)
      text += modifier.Name;
  return text.append(key);
}

TShortCut TextToShortCut(std::string_view text)
{
  TShortCut modifiers = 0;
  // A key named "+" or "Num +" ends in the separator itself, so modifiers
  // are taken from the front only while one of their names is there.
  for (bool found = true; found;) {
    found = false;
    for (const TModifierName& modifier : kModifiers) {
      const std::string_view name = modifier.Name;
      if (text.size() > name.size() && SameText(text.substr(0, name.size()), name)) {
        modifiers |= modifier.Bit;
        text.remove_prefix(name.size());
        found = true;
      }
    }
  }
  const std::optional<uint16_t> key = KeyOfName(text);
  return key ? TShortCut(modifiers | *key) : scNone;
}

char32_t CaptionAccelerator(std::string_view caption)
{
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&')
      continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t length = 0;
    return Folded(DecodeUtf8(caption.substr(i + 1), length));
  }
  return 0;
}

bool IsAccel(char32_t key, std::string_view caption)
{
  const char32_t accelerator = CaptionAccelerator(caption);
  return accelerator != 0 && accelerator == Folded(key);
}

std::string StripHotkey(std::string_view caption)
{
  std::string text;
  text.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size())
      ++i;
    text += caption[i];
  }
  return text;
}

} // namespace framework
