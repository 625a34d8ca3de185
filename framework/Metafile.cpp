#include "framework/Metafile.h"

#include "framework/Streams.h"
#include "gfx/Pixmap.h"

#include <algorithm>
#include <cstdlib>

namespace framework {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfHeaderRecord = 1;
constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr uint16_t kWmfSetWindowExt = 0x020C;
constexpr int32_t kPixelsPerInch = 96;

uint16_t Read16(const std::vector<uint8_t>& d, size_t at)
{
  return uint16_t(d[at] | (d[at + 1] << 8));
}

uint32_t Read32(const std::vector<uint8_t>& d, size_t at)
{
  return uint32_t(d[at]) | (uint32_t(d[at + 1]) << 8) | (uint32_t(d[at + 2]) << 16) | (uint32_t(d[at + 3]) << 24);
}

[[noreturn]] void Fail(const std::string& what)
{
  throw EInvalidGraphic("Invalid metafile: " + what);
}

// A size from the header must be drawable: positive, and within what a
// bitmap may hold.
int32_t CheckedSide(int64_t value)
{
  if (value <= 0 || value > gfx::TPixmap::kMaxSide)
    Fail("the picture size " + std::to_string(value) + " is out of range");
  return int32_t(value);
}

} // namespace

std::unique_ptr<TGraphic> TMetafile::NewInstance() const
{
  return std::make_unique<TMetafile>();
}

void TMetafile::LoadFromStream(TStream& stream)
{
  std::vector<uint8_t> data = stream.ReadToEnd();
  int32_t width = 0, height = 0;
  bool enhanced = false, placeable = false;

  if (data.size() >= 88 && Read32(data, 0) == kEmfHeaderRecord && Read32(data, 40) == kEmfSignature) {
    // The frame is in hundredths of a millimetre, inclusive.
    enhanced = true;
    const int64_t left = int32_t(Read32(data, 24)), top = int32_t(Read32(data, 28));
    const int64_t right = int32_t(Read32(data, 32)), bottom = int32_t(Read32(data, 36));
    width = CheckedSide(((right - left) * kPixelsPerInch + 1270) / 2540);
    height = CheckedSide(((bottom - top) * kPixelsPerInch + 1270) / 2540);
    if (Read32(data, 48) > data.size())
      Fail("the file is shorter than its header says");
  } else {
    size_t header = 0;
    if (data.size() >= 22 && Read32(data, 0) == kPlaceableKey) {
      // Placeable header: a bounding box in units of 1/inch inch.
      placeable = true;
      const int64_t left = int16_t(Read16(data, 6)), top = int16_t(Read16(data, 8));
      const int64_t right = int16_t(Read16(data, 10)), bottom = int16_t(Read16(data, 12));
      const int64_t inch = Read16(data, 14);
      if (inch == 0)
        Fail("the placeable header has no unit");
      width = CheckedSide((std::abs(right - left) * kPixelsPerInch + inch / 2) / inch);
      height = CheckedSide((std::abs(bottom - top) * kPixelsPerInch + inch / 2) / inch);
      header = 22;
    }
    // The standard header: type 1 or 2, a header size of 9 words.
    if (data.size() < header + 18)
      Fail("the file is too short");
    const uint16_t type = Read16(data, header);
    if ((type != 1 && type != 2) || Read16(data, header + 2) != 9)
      Fail("the file is neither an enhanced nor a Windows metafile");
    if (!placeable) {
      // Without a placeable header the size is the window extent the records
      // set up, as the drawing program left it.
      size_t at = header + 18;
      while (at + 6 <= data.size()) {
        const uint32_t words = Read32(data, at);
        const uint16_t function = Read16(data, at + 4);
        if (words < 3 || words > (data.size() - at) / 2)
          break;
        if (function == kWmfSetWindowExt && words >= 5) {
          height = CheckedSide(std::abs(int64_t(int16_t(Read16(data, at + 6)))));
          width = CheckedSide(std::abs(int64_t(int16_t(Read16(data, at + 8)))));
          break;
        }
        if (function == 0)
          break;
        at += size_t(words) * 2;
      }
      if (width == 0)
        Fail("the metafile sets no window extent, so its size is unknown");
    }
  }

  data_ = std::move(data);
  width_ = width;
  height_ = height;
  enhanced_ = enhanced;
  placeable_ = placeable;
  Changed();
}

void TMetafile::SaveToStream(TStream& stream) const
{
  stream.WriteBuffer(data_);
}

void TMetafile::Assign(const TGraphic& source)
{
  if (&source == this)
    return;
  const auto* other = dynamic_cast<const TMetafile*>(&source);
  if (!other) {
    TGraphic::Assign(source);
    return;
  }
  data_ = other->data_;
  width_ = other->width_;
  height_ = other->height_;
  enhanced_ = other->enhanced_;
  placeable_ = other->placeable_;
  Changed();
}

void TMetafile::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  if (data_.empty() || rect.IsEmpty())
    return;
  PlayMetafile(*this, canvas, rect);
}

#ifndef _WIN32
void PlayMetafile(const TMetafile&, TCanvas&, const gfx::TRect&)
{
  throw EInvalidGraphicOperation("Metafiles can only be drawn on Windows");
}
#endif

} // namespace framework
