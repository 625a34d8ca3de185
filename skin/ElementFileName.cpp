#include "skin/ElementBitmap.h"

namespace skin {

std::optional<std::string> ElementFileName(std::string_view value)
{
  const size_t slash = value.find_last_of("\\/:");
  const std::string_view name = slash == std::string_view::npos ? value : value.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp")
    return std::nullopt;
  return std::string(name);
}

} // namespace skin
