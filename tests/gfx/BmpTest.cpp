#include "gfx/codecs/Bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// Assembles a bitmap file by hand, independently of the encoder: file header,
// an info header of the given size (12 for the OS/2 core header), optional
// masks after a 40-byte header, a colour table and the pixel bytes.
struct TBmpBuilder {
  uint32_t HeaderSize = 40;
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t Bpp = 24;
  uint32_t Compression = 0;
  std::vector<uint32_t> Masks;     // after a 40-byte header, or inside a larger one
  std::vector<uint32_t> Palette;   // 0x00RRGGBB
  uint32_t ColoursUsed = 0;
  Bytes Pixels;

  [[nodiscard]] Bytes Build() const
  {
    Bytes h;
    Put32(h, HeaderSize);
    if (HeaderSize == 12) {
      Put16(h, uint32_t(Width));
      Put16(h, uint32_t(Height));
      Put16(h, 1);
      Put16(h, Bpp);
    } else {
      Put32(h, uint32_t(Width));
      Put32(h, uint32_t(Height));
      Put16(h, 1);
      Put16(h, Bpp);
      Put32(h, Compression);
      Put32(h, uint32_t(Pixels.size()));
      Put32(h, 2835);
      Put32(h, 2835);
      Put32(h, ColoursUsed);
      Put32(h, 0);
      if (HeaderSize > 40) {
        for (uint32_t m : Masks)
          Put32(h, m);
        h.resize(HeaderSize, 0);
      } else {
        for (uint32_t m : Masks)
          Put32(h, m);
      }
    }
    for (uint32_t c : Palette) {
      h.push_back(uint8_t(c));
      h.push_back(uint8_t(c >> 8));
      h.push_back(uint8_t(c >> 16));
      if (HeaderSize != 12)
        h.push_back(0);
    }
    Bytes f{'B', 'M'};
    const uint32_t off = uint32_t(14 + h.size());
    Put32(f, uint32_t(off + Pixels.size()));
    Put32(f, 0);
    Put32(f, off);
    f.insert(f.end(), h.begin(), h.end());
    f.insert(f.end(), Pixels.begin(), Pixels.end());
    return f;
  }
};

// The pixels of a decoded picture, row by row from the top, without the
// fourth byte unless asked for.
std::vector<std::vector<TPixel>> Rows(const TPixmap& p, bool withAlpha = false)
{
  std::vector<std::vector<TPixel>> rows;
  for (int32_t y = 0; y < p.Height(); ++y) {
    std::vector<TPixel> row;
    for (int32_t x = 0; x < p.Width(); ++x)
      row.push_back(withAlpha ? p.At(x, y) : p.At(x, y) & 0x00FFFFFF);
    rows.push_back(row);
  }
  return rows;
}

constexpr TPixel R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

} // namespace

// --- Uncompressed layouts --------------------------------------------------

TEST(BmpDecode, OneBitRowsArePaddedAndBottomUp)
{
  // 9 pixels wide: two bytes of bits plus two bytes of padding per row.
  TBmpBuilder b;
  b.Width = 9;
  b.Height = 2;
  b.Bpp = 1;
  b.Palette = {0x102030, 0xA0B0C0};
  b.Pixels = {0b10000000, 0b10000000, 0, 0,   // bottom row: x 0 and 8 set
              0b01111111, 0b00000000, 0, 0};  // top row: x 1..7 set
  const auto img = gfx::DecodeBmpImage(b.Build());
  EXPECT_EQ(img.BitsPerPixel, 1);
  const TPixel o = 0x102030, i = 0xA0B0C0;
  EXPECT_EQ(Rows(img.Pixels), (std::vector<std::vector<TPixel>>{{o, i, i, i, i, i, i, i, o},
                                                                {i, o, o, o, o, o, o, o, i}}));
}

