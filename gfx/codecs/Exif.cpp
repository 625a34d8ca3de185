#include "gfx/codecs/Exif.h"

#include <cstring>

namespace gfx {
namespace {

constexpr uint8_t kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr size_t kEntrySize = 12;

// Reads the TIFF part of the block in its own byte order. Every read is at an
// offset the caller has checked to lie inside.
class TTiffReader {
public:
  TTiffReader(std::span<const uint8_t> tiff, bool bigEndian) noexcept : tiff_(tiff), bigEndian_(bigEndian) {}

  [[nodiscard]] size_t Size() const noexcept { return tiff_.size(); }
  [[nodiscard]] uint16_t U16(size_t at) const noexcept
  {
    const uint16_t a = tiff_[at], b = tiff_[at + 1];
    return bigEndian_ ? uint16_t(a << 8 | b) : uint16_t(b << 8 | a);
  }
  [[nodiscard]] uint32_t U32(size_t at) const noexcept
  {
    const uint32_t hi = U16(at), lo = U16(at + 2);
    return bigEndian_ ? (hi << 16 | lo) : (lo << 16 | hi);
  }

private:
  std::span<const uint8_t> tiff_;
  bool bigEndian_;
};

void PutU16(std::vector<uint8_t>& out, uint16_t v, bool bigEndian)
{
  out.push_back(uint8_t(bigEndian ? v >> 8 : v));
  out.push_back(uint8_t(bigEndian ? v : v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v, bool bigEndian)
{
  PutU16(out, uint16_t(bigEndian ? v >> 16 : v), bigEndian);
  PutU16(out, uint16_t(bigEndian ? v : v >> 16), bigEndian);
}

} // namespace

TOrientation ReadExifOrientation(std::span<const uint8_t> segment) noexcept
{
  if (segment.size() < sizeof kSignature || std::memcmp(segment.data(), kSignature, sizeof kSignature) != 0)
    return TOrientation::Normal;
  const std::span<const uint8_t> tiff = segment.subspan(sizeof kSignature);
  if (tiff.size() < 8)
    return TOrientation::Normal;
  bool bigEndian;
  if (tiff[0] == 'I' && tiff[1] == 'I')
    bigEndian = false;
  else if (tiff[0] == 'M' && tiff[1] == 'M')
    bigEndian = true;
  else
    return TOrientation::Normal;
  const TTiffReader r(tiff, bigEndian);
  if (r.U16(2) != 42)
    return TOrientation::Normal;

  // The directory: a count, then that many entries, all inside the block.
  // Sizes are compared as subtractions from the block's length, which cannot
  // overflow the way adding a hostile offset could.
  const uint32_t dir = r.U32(4);
  if (dir < 8 || dir > r.Size() || r.Size() - dir < 2)
    return TOrientation::Normal;
  const size_t count = r.U16(dir);
  if ((r.Size() - dir - 2) / kEntrySize < count)
    return TOrientation::Normal;

  // Only this directory is read (never the link to the next one), so no
  // chain of offsets can loop.
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = dir + 2 + i * kEntrySize;
    if (r.U16(entry) != kOrientationTag)
      continue;
    // One SHORT sits in the entry's own value field, first of its four bytes.
    if (r.U16(entry + 2) != kTypeShort || r.U32(entry + 4) != 1)
      return TOrientation::Normal;
    const uint16_t value = r.U16(entry + 8);
    return value >= 1 && value <= 8 ? TOrientation(value) : TOrientation::Normal;
  }
  return TOrientation::Normal;
}

std::vector<uint8_t> MakeExifOrientationBlock(TOrientation orientation, bool bigEndian)
{
  std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));
  out.push_back(bigEndian ? 'M' : 'I');
  out.push_back(bigEndian ? 'M' : 'I');
  PutU16(out, 42, bigEndian);
  PutU32(out, 8, bigEndian); // the directory follows the header
  PutU16(out, 1, bigEndian);
  PutU16(out, kOrientationTag, bigEndian);
  PutU16(out, kTypeShort, bigEndian);
  PutU32(out, 1, bigEndian);
  PutU16(out, uint16_t(orientation), bigEndian);
  PutU16(out, 0, bigEndian); // the rest of the value field
  PutU32(out, 0, bigEndian); // no next directory
  return out;
}

} // namespace gfx
