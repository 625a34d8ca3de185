// Loads arbitrary bytes into a skin data component the way a user's skin file
// is loaded: the package, its description, every bitmap the description names
// and the images derived from them. A load is whole or not at all, so a
// component whose package failed still holds the model it was created with.
#include "fuzz/gfx/BmpFuzzLimit.h"
#include "skin/SkinData.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"

#include <cstddef>
#include <cstdint>

namespace {

void Quiet(const std::string&) {}

// Large enough for the stored skin (about 230 KB unpacked); a package that
// declares more only measures how fast zeros decode.
constexpr int64_t kMaxUnpackedSize = int64_t{512} << 10;
// Skin bitmaps are small strips; larger ones only slow the search down.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 18;

// Whether loading the package is worth the time: it declares no more than the
// bound above and no file in it is a bitmap of more pixels than the bound.
// Packages that fail to open are worth it: the component must refuse them.
bool WorthLoading(std::span<const uint8_t> package)
{
  // The first four bytes declare the unpacked size, read as the reader
  // reads them: little-endian, bytes past the end as zero. A package of three
  // bytes may so declare megabytes, which decode from nothing.
  uint32_t declared = 0;
  for (size_t k = 0; k < 4 && k < package.size(); ++k)
    declared |= uint32_t(package[k]) << (8 * k);
  if (int32_t(declared) > kMaxUnpackedSize)
    return false;
  skin::TSkinReader reader;
  try {
    if (!reader.Open(package))
      return true;
  } catch (const skin::ESkinPackage&) {
    return true;
  }
  std::vector<uint8_t> file;
  for (const std::string& name : reader.Names()) {
    reader.ExtractByName(name, file);
    if (fuzzlimit::BmpTooLarge(file, kMaxBitmapPixels))
      return false;
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  skin::SetSkinMessageHook(&Quiet);
  if (!WorthLoading({data, size}))
    return 0;
  skin::TSkinData component(nullptr);
  component.SetPackage({data, data + size});
  const bool loaded = component.ApplyPackage();
  if (loaded == component.NotLoaded())
    __builtin_trap();
  // A refused package leaves nothing of itself behind; an accepted one gives
  // at least the elements every skin has.
  const skin::TSkinModel& m = component;
  if (!loaded && (!m.CaptionButtons.empty() || !m.Buttons->Image.Empty() || !m.SkinName().empty() || m.Track ||
                  m.Colors()[skin::scFrameColor].Color != gfx::clBtnFace))
    __builtin_trap();
  if (loaded && (m.CaptionButtons.size() < 3 || !m.Track || !m.TrackVert))
    __builtin_trap();
  return 0;
}
