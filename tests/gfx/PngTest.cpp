#include "gfx/codecs/Png.h"
#include "tests/gfx/PixmapCompare.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <png.h>

using gfx::TPixel;
using gfx::TPixmap;

namespace {

using Bytes = std::vector<uint8_t>;

// What to write: the header's fields, a palette and transparency where the
// colour type takes them, and the samples (channels per pixel, row by row,
// each below 2^Depth).
struct TPngFile {
  int32_t Width = 0;
  int32_t Height = 0;
  int ColorType = PNG_COLOR_TYPE_RGB;
  int Depth = 8;
  bool Interlaced = false;
  std::vector<png_color> Palette;
  Bytes PaletteAlpha;                  // tRNS of a palette picture
  std::optional<png_color_16> KeyColour; // tRNS of a grey or colour picture
  std::vector<uint16_t> Samples;
};

int Channels(int colorType)
{
  switch (colorType) {
  case PNG_COLOR_TYPE_GRAY:
  case PNG_COLOR_TYPE_PALETTE:
    return 1;
  case PNG_COLOR_TYPE_GRAY_ALPHA:
    return 2;
  case PNG_COLOR_TYPE_RGB:
    return 3;
  default:
    return 4;
  }
}

// One row of samples as the file stores it: small depths packed from the
// high bit, 16 bits big-endian.
Bytes PackRow(const TPngFile& f, int32_t y)
{
  const int n = Channels(f.ColorType) * f.Width;
  const uint16_t* s = f.Samples.data() + size_t(y) * size_t(n);
  Bytes row;
  if (f.Depth == 16) {
    for (int i = 0; i < n; ++i) {
      row.push_back(uint8_t(s[i] >> 8));
      row.push_back(uint8_t(s[i]));
    }
    return row;
  }
  row.assign(size_t((n * f.Depth + 7) / 8), 0);
  for (int i = 0; i < n; ++i) {
    const int bit = i * f.Depth;
    row[size_t(bit / 8)] |= uint8_t(s[i] << (8 - f.Depth - bit % 8));
  }
  return row;
}

void Append(png_structp png, png_bytep data, size_t size)
{
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

// Writes the file straight through libpng, which does the interlacing.
Bytes WritePng(const TPngFile& f)
{
  std::vector<Bytes> rows;
  for (int32_t y = 0; y < f.Height; ++y)
    rows.push_back(PackRow(f, y));
  std::vector<png_bytep> pointers;
  for (Bytes& r : rows)
    pointers.push_back(r.data());
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write the test picture";
    return {};
  }
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, png_uint_32(f.Width), png_uint_32(f.Height), f.Depth, f.ColorType,
               f.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!f.Palette.empty())
    png_set_PLTE(png, info, f.Palette.data(), int(f.Palette.size()));
  if (!f.PaletteAlpha.empty())
    png_set_tRNS(png, info, f.PaletteAlpha.data(), int(f.PaletteAlpha.size()), nullptr);
  if (f.KeyColour)
    png_set_tRNS(png, info, nullptr, 0, &*f.KeyColour);
  png_write_info(png, info);
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

uint32_t To8(uint32_t sample, int depth)
{
  const uint32_t max = (1u << depth) - 1;
  return (sample * 255 + max / 2) / max;
}

uint32_t Over(uint32_t colour, uint32_t alpha, uint32_t background)
{
  return (colour * alpha + background * (255 - alpha) + 127) / 255;
}

TPixel Pixel(uint32_t r, uint32_t g, uint32_t b)
{
  return (r << 16) | (g << 8) | b;
}

constexpr TPixel kBackground = 0x00336699; // red 0x33, green 0x66, blue 0x99

// The pixel a reader must show for sample values r, g, b, a at the depth,
// composed over kBackground.
TPixel Expected(uint32_t r, uint32_t g, uint32_t b, uint32_t a, int depth)
{
  const uint32_t alpha = To8(a, depth);
  return Pixel(Over(To8(r, depth), alpha, 0x33), Over(To8(g, depth), alpha, 0x66), Over(To8(b, depth), alpha, 0x99));
}

// A picture of every direct colour type: samples that run over the whole
// range of the depth (low bytes of 16-bit samples included) and, where there
// is alpha, every kind of it. Also answers what a reader must show.
struct TCase {
  TPngFile File;
  TPixmap Shown;
};

TCase DirectColour(int colorType, int depth, int32_t w, int32_t h, bool interlaced = false)
{
  TCase c{{w, h, colorType, depth, interlaced, {}, {}, {}, {}}, TPixmap(w, h)};
  const uint32_t max = (1u << depth) - 1;
  const bool colour = (colorType & PNG_COLOR_MASK_COLOR) != 0;
  const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t r = uint32_t(x * 7919 + y * 104729) % (max + 1);
      const uint32_t g = colour ? uint32_t(x * 31 + y * 65521) % (max + 1) : r;
      const uint32_t b = colour ? (max - r) : r;
      // Transparent, opaque and in between, in turn.
      const uint32_t a = !alpha ? max : (x + y) % 3 == 0 ? 0 : (x + y) % 3 == 1 ? max : uint32_t(x * 4099 + y) % max;
      if (colour)
        c.File.Samples.insert(c.File.Samples.end(), {uint16_t(r), uint16_t(g), uint16_t(b)});
      else
        c.File.Samples.push_back(uint16_t(r));
      if (alpha)
        c.File.Samples.push_back(uint16_t(a));
      c.Shown.At(x, y) = Expected(r, g, b, a, depth);
    }
  return c;
}

