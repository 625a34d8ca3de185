#include "skin/AnsiText.h"

#include <array>
#include <cstdint>

namespace skin {

namespace {

struct TCaseTables {
  std::array<uint8_t, 256> lower{};
  std::array<uint8_t, 256> upper{};
};

constexpr TCaseTables MakeCaseTables()
{
  TCaseTables t;
  for (int32_t c = 0; c < 256; ++c) {
    t.lower[size_t(c)] = uint8_t(c);
    t.upper[size_t(c)] = uint8_t(c);
  }
  const auto pair = [&t](int32_t upperCase, int32_t lowerCase) {
    t.lower[size_t(upperCase)] = uint8_t(lowerCase);
    t.upper[size_t(lowerCase)] = uint8_t(upperCase);
  };
  for (int32_t c = 'A'; c <= 'Z'; ++c)
    pair(c, c + 32);
  for (int32_t c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) // the multiplication sign has no lower case
      pair(c, c + 32);
  pair(0x8A, 0x9A); // S caron
  pair(0x8C, 0x9C); // OE ligature
  pair(0x8E, 0x9E); // Z caron
  pair(0x9F, 0xFF); // Y diaeresis
  return t;
}

constexpr TCaseTables kCase = MakeCaseTables();

} // namespace

std::string AnsiLowerCase(std::string_view text)
{
  std::string result(text);
  for (char& c : result)
    c = char(kCase.lower[uint8_t(c)]);
  return result;
}

std::string AnsiUpperCase(std::string_view text)
{
  std::string result(text);
  for (char& c : result)
    c = char(kCase.upper[uint8_t(c)]);
  return result;
}

bool AnsiSameText(std::string_view a, std::string_view b)
{
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (kCase.lower[uint8_t(a[i])] != kCase.lower[uint8_t(b[i])])
      return false;
  return true;
}

std::string_view Trim(std::string_view text)
{
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && uint8_t(text[begin]) <= 32)
    ++begin;
  while (end > begin && uint8_t(text[end - 1]) <= 32)
    --end;
  return text.substr(begin, end - begin);
}

} // namespace skin
