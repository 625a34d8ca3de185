// The orientation tag read from EXIF blocks built byte by byte, in both byte
// orders, and from blocks damaged in the ways a broken or hostile file is.
#include "gfx/codecs/Exif.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using gfx::TOrientation;

namespace {

using Bytes = std::vector<uint8_t>;

// One directory entry holding orientation 6, directly after the header.
// Offsets in the segment: directory count at 14, the entry at 16 (tag 16,
// type 18, count 20, value 24), the next directory's offset at 28.
const Bytes kLittle = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0, 1, 0,
                       0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
const Bytes kBig = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 0x2A, 0, 0, 0, 8, 0, 1,
                    0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
constexpr size_t kCount = 14, kType = 18, kValueCount = 20, kValue = 24, kDirOffset = 10;

// A copy of block with bytes written over it from offset at.
Bytes With(const Bytes& block, size_t at, std::initializer_list<uint8_t> bytes)
{
  Bytes out;
  out.reserve(block.size());
  for (size_t i = 0; i < block.size(); ++i)
    out.push_back(i >= at && i - at < bytes.size() ? bytes.begin()[i - at] : block[i]);
  return out;
}

TEST(Exif, ReadsTheOrientationInBothByteOrders)
{
  EXPECT_EQ(gfx::ReadExifOrientation(kLittle), TOrientation::Rotate90);
  EXPECT_EQ(gfx::ReadExifOrientation(kBig), TOrientation::Rotate90);
  for (uint8_t v = 1; v <= 8; ++v) {
    EXPECT_EQ(gfx::ReadExifOrientation(With(kLittle, kValue, {v, 0})), TOrientation(v));
    EXPECT_EQ(gfx::ReadExifOrientation(With(kBig, kValue, {0, v})), TOrientation(v));
  }
}

TEST(Exif, FindsTheTagAmongOtherEntriesOfADirectoryFurtherOn)
{
  // Big-endian, the directory at offset 12 after four bytes of padding, with
  // a camera-maker string (its text elsewhere) and a width before the tag.
  const Bytes b = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 0x2A, 0, 0, 0, 12, 0xEE, 0xEE, 0xEE, 0xEE, 0, 3,
                   0x01, 0x0F, 0, 2, 0, 0, 0, 40, 0, 0, 0, 50,  // ASCII, 40 characters at 50
                   0x01, 0x00, 0, 4, 0, 0, 0, 1, 0, 0, 0x10, 0, // LONG width
                   0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 8, 0, 0,    // orientation 8
                   0, 0, 0, 0};
  EXPECT_EQ(gfx::ReadExifOrientation(b), TOrientation::Rotate270);
  // Without the tag the picture stays as stored.
  EXPECT_EQ(gfx::ReadExifOrientation(With(b, 44, {0x01, 0x13})), TOrientation::Normal);
}

TEST(Exif, EveryCutShortBlockIsIgnored)
{
  // The entry ends at byte 28; the next directory's offset is never needed.
  for (const Bytes& full : {kLittle, kBig}) {
    for (size_t n = 0; n < 28; ++n)
      EXPECT_EQ(gfx::ReadExifOrientation(std::span(full.data(), n)), TOrientation::Normal) << n;
    EXPECT_EQ(gfx::ReadExifOrientation(std::span(full.data(), 28)), TOrientation::Rotate90);
  }
}

TEST(Exif, DamagedHeadersAndOffsetsAreIgnored)
{
  const std::vector<Bytes> damaged = {
    With(kLittle, 0, {'e'}),                              // not an EXIF block
    With(kLittle, 6, {'I', 'M'}),                         // no byte order
    With(kLittle, 8, {43, 0}),                            // not a TIFF header
    With(kBig, 6, {'I', 'I'}),                            // the other byte order's numbers
    With(kLittle, kDirOffset, {0xF0, 0xFF, 0xFF, 0xFF}),  // directory far past the end
    With(kLittle, kDirOffset, {0xFF, 0xFF, 0xFF, 0xFF}),  // offset that wraps when added to
    With(kLittle, kDirOffset, {26, 0, 0, 0}),             // directory count at the very end
    With(kLittle, kDirOffset, {0, 0, 0, 0}),              // directory inside the header
    With(kBig, kDirOffset, {0, 0, 0, 4}),
    With(kLittle, kCount, {0xFF, 0xFF}),                  // more entries than the block holds
    With(kBig, kCount, {0, 2}),                           // one entry more than there is room for
  };
  for (size_t i = 0; i < damaged.size(); ++i)
    EXPECT_EQ(gfx::ReadExifOrientation(damaged[i]), TOrientation::Normal) << "case " << i;
}

TEST(Exif, AnOrientationEntryOfTheWrongShapeOrValueIsIgnored)
{
  const std::vector<Bytes> damaged = {
    With(kLittle, kType, {4, 0}),                          // LONG
    With(kBig, kType, {0, 1}),                             // BYTE
    With(kLittle, kValueCount, {2, 0, 0, 0}),              // two values
    With(kLittle, kValueCount, {0, 0, 0, 0}),              // none
    With(kBig, kValueCount, {0xFF, 0xFF, 0xFF, 0xFF}),     // a huge count
    With(kLittle, kValue, {0, 0}),
    With(kLittle, kValue, {9, 0}),
    With(kBig, kValue, {0, 9}),
    With(kBig, kValue, {1, 6}),                            // 262, not 6
    With(kLittle, kValue, {0xFF, 0xFF}),
  };
  for (size_t i = 0; i < damaged.size(); ++i)
    EXPECT_EQ(gfx::ReadExifOrientation(damaged[i]), TOrientation::Normal) << "case " << i;
}

TEST(Exif, WrittenBlocksAreTheOnesReadBack)
{
  EXPECT_EQ(gfx::MakeExifOrientationBlock(TOrientation::Rotate90, false), kLittle);
  EXPECT_EQ(gfx::MakeExifOrientationBlock(TOrientation::Rotate90, true), kBig);
  for (int v = 1; v <= 8; ++v)
    for (bool big : {false, true})
      EXPECT_EQ(gfx::ReadExifOrientation(gfx::MakeExifOrientationBlock(TOrientation(v), big)), TOrientation(v));
}

} // namespace