// A palette picture whose entries cycle; with transparency, the entries' alpha
// runs from transparent to opaque.
TCase Paletted(int depth, int32_t w, int32_t h, bool transparent, bool interlaced = false)
{
  TCase c{{w, h, PNG_COLOR_TYPE_PALETTE, depth, interlaced, {}, {}, {}, {}}, TPixmap(w, h)};
  const int entries = 1 << depth;
  for (int i = 0; i < entries; ++i)
    c.File.Palette.push_back({png_byte(i * 37), png_byte(255 - i * 11), png_byte(i * 101)});
  if (transparent)
    for (int i = 0; i < entries; ++i)
      c.File.PaletteAlpha.push_back(uint8_t(i == 0 ? 0 : i * 255 / (entries - 1)));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int index = (x * 3 + y * 5) % entries;
      c.File.Samples.push_back(uint16_t(index));
      const png_color e = c.File.Palette[size_t(index)];
      const uint32_t a = transparent ? c.File.PaletteAlpha[size_t(index)] : 255;
      c.Shown.At(x, y) = Expected(e.red, e.green, e.blue, a, 8);
    }
  return c;
}

std::string Describe(const TPngFile& f)
{
  return "colour type " + std::to_string(f.ColorType) + ", " + std::to_string(f.Depth) + " bits" +
         (f.Interlaced ? ", interlaced" : "");
}

void ExpectShown(const TCase& c)
{
  SCOPED_TRACE(Describe(c.File));
  const Bytes file = WritePng(c.File);
  const TPixmap decoded = gfx::DecodePng(file, kBackground);
  ASSERT_EQ(decoded.Width(), c.Shown.Width());
  ASSERT_EQ(decoded.Height(), c.Shown.Height());
  for (int32_t y = 0; y < decoded.Height(); ++y)
    for (int32_t x = 0; x < decoded.Width(); ++x)
      ASSERT_EQ(decoded.At(x, y), c.Shown.At(x, y)) << "at " << x << ", " << y;
}

} // namespace

// --- Colour types and depths ----------------------------------------------------

TEST(PngDecode, EveryColourTypeAndDepthShowsItsColours)
{
  for (int depth : {1, 2, 4, 8, 16})
    ExpectShown(DirectColour(PNG_COLOR_TYPE_GRAY, depth, 19, 7));
  for (int type : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB_ALPHA})
    for (int depth : {8, 16})
      ExpectShown(DirectColour(type, depth, 19, 7));
  for (int depth : {1, 2, 4, 8})
    ExpectShown(Paletted(depth, 19, 7, false));
}

TEST(PngDecode, InterlacedPicturesShowAsTheirPlainTwins)
{
  // Sizes that leave some of the seven passes empty or partial.
  for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {13, 11}, {33, 9}}) {
    ExpectShown(DirectColour(PNG_COLOR_TYPE_RGB, 8, w, h, true));
    ExpectShown(DirectColour(PNG_COLOR_TYPE_GRAY_ALPHA, 16, w, h, true));
    ExpectShown(DirectColour(PNG_COLOR_TYPE_GRAY, 2, w, h, true));
    ExpectShown(Paletted(4, w, h, true, true));
  }
}

// --- Transparency ------------------------------------------------------------------

TEST(PngTransparency, PaletteAlphaIsComposedOverTheBackground)
{
  for (int depth : {1, 4, 8})
    ExpectShown(Paletted(depth, 16, 5, true));
  // Entries past the end of a short transparency table are opaque.
  TCase c = Paletted(2, 4, 1, false);
  c.File.PaletteAlpha = {0};
  c.Shown.At(0, 0) = kBackground; // entry 0
  ExpectShown(c);
}

