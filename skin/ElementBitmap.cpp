#include "skin/ElementBitmap.h"

#include "gfx/codecs/Bmp.h"
#include "skin/SkinReader.h"

#include <stdexcept>
#include <vector>

namespace skin {

namespace {

[[noreturn]] void Damaged(const std::string& name, const std::exception& error)
{
  throw ESkinPackage("The skin package's bitmap \"" + name + "\" is damaged: " + error.what());
}

} // namespace

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
  } catch (const gfx::TCodecError& e) {
    Damaged(*name, e);
  } catch (const std::length_error& e) {
    Damaged(*name, e);
  }
}

} // namespace skin