TEST(BmpDecode, FourAndEightBitIndexThePalette)
{
  TBmpBuilder b4;
  b4.Width = 3;
  b4.Height = 1;
  b4.Bpp = 4;
  b4.Palette = {K, R, G, B};
  b4.ColoursUsed = 4;
  b4.Pixels = {0x12, 0x30, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(b4.Build())), (std::vector<std::vector<TPixel>>{{R, G, B}}));

  TBmpBuilder b8;
  b8.Width = 2;
  b8.Height = -2; // top-down
  b8.Bpp = 8;
  b8.Palette = {K, R, G, B, W};
  b8.ColoursUsed = 5;
  b8.Pixels = {1, 2, 0, 0, 3, 4, 0, 0};
  const auto img = gfx::DecodeBmpImage(b8.Build());
  EXPECT_EQ(img.BitsPerPixel, 8);
  EXPECT_EQ(Rows(img.Pixels), (std::vector<std::vector<TPixel>>{{R, G}, {B, W}}));
}

TEST(BmpDecode, IndicesBeyondTheColourTableAreBlack)
{
  TBmpBuilder b;
  b.Width = 2;
  b.Height = 1;
  b.Bpp = 8;
  b.Palette = {W};
  b.ColoursUsed = 1;
  b.Pixels = {0, 200, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{W, K}}));
}

TEST(BmpDecode, SixteenBitDefaultsToFiveFiveFiveAndHonoursBitFields)
{
  TBmpBuilder b;
  b.Width = 3;
  b.Height = 1;
  b.Bpp = 16;
  // 5-5-5: full red, full green, a half blue (15 of 31).
  b.Pixels = {0x00, 0x7C, 0xE0, 0x03, 0x0F, 0x00, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{R, G, 0x00007B}}));

  TBmpBuilder f = b;
  f.Compression = 3;
  f.Masks = {0xF800, 0x07E0, 0x001F};
  // 5-6-5: red, full green (63), white.
  f.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0xFF, 0xFF, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(f.Build())), (std::vector<std::vector<TPixel>>{{R, G, W}}));
}

TEST(BmpDecode, TwentyFourBitPaddingAndOrientation)
{
  TBmpBuilder b;
  b.Width = 1;
  b.Height = 2;
  b.Bpp = 24;
  b.Pixels = {0xFF, 0, 0, 0, /* bottom: blue */ 0, 0, 0xFF, 0 /* top: red */};
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{R}, {B}}));
  b.Height = -2;
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{B}, {R}}));
}

TEST(BmpDecode, ThirtyTwoBitKeepsTheFourthByteAndReadsMasks)
{
  TBmpBuilder b;
  b.Width = 2;
  b.Height = 1;
  b.Bpp = 32;
  b.Pixels = {1, 2, 3, 0x80, 4, 5, 6, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build()), true), (std::vector<std::vector<TPixel>>{{0x80030201, 0x00060504}}));

  // Red in the low byte and alpha on top, with the masks inside a V5 header.
  TBmpBuilder v5 = b;
  v5.HeaderSize = 124;
  v5.Compression = 3;
  v5.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  v5.Pixels = {0x11, 0x22, 0x33, 0x44, 0xFF, 0, 0, 0xFF};
  EXPECT_EQ(Rows(gfx::DecodeBmp(v5.Build()), true), (std::vector<std::vector<TPixel>>{{0x44112233, 0xFFFF0000}}));

  // Alpha bit fields after a 40-byte header (four masks).
  TBmpBuilder ab = b;
  ab.Compression = 6;
  ab.Masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
  ab.Pixels = {0x7F, 0x10, 0x20, 0x30, 0, 0, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(ab.Build()), true), (std::vector<std::vector<TPixel>>{{0x7F102030, 0}}));
}

TEST(BmpDecode, CoreHeaderHasThreeByteColours)
{
  TBmpBuilder b;
  b.HeaderSize = 12;
  b.Width = 2;
  b.Height = 1;
  b.Bpp = 8;
  b.Palette.assign(256, 0);
  b.Palette[7] = 0x123456;
  b.Pixels = {7, 0, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{0x123456, K}}));

  TBmpBuilder c24 = b;
  c24.Bpp = 24;
  c24.Palette.clear();
  c24.Pixels = {0, 0xFF, 0, 0xFF, 0, 0, 0, 0};
  EXPECT_EQ(Rows(gfx::DecodeBmp(c24.Build())), (std::vector<std::vector<TPixel>>{{G, B}}));
}

