// Opens arbitrary bytes as a skin package: the LZH decoder, the archive
// layout, the lookups and the description inside.
#include "skin/QuickIni.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"

#include <cstddef>
#include <cstdint>

namespace {
void Quiet(const std::string&) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  skin::SetSkinMessageHook(&Quiet);
  skin::TSkinReader reader;
  // Small bound: a fuzzer input that declares megabytes would only measure
  // how fast zeros decode.
  reader.SetMaxUnpackedSize(int64_t{64} << 10);
  try {
    if (!reader.Open(std::span<const uint8_t>(data, size)))
      return 0;
  } catch (const skin::ESkinPackage&) {
    return 0;
  }
  std::vector<uint8_t> out;
  for (const std::string& name : reader.Names())
    reader.ExtractByName(name, out);
  if (!reader.ExtractByPart(".ini", out).empty()) {
    skin::TQuickIni ini;
    ini.Load(out);
    (void)skin::CaptionButtonSections(ini);
  }
  return 0;
}
