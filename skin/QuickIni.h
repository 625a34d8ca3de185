#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

// The skin description: an INI-like text parsed once into memory. Lines are
// trimmed; empty lines and lines starting with ";" are dropped. A line in
// brackets starts a section; any other line is an entry whose key is the text
// before the first "=" (trimmed, lower-cased) and whose value is the rest.
//
// Lookups follow first-wins rules throughout: the first section with a name
// and, inside it, the first entry with a key decide, even when that entry is
// empty and a later one is not.
class TQuickIni {
public:
  struct TSection {
    std::string Header; // with its brackets
    size_t Line = 0;    // index of the header in Lines()
  };

  // Reads the whole text; a NUL ends it. Replaces what was loaded before.
  void Load(std::string_view text);
  void Load(std::span<const uint8_t> bytes);

  [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // A decimal number with optional sign, or hexadecimal after "$" or "0x";
  // anything else gives the default.
  [[nodiscard]] int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  // Section names in file order, without brackets.
  [[nodiscard]] std::vector<std::string> SectionNames() const;

  [[nodiscard]] const std::vector<std::string>& Lines() const { return lines_; }
  [[nodiscard]] const std::vector<TSection>& Sections() const { return sections_; }

  // Index in Sections() of the first header "[section]" (letter case ignored),
  // or -1.
  [[nodiscard]] int32_t FindSection(std::string_view section) const;

  // An entry line split into its lookup key (lower-cased) and its value.
  struct TEntry {
    std::string Key;
    std::string Value;
  };
  [[nodiscard]] static TEntry SplitEntry(std::string_view line);
  [[nodiscard]] static bool IsSectionHeader(std::string_view line);

private:
  std::vector<std::string> lines_;
  std::vector<TSection> sections_;
};

// The sections that describe caption buttons: names starting with "BUTTON"
// (letter case ignored) other than the fixed Button, Buttons, Button.Radio and
// Button.Checkbox sections, without those that are switched off (Action -1
// with a non-zero Visibility). File order is kept.
[[nodiscard]] std::vector<std::string> CaptionButtonSections(const TQuickIni& ini);

// The sections whose names start with "COLOUR" (letter case ignored), except
// the colour table "Colours" itself, in file order.
[[nodiscard]] std::vector<std::string> ColourSections(const TQuickIni& ini);

} // namespace skin