// --- Run-length compression -----------------------------------------------

TEST(BmpDecode, Rle8RunsLiteralsDeltasAndEndOfLine)
{
  TBmpBuilder b;
  b.Width = 5;
  b.Height = 3;
  b.Bpp = 8;
  b.Compression = 1;
  b.Palette = {K, R, G, B, W};
  b.Pixels = {
      3, 1,             // bottom row: R R R
      0, 0,             // end of line
      0, 3, 2, 3, 4, 0, // literal G B W, padded to a word
      0, 2, 1, 1,       // delta: one right, one up
      2, 1,             // top row from x = 4: R, then a pixel past the edge
      0, 1,             // end of bitmap
  };
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{K, K, K, K, R},
                                                                              {G, B, W, K, K},
                                                                              {R, R, R, K, K}}));
}

TEST(BmpDecode, Rle4AlternatesTheTwoIndicesOfARun)
{
  TBmpBuilder b;
  b.Width = 4;
  b.Height = 2;
  b.Bpp = 4;
  b.Compression = 2;
  b.Palette = {K, R, G, B};
  b.Pixels = {
      4, 0x12,          // R G R G
      0, 0,
      0, 3, 0x31, 0x20, // literal B R G (two bytes, already even)
      0, 1,
  };
  EXPECT_EQ(Rows(gfx::DecodeBmp(b.Build())), (std::vector<std::vector<TPixel>>{{B, R, G, K}, {R, G, R, G}}));
}

// --- Writing ---------------------------------------------------------------

TEST(BmpEncode, RoundTripsInEveryWritableDepth)
{
  TPixmap p(5, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x)
      p.At(x, y) = TPixel(((x * 40) << 16) | ((y * 90) << 8) | (x + y));
  for (int bpp : {8, 24, 32}) {
    const auto file = gfx::EncodeBmp(p, bpp);
    const auto back = gfx::DecodeBmpImage(file);
    EXPECT_EQ(back.BitsPerPixel, bpp);
    EXPECT_EQ(Rows(back.Pixels), Rows(p)) << bpp << " bits";
  }
  // The fourth byte survives a 32-bit round trip and is dropped otherwise.
  p.At(0, 0) |= 0xAB000000;
  EXPECT_EQ(gfx::DecodeBmp(gfx::EncodeBmp(p, 32)).At(0, 0) >> 24, 0xABu);
  EXPECT_EQ(gfx::DecodeBmp(gfx::EncodeBmp(p, 24)).At(0, 0) >> 24, 0u);
}

TEST(BmpEncode, EightBitPaletteHoldsExactlyThePictureColours)
{
  TPixmap p(300, 1);
  for (int32_t x = 0; x < 300; ++x)
    p.At(x, 0) = TPixel(x % 256) << 8;
  const auto file = gfx::EncodeBmp(p, 8);
  // 14 + 40 header bytes, 256 colours, 300 indices per row (already aligned).
  EXPECT_EQ(file.size(), 14u + 40u + 256u * 4u + 300u);
  EXPECT_EQ(Rows(gfx::DecodeBmp(file)), Rows(p));

  p.At(255, 0) = 0x123456; // replaces the only pixel of its colour
  EXPECT_EQ(gfx::EncodeBmp(p, 8).size(), 14u + 40u + 256u * 4u + 300u);
  p.At(0, 0) = 0x654321; // its old colour lives on at x = 256: 257 colours
  EXPECT_THROW((void)gfx::EncodeBmp(p, 8), gfx::TCodecError);
}

TEST(BmpEncode, RefusesUnsupportedDepths)
{
  TPixmap p(1, 1);
  for (int bpp : {0, 1, 4, 16, 33})
    EXPECT_THROW((void)gfx::EncodeBmp(p, bpp), gfx::TCodecError) << bpp;
}