TEST(PngTransparency, AKeyColourShowsTheBackgroundAndNothingElseDoes)
{
  // Grey at 4 and 16 bits and colour at 8 and 16 bits, each with one sample
  // value (or colour) named transparent.
  struct TKeyed {
    int ColorType;
    int Depth;
    png_color_16 Key;
  };
  const TKeyed cases[] = {
    {PNG_COLOR_TYPE_GRAY, 4, {0, 0, 0, 0, 9}},
    {PNG_COLOR_TYPE_GRAY, 16, {0, 0, 0, 0, 0x1234}},
    {PNG_COLOR_TYPE_RGB, 8, {0, 200, 10, 55, 0}},
    {PNG_COLOR_TYPE_RGB, 16, {0, 0xC812, 0x0A00, 0x37FF, 0}},
  };
  for (const TKeyed& k : cases) {
    TCase c = DirectColour(k.ColorType, k.Depth, 6, 2);
    const bool colour = k.ColorType == PNG_COLOR_TYPE_RGB;
    // Column 0 takes the key, column 1 a value one off it.
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 2; ++x) {
        const size_t at = size_t(y * 6 + x) * (colour ? 3 : 1);
        const uint16_t off = uint16_t(x);
        if (colour) {
          c.File.Samples[at] = uint16_t(k.Key.red + off);
          c.File.Samples[at + 1] = k.Key.green;
          c.File.Samples[at + 2] = k.Key.blue;
          c.Shown.At(x, y) = x == 0 ? kBackground
                                    : Expected(k.Key.red + 1u, k.Key.green, k.Key.blue, (1u << k.Depth) - 1, k.Depth);
        } else {
          c.File.Samples[at] = uint16_t(k.Key.gray + off);
          const uint32_t g = k.Key.gray + off;
          c.Shown.At(x, y) = x == 0 ? kBackground : Expected(g, g, g, (1u << k.Depth) - 1, k.Depth);
        }
      }
    c.File.KeyColour = k.Key;
    ExpectShown(c);
  }
}

TEST(PngTransparency, TheCallersBackgroundShowsThroughAndTheFourthByteIsZero)
{
  // One pixel each: transparent, opaque, half covered.
  TPngFile f{3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {}, {}, {}, {200, 100, 50, 0, 200, 100, 50, 255, 200, 100, 50, 128}};
  const Bytes file = WritePng(f);
  for (TPixel background : {TPixel(0x000000), TPixel(0xFFFFFF), TPixel(0x10E080)}) {
    const TPixmap p = gfx::DecodePng(file, background);
    EXPECT_EQ(p.At(0, 0), background);
    EXPECT_EQ(p.At(1, 0), Pixel(200, 100, 50));
    const uint32_t bg[3] = {background >> 16, (background >> 8) & 0xFF, background & 0xFF};
    EXPECT_EQ(p.At(2, 0), Pixel(Over(200, 128, bg[0]), Over(100, 128, bg[1]), Over(50, 128, bg[2])));
  }
  // An opaque picture ignores the background and leaves the fourth byte 0 too.
  const TCase opaque = DirectColour(PNG_COLOR_TYPE_RGB, 16, 5, 5);
  const Bytes opaqueFile = WritePng(opaque.File);
  EXPECT_TRUE(gfx::test::SamePixels(gfx::DecodePng(opaqueFile, 0), gfx::DecodePng(opaqueFile, 0xFFFFFF)));
  EXPECT_TRUE(gfx::test::SamePixels(gfx::DecodePng(opaqueFile, 0), opaque.Shown));
}

// --- Header ------------------------------------------------------------------------

TEST(PngInfo, TheHeaderIsReadWithoutThePixels)
{
  TCase c = Paletted(4, 300, 200, true, true);
  Bytes file = WritePng(c.File);
  const gfx::TPngInfo info = gfx::ReadPngInfo(file);
  EXPECT_EQ(info.Width, 300);
  EXPECT_EQ(info.Height, 200);
  EXPECT_EQ(info.BitDepth, 4);
  EXPECT_TRUE(info.Palette);
  EXPECT_TRUE(info.Colour);
  EXPECT_TRUE(info.Transparent);
  EXPECT_TRUE(info.Interlaced);

  const gfx::TPngInfo grey = gfx::ReadPngInfo(WritePng(DirectColour(PNG_COLOR_TYPE_GRAY, 16, 3, 4).File));
  EXPECT_EQ(grey.BitDepth, 16);
  EXPECT_FALSE(grey.Palette || grey.Colour || grey.Transparent || grey.Interlaced);
}

