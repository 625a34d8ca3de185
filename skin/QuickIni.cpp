#include "skin/QuickIni.h"

#include "skin/AnsiText.h"
#include "skin/SkinReader.h"
#include "skin/ValueParsers.h"

namespace skin {

bool TQuickIni::IsSectionHeader(std::string_view line)
{
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

TQuickIni::TEntry TQuickIni::SplitEntry(std::string_view line)
{
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos)
    return {std::string(), std::string(Trim(line))};
  return {AnsiLowerCase(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))};
}

void TQuickIni::Load(std::string_view text)
{
  lines_.clear();
  sections_.clear();
  for (const std::string& raw : SplitLines(text)) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';')
      continue;
    if (IsSectionHeader(line))
      sections_.push_back({std::string(line), lines_.size()});
    lines_.emplace_back(line);
  }
}

void TQuickIni::Load(std::span<const uint8_t> bytes)
{
  Load(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

int32_t TQuickIni::FindSection(std::string_view section) const
{
  std::string header;
  header.reserve(section.size() + 2);
  header.push_back('[');
  header.append(section);
  header.push_back(']');
  for (size_t k = 0; k < sections_.size(); ++k)
    if (AnsiSameText(sections_[k].Header, header))
      return int32_t(k);
  return -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
  const int32_t index = FindSection(section);
  if (index < 0)
    return std::string(defaultValue);
  const std::string wanted = AnsiLowerCase(key);
  for (size_t k = sections_[size_t(index)].Line + 1; k < lines_.size(); ++k) {
    if (IsSectionHeader(lines_[k]))
      break;
    TEntry entry = SplitEntry(lines_[k]);
    if (entry.Key == wanted)
      return entry.Value.empty() ? std::string(defaultValue) : std::move(entry.Value);
  }
  return std::string(defaultValue);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const
{
  const std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return HexToIntDef(std::string_view(text).substr(2), defaultValue);
  return StrToIntDef(text, defaultValue);
}

std::vector<std::string> TQuickIni::SectionNames() const
{
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const TSection& s : sections_) {
    const std::string_view inner = Trim(s.Header);
    names.emplace_back(Trim(inner.substr(1, inner.size() - 2)));
  }
  return names;
}

std::vector<std::string> CaptionButtonSections(const TQuickIni& ini)
{
  std::vector<std::string> result;
  for (std::string& name : ini.SectionNames()) {
    const std::string upper = AnsiUpperCase(name);
    if (!upper.starts_with("BUTTON") || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    if (ini.ReadInteger(name, "Action", 0) == -1 && ini.ReadInteger(name, "Visibility", -1) != 0)
      continue;
    result.push_back(std::move(name));
  }
  return result;
}

std::vector<std::string> ColourSections(const TQuickIni& ini)
{
  std::vector<std::string> result;
  for (std::string& name : ini.SectionNames()) {
    const std::string upper = AnsiUpperCase(name);
    if (upper.starts_with("COLOUR") && upper != "COLOURS")
      result.push_back(std::move(name));
  }
  return result;
}

} // namespace skin
