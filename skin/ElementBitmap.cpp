#include "skin/ElementBitmap.h"

#include "gfx/codecs/Bmp.h"
#include "skin/SkinReader.h"

#include <stdexcept>
#include <vector>

namespace skin {

gfx::TPixmap LoadElementBitmap(const TSkinReader& reader, std::string_view value)
{
  const std::optional<std::string> name = ElementFileName(value);
  if (!name)
    return {};
  std::vector<uint8_t> bytes;
  reader.ExtractByName(*name, bytes);
  if (bytes.empty())
    return {};
  try {
    return gfx::DecodeBmp(bytes);
  } catch (const gfx::TCodecError&) {
    return {};
  } catch (const std::length_error&) {
    return {};
  }
}

} // namespace skin