// --- Bad data ----------------------------------------------------------------------

TEST(PngErrors, DamagedFilesRaiseCodecErrors)
{
  const Bytes good = WritePng(DirectColour(PNG_COLOR_TYPE_RGB_ALPHA, 8, 40, 30).File);
  ASSERT_NO_THROW((void)gfx::DecodePng(good, 0));

  EXPECT_THROW((void)gfx::DecodePng(Bytes{}, 0), gfx::TCodecError);
  EXPECT_THROW((void)gfx::DecodePng(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}, 0), gfx::TCodecError);
  // Cut anywhere: in the signature, the header, the first data chunk, before
  // the last rows.
  for (size_t keep : {size_t(4), size_t(20), size_t(60), good.size() / 2, good.size() - 40})
    EXPECT_THROW((void)gfx::DecodePng(Bytes(good.begin(), good.begin() + ptrdiff_t(keep)), 0), gfx::TCodecError)
      << "kept " << keep << " of " << good.size() << " bytes";
  // A wrong checksum of the header.
  Bytes badCrc = good;
  badCrc[29] ^= 0x5A;
  EXPECT_THROW((void)gfx::DecodePng(badCrc, 0), gfx::TCodecError);
  // Garbage inside the compressed data.
  Bytes garbled = good;
  for (size_t i = 45; i < 70; ++i)
    garbled[i] = uint8_t(i * 13);
  EXPECT_THROW((void)gfx::DecodePng(garbled, 0), gfx::TCodecError);

  try {
    (void)gfx::DecodePng(Bytes(good.begin(), good.begin() + ptrdiff_t(good.size() / 2)), 0);
  } catch (const gfx::TCodecError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Invalid PNG data: ", 0), 0u) << e.what();
  }
}

TEST(PngErrors, SizesThePixelsCannotHoldAreRefusedBeforeDecoding)
{
  // The header of a 40000 x 1 picture, with a valid checksum: libpng's limit
  // stops it before a row is read.
  TPngFile wide{40000, 1, PNG_COLOR_TYPE_GRAY, 1, false, {}, {}, {}, std::vector<uint16_t>(40000, 1)};
  EXPECT_THROW((void)gfx::DecodePng(WritePng(wide), 0), gfx::TCodecError);
  EXPECT_THROW((void)gfx::ReadPngInfo(WritePng(wide)), gfx::TCodecError);

  // Pixels of another size than the picture's are not written into.
  const Bytes file = WritePng(DirectColour(PNG_COLOR_TYPE_RGB, 8, 8, 8).File);
  TPixmap wrong(4, 4);
  wrong.Fill(0x00ABCDEF);
  EXPECT_THROW(gfx::DecodePngInto(file, 0, [&wrong](int32_t, int32_t) -> TPixmap& { return wrong; }),
               gfx::TCodecError);
  EXPECT_EQ(wrong.At(0, 0), TPixel(0x00ABCDEF));
}

// --- Writing -------------------------------------------------------------------------

TEST(PngEncode, WrittenPicturesReadBackWithAndWithoutAlpha)
{
  const TCase c = DirectColour(PNG_COLOR_TYPE_RGB, 8, 17, 9);
  const Bytes rgb = gfx::EncodePng(c.Shown);
  EXPECT_FALSE(gfx::ReadPngInfo(rgb).Transparent);
  EXPECT_TRUE(gfx::test::SamePixels(gfx::DecodePng(rgb, 0), c.Shown));

  Bytes alpha(17 * 9);
  for (size_t i = 0; i < alpha.size(); ++i)
    alpha[i] = uint8_t(i * 29);
  const Bytes rgba = gfx::EncodePng(c.Shown, alpha);
  EXPECT_TRUE(gfx::ReadPngInfo(rgba).Transparent);
  const TPixmap shown = gfx::DecodePng(rgba, 0x00FFFFFF);
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 17; ++x) {
      const TPixel p = c.Shown.At(x, y);
      const uint32_t a = alpha[size_t(y * 17 + x)];
      ASSERT_EQ(shown.At(x, y), Pixel(Over(p >> 16, a, 255), Over((p >> 8) & 0xFF, a, 255), Over(p & 0xFF, a, 255)));
    }

  EXPECT_THROW((void)gfx::EncodePng(TPixmap()), gfx::TCodecError);
  EXPECT_THROW((void)gfx::EncodePng(c.Shown, Bytes(3)), gfx::TCodecError);
}
