#include "gfx/codecs/Ico.h"

#include <gtest/gtest.h>

#include <vector>

using gfx::TPixel;
using gfx::TPixmap;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v)
{
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& b, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(uint8_t(v >> (8 * i)));
}

// An icon image written by hand: a 40-byte header with the doubled height,
// the colour table, the colour rows and the AND mask rows, bottom-up.
// colour(x, y) gives an index (up to 8 bits) or a 0x00RRGGBB value (24 bits);
// transparent(x, y) sets the mask bit.
template <typename Colour, typename Transparent>
Bytes IconImage(int32_t size, int bpp, const std::vector<uint32_t>& palette, Colour colour, Transparent transparent)
{
  Bytes b;
  Put32(b, 40);
  Put32(b, uint32_t(size));
  Put32(b, uint32_t(size * 2));
  Put16(b, 1);
  Put16(b, uint32_t(bpp));
  for (int i = 0; i < 6; ++i)
    Put32(b, 0);
  for (uint32_t c : palette)
    Put32(b, c);
  const size_t stride = ((size_t(size) * size_t(bpp) + 31) / 32) * 4;
  for (int32_t y = size - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int32_t x = 0; x < size; ++x) {
      const uint32_t c = colour(x, y);
      if (bpp == 4)
        row[size_t(x) / 2] |= uint8_t((x & 1) ? c : c << 4);
      else if (bpp == 24)
        for (int i = 0; i < 3; ++i)
          row[size_t(x) * 3 + size_t(i)] = uint8_t(c >> (8 * i));
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  const size_t maskStride = ((size_t(size) + 31) / 32) * 4;
  for (int32_t y = size - 1; y >= 0; --y) {
    Bytes row(maskStride, 0);
    for (int32_t x = 0; x < size; ++x)
      if (transparent(x, y))
        row[size_t(x) / 8] |= uint8_t(0x80 >> (x & 7));
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

Bytes IconFile(const std::vector<std::pair<Bytes, int>>& images)
{
  Bytes f;
  Put16(f, 0);
  Put16(f, 1);
  Put16(f, uint32_t(images.size()));
  size_t offset = 6 + 16 * images.size();
  for (const auto& [data, size] : images) {
    f.push_back(uint8_t(size));
    f.push_back(uint8_t(size));
    f.push_back(0);
    f.push_back(0);
    Put16(f, 1);
    Put16(f, 0); // depth left out, as many writers do
    Put32(f, uint32_t(data.size()));
    Put32(f, uint32_t(offset));
    offset += data.size();
  }
  for (const auto& [data, size] : images)
    f.insert(f.end(), data.begin(), data.end());
  return f;
}

// Two sizes: 16 x 16 in 16 colours, red with a transparent left half; 32 x 32
// in 24 bits, blue with a transparent top-left quarter.
Bytes TwoSizeIcon()
{
  std::vector<uint32_t> palette(16, 0);
  palette[1] = 0xFF0000;
  // Transparent pixels are black in the colour image, as icon editors write
  // them; the mask alone makes them transparent.
  const Bytes small = IconImage(16, 4, palette, [](int32_t x, int32_t) { return x < 8 ? 0u : 1u; },
                                [](int32_t x, int32_t) { return x < 8; });
  const Bytes large = IconImage(32, 24, {}, [](int32_t x, int32_t y) { return x < 16 && y < 16 ? 0u : 0x0000FFu; },
                                [](int32_t x, int32_t y) { return x < 16 && y < 16; });
  return IconFile({{small, 16}, {large, 32}});
}

} // namespace

TEST(IcoDecode, DirectoryTakesSizesAndDepthsFromTheImages)
{
  const Bytes file = TwoSizeIcon();
  const auto entries = gfx::ReadIconDirectory(file);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Width, 16);
  EXPECT_EQ(entries[0].BitsPerPixel, 4);
  EXPECT_EQ(entries[1].Height, 32);
  EXPECT_EQ(entries[1].BitsPerPixel, 24);
  EXPECT_FALSE(entries[1].Png);
}

TEST(IcoDecode, TheBestEntryForSizeAndDepthIsChosen)
{
  const auto entries = gfx::ReadIconDirectory(TwoSizeIcon());
  EXPECT_EQ(gfx::SelectIconEntry(entries, 16, 16, 32), 0u);
  EXPECT_EQ(gfx::SelectIconEntry(entries, 32, 32, 32), 1u);
  EXPECT_EQ(gfx::SelectIconEntry(entries, 20, 20, 32), 1u); // the next larger
  EXPECT_EQ(gfx::SelectIconEntry(entries, 48, 48, 32), 1u); // the largest smaller
  EXPECT_EQ(gfx::SelectIconEntry(entries, 8, 8, 32), 0u);

  std::vector<gfx::TIconEntry> depths(3);
  for (auto& e : depths)
    e.Width = e.Height = 32;
  depths[0].BitsPerPixel = 4;
  depths[1].BitsPerPixel = 32;
  depths[2].BitsPerPixel = 8;
  EXPECT_EQ(gfx::SelectIconEntry(depths, 32, 32, 32), 1u);
  EXPECT_EQ(gfx::SelectIconEntry(depths, 32, 32, 8), 2u);
  depths[1].Png = true; // only taken when nothing else fits
  EXPECT_EQ(gfx::SelectIconEntry(depths, 32, 32, 32), 2u);
}

TEST(IcoDecode, MasksLetTheBackgroundThrough)
{
  const Bytes file = TwoSizeIcon();
  const auto entries = gfx::ReadIconDirectory(file);
  const gfx::TIconImage small = gfx::DecodeIconImage(file, entries[0]);
  EXPECT_FALSE(small.HasAlpha);
  TPixmap dest(16, 16);
  dest.Fill(0x00FF00);
  gfx::ComposeIconImage(small, dest);
  EXPECT_EQ(dest.At(7, 5), 0x00FF00u);
  EXPECT_EQ(dest.At(8, 5), 0xFF0000u);

  const gfx::TIconImage large = gfx::DecodeIconImage(file, entries[1]);
  EXPECT_EQ(large.BitsPerPixel, 24);
  TPixmap scaled(64, 64); // drawn at twice its size
  scaled.Fill(0x123456);
  gfx::ComposeIconImage(large, scaled);
  EXPECT_EQ(scaled.At(31, 31), 0x123456u);
  EXPECT_EQ(scaled.At(32, 31), 0x0000FFu);
  EXPECT_EQ(scaled.At(31, 32), 0x0000FFu);
  EXPECT_EQ(scaled.At(63, 63), 0x0000FFu);
}

TEST(IcoDecode, MaskedPixelsWithColourInvertTheBackground)
{
  std::vector<uint32_t> palette(16, 0);
  palette[1] = 0xFFFFFF;
  const Bytes image = IconImage(8, 4, palette, [](int32_t, int32_t) { return 1u; }, [](int32_t, int32_t) { return true; });
  const Bytes file = IconFile({{image, 8}});
  const auto icon = gfx::DecodeIconImage(file, gfx::ReadIconDirectory(file)[0]);
  TPixmap dest(8, 8);
  dest.Fill(0x102030);
  gfx::ComposeIconImage(icon, dest);
  EXPECT_EQ(dest.At(3, 3), 0xEFDFCFu);
}

TEST(IcoEncode, AlphaImagesRoundTripAndBlend)
{
  TPixmap a(16, 16), b(48, 48);
  a.Fill(0xFF00FF00);
  a.At(0, 0) = 0; // fully transparent
  b.Fill(0x80FF0000); // half-transparent red
  const TPixmap* images[] = {&a, &b};
  const Bytes file = gfx::EncodeIcon(images);
  const auto entries = gfx::ReadIconDirectory(file);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].Width, 48);
  EXPECT_EQ(entries[1].BitsPerPixel, 32);

  const auto first = gfx::DecodeIconImage(file, entries[0]);
  EXPECT_TRUE(first.HasAlpha);
  EXPECT_EQ(first.Mask[0], 1);
  EXPECT_EQ(first.Mask[1], 0);
  TPixmap dest(16, 16);
  dest.Fill(0x0000FF);
  gfx::ComposeIconImage(first, dest);
  EXPECT_EQ(dest.At(0, 0), 0x0000FFu);
  EXPECT_EQ(dest.At(1, 0), 0x00FF00u);

  TPixmap under(48, 48);
  under.Fill(0x0000FF);
  gfx::ComposeIconImage(gfx::DecodeIconImage(file, entries[1]), under);
  EXPECT_EQ(under.At(10, 10), 0x80007Fu);

  TPixmap tooLarge(257, 1);
  const TPixmap* bad[] = {&tooLarge};
  EXPECT_THROW((void)gfx::EncodeIcon(bad), gfx::TCodecError);
}

