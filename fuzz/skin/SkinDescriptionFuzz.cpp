// Parses arbitrary text as a skin description and asks it what the skin
// loader asks.
#include "skin/QuickIni.h"
#include "skin/ValueParsers.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  skin::TQuickIni ini;
  ini.Load(std::span<const uint8_t>(data, size));
  for (const std::string& section : ini.SectionNames()) {
    (void)ini.ReadString(section, "Image", "");
    (void)ini.ReadInteger(section, "LeftWidth", 0);
    (void)skin::ReadColor(ini, section, "color", 0);
    gfx::TColor c = 0;
    (void)skin::ReadSplitColor(ini, section, "ActiveText", c);
  }
  (void)skin::CaptionButtonSections(ini);
  (void)skin::ColourSections(ini);
  (void)skin::StrToIntDef(std::string_view(reinterpret_cast<const char*>(data), size), 0);
  (void)skin::ParseColorText(std::string_view(reinterpret_cast<const char*>(data), size), 0);
  return 0;
}