// --- Bad data --------------------------------------------------------------

TEST(BmpCorrupt, EveryTruncationOfEveryLayoutIsRefused)
{
  TPixmap p(7, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 7; ++x)
      p.At(x, y) = TPixel(x * 30 + y);
  // Each file with the number of trailing bytes a reader may do without:
  // the padding of the last row, which some writers leave out.
  std::vector<std::pair<Bytes, size_t>> files = {
      {gfx::EncodeBmp(p, 8), 1}, {gfx::EncodeBmp(p, 24), 3}, {gfx::EncodeBmp(p, 32), 0}};
  TBmpBuilder rle;
  rle.Width = 4;
  rle.Height = 2;
  rle.Bpp = 8;
  rle.Compression = 1;
  rle.Palette = {K, R};
  rle.Pixels = {4, 1, 0, 0, 0, 4, 1, 0, 1, 0, 0, 1};
  files.emplace_back(rle.Build(), 0);
  for (const auto& [file, optional] : files) {
    ASSERT_NO_THROW((void)gfx::DecodeBmp(file));
    for (size_t n = 0; n < file.size() - optional; ++n)
      EXPECT_THROW((void)gfx::DecodeBmp(std::span(file.data(), n)), gfx::TCodecError) << "cut at " << n;
    for (size_t n = file.size() - optional; n < file.size(); ++n)
      EXPECT_NO_THROW((void)gfx::DecodeBmp(std::span(file.data(), n))) << "cut at " << n;
  }
}

TEST(BmpCorrupt, HugeOrNonsenseHeadersAreRefusedBeforeAllocating)
{
  TBmpBuilder b;
  b.Width = 100000;
  b.Height = 100000;
  b.Bpp = 24;
  b.Pixels = {1, 2, 3, 4};
  try {
    (void)gfx::DecodeBmp(b.Build());
    FAIL() << "a 100000 x 100000 header was accepted";
  } catch (const gfx::TCodecError& e) {
    EXPECT_NE(std::string(e.what()).find("100000"), std::string::npos) << e.what();
  }

  auto refuses = [](TBmpBuilder x) { EXPECT_THROW((void)gfx::DecodeBmp(x.Build()), gfx::TCodecError); };
  TBmpBuilder ok;
  ok.Width = 1;
  ok.Height = 1;
  ok.Pixels = {0, 0, 0, 0};
  ASSERT_NO_THROW((void)gfx::DecodeBmp(ok.Build()));
  TBmpBuilder x = ok;
  x.Width = 0;
  refuses(x);
  x = ok;
  x.Height = INT32_MIN;
  refuses(x);
  x = ok;
  x.Bpp = 7;
  refuses(x);
  x = ok;
  x.Compression = 4; // embedded JPEG
  refuses(x);
  x = ok;
  x.Compression = 1; // RLE8 with 24 bits
  refuses(x);
  x = ok;
  x.Bpp = 8;
  x.Compression = 1;
  x.Height = -1; // RLE cannot be top-down
  x.Palette = {0};
  refuses(x);
  x = ok;
  x.HeaderSize = 20;
  refuses(x);

  Bytes notBmp = ok.Build();
  notBmp[0] = 'P';
  EXPECT_THROW((void)gfx::DecodeBmp(notBmp), gfx::TCodecError);
}

TEST(BmpCorrupt, RleRunsOutsideThePictureAreClipped)
{
  // Runs and deltas that point past the edges must neither write outside the
  // pixels nor loop: a delta beyond the top ends the picture.
  TBmpBuilder b;
  b.Width = 2;
  b.Height = 2;
  b.Bpp = 8;
  b.Compression = 1;
  b.Palette = {K, W};
  b.Pixels = {255, 1, 0, 2, 255, 255, 255, 1};
  const TPixmap p = gfx::DecodeBmp(b.Build());
  EXPECT_EQ(Rows(p), (std::vector<std::vector<TPixel>>{{K, K}, {W, W}}));
}