TEST(IcoCorrupt, TruncatedAndMalformedFilesAreRefused)
{
  const Bytes file = TwoSizeIcon();
  // Any cut loses a part of the last image (its mask at least).
  for (size_t n = 0; n < file.size(); ++n) {
    EXPECT_THROW(
        {
          const Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(n));
          const auto entries = gfx::ReadIconDirectory(cut);
          for (const auto& e : entries)
            (void)gfx::DecodeIconImage(cut, e);
        },
        gfx::TCodecError)
        << "cut at " << n;
  }

  // The directory may also promise less than the image needs.
  for (uint32_t size = 0; size < 40 + 32 * 32 * 3 + 32 * 4; size += 7) {
    Bytes shrunk = file;
    const size_t entry = 6 + 16 + 8;
    for (int i = 0; i < 4; ++i)
      shrunk[entry + size_t(i)] = uint8_t(size >> (8 * i));
    EXPECT_THROW((void)gfx::DecodeIconImage(shrunk, gfx::ReadIconDirectory(shrunk)[1]), gfx::TCodecError) << size;
  }

  Bytes noImages = {0, 0, 1, 0, 0, 0};
  EXPECT_THROW((void)gfx::ReadIconDirectory(noImages), gfx::TCodecError);
  Bytes wrongType = file;
  wrongType[2] = 3;
  EXPECT_THROW((void)gfx::ReadIconDirectory(wrongType), gfx::TCodecError);

  // A PNG image is listed but refused when asked for.
  Bytes png = IconFile({{Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}, 0}});
  const auto entries = gfx::ReadIconDirectory(png);
  EXPECT_TRUE(entries[0].Png);
  EXPECT_EQ(entries[0].Width, 256);
  EXPECT_THROW((void)gfx::DecodeIconImage(png, entries[0]), gfx::TCodecError);

  // An image header that claims 100000 x 100000 pixels.
  Bytes huge = file;
  const size_t image = 6 + 32;
  huge[image + 4] = 0xA0;
  huge[image + 5] = 0x86;
  huge[image + 6] = 0x01;
  huge[image + 8] = 0x40;
  huge[image + 9] = 0x0D;
  huge[image + 10] = 0x03;
  EXPECT_THROW((void)gfx::DecodeIconImage(huge, gfx::ReadIconDirectory(huge)[0]), gfx::TCodecError);
}
