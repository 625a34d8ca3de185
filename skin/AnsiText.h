#pragma once
#include <string>
#include <string_view>

namespace skin {

// Skin packages store names and descriptions as 8-bit text in the Western
// Windows code page. Letter case is folded the way that code page defines it
// (ASCII, the accented Latin-1 letters and the few extra letters at 0x8A..0x9F)
// so that a name matches whatever case the author used, on every platform.
[[nodiscard]] std::string AnsiLowerCase(std::string_view text);
[[nodiscard]] std::string AnsiUpperCase(std::string_view text);
[[nodiscard]] bool AnsiSameText(std::string_view a, std::string_view b);

// Removes leading and trailing characters with codes up to 32.
[[nodiscard]] std::string_view Trim(std::string_view text);

} // namespace skin
