#include "gfx/codecs/Jpeg.h"
#include "tests/gfx/PixmapCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

using gfx::TPixel;
using gfx::TPixmap;

namespace {

using Bytes = std::vector<uint8_t>;

// A smooth picture with every channel varying, which JPEG keeps well.
TPixmap Gradient(int32_t w, int32_t h)
{
  TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = TPixel(((x * 255 / (w - 1)) << 16) | ((y * 255 / (h - 1)) << 8) | ((x + y) * 127 / (w + h)));
  return p;
}

int MaxChannelDifference(const TPixmap& a, const TPixmap& b)
{
  int worst = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((a.At(x, y) >> shift) & 0xFF) - int((b.At(x, y) >> shift) & 0xFF)));
  return worst;
}

using gfx::test::SamePixels;

// Writes a four-component JPEG straight through libjpeg, as prepress software
// does: Adobe-style inverted CMYK, stored as CMYK or as YCCK.
Bytes WriteCmykJpeg(int32_t w, int32_t h, const uint8_t cmyk[4], J_COLOR_SPACE stored)
{
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(w);
  info.image_height = JDIMENSION(h);
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, stored);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(w) * 4);
  for (int32_t x = 0; x < w; ++x)
    for (int i = 0; i < 4; ++i)
      row[size_t(x) * 4 + size_t(i)] = uint8_t(255 - cmyk[i]);
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

} // namespace

// --- Round trips -------------------------------------------------------------

TEST(JpegCodec, BaselineAndProgressiveDecodeToTheSamePixels)
{
  const TPixmap source = Gradient(67, 45); // sizes that are not multiples of the block size
  const Bytes baseline = gfx::EncodeJpeg(source, {95, false, false});
  const Bytes progressive = gfx::EncodeJpeg(source, {95, true, false});
  EXPECT_FALSE(gfx::ReadJpegInfo(baseline).Progressive);
  const gfx::TJpegInfo info = gfx::ReadJpegInfo(progressive);
  EXPECT_TRUE(info.Progressive);
  EXPECT_EQ(info.Width, 67);
  EXPECT_EQ(info.Height, 45);
  EXPECT_EQ(info.Components, 3);

  const TPixmap a = gfx::DecodeJpeg(baseline);
  const TPixmap b = gfx::DecodeJpeg(progressive);
  ASSERT_EQ(a.Width(), 67);
  ASSERT_EQ(a.Height(), 45);
  EXPECT_LE(MaxChannelDifference(a, source), 12);
  // Progressive coding only reorders the same quantised coefficients.
  EXPECT_TRUE(SamePixels(a, b));
  // The fourth byte is clear, as in every other decoded picture.
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      ASSERT_EQ(a.At(x, y) >> 24, 0u);
}

TEST(JpegCodec, GrayscaleFilesDecodeToGreyPixels)
{
  const TPixmap source = Gradient(32, 16);
  const Bytes grey = gfx::EncodeJpeg(source, {90, false, true});
  EXPECT_EQ(gfx::ReadJpegInfo(grey).Components, 1);
  const TPixmap p = gfx::DecodeJpeg(grey);
  for (int32_t y = 0; y < p.Height(); ++y)
    for (int32_t x = 0; x < p.Width(); ++x) {
      const TPixel v = p.At(x, y);
      ASSERT_EQ(v & 0xFF, (v >> 8) & 0xFF);
      ASSERT_EQ(v & 0xFF, (v >> 16) & 0xFF);
    }
  // Pure green has a luminance of about 150.
  TPixmap green(8, 8);
  green.Fill(0x00FF00);
  EXPECT_NEAR(int(gfx::DecodeJpeg(gfx::EncodeJpeg(green, {100, true, true})).At(3, 3) & 0xFF), 150, 3);
}

TEST(JpegCodec, CmykAndYcckBecomeRgb)
{
  // 0 % cyan, 100 % magenta, 100 % yellow, 0 % black is red; 50 % black
  // halves it.
  const uint8_t red[4] = {0, 255, 255, 0};
  const uint8_t darkRed[4] = {0, 255, 255, 128};
  for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
    TPixel p = gfx::DecodeJpeg(WriteCmykJpeg(16, 16, red, stored)).At(5, 5);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 255, 4) << stored;
    EXPECT_NEAR(int((p >> 8) & 0xFF), 0, 4) << stored;
    EXPECT_NEAR(int(p & 0xFF), 0, 4) << stored;
    p = gfx::DecodeJpeg(WriteCmykJpeg(16, 16, darkRed, stored)).At(5, 5);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 127, 4) << stored;
    EXPECT_NEAR(int((p >> 8) & 0xFF), 0, 4) << stored;
  }
}

#ifndef _WIN32
// The same library decoding the same file must give the same pixels as the
// command-line decoder, whole and reduced: nothing is lost or shifted on the
// way to our rows, and a reduction is the library's own.
TEST(JpegCodec, MatchesTheCommandLineDecoder)
{
  if (std::system("djpeg -version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "djpeg is not installed";
  const Bytes file = gfx::EncodeJpeg(Gradient(41, 23), {80, true, false});
  const std::string in = testing::TempDir() + "jpeg_codec_in.jpg";
  const std::string out = testing::TempDir() + "jpeg_codec_out.ppm";
  std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  for (int reduction : {1, 2, 4, 8}) {
    SCOPED_TRACE("1/" + std::to_string(reduction));
    const std::string scale = " -scale 1/" + std::to_string(reduction);
    ASSERT_EQ(std::system(("djpeg -pnm" + scale + " -outfile '" + out + "' '" + in + "'").c_str()), 0);
    std::ifstream ppm(out, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, max = 0;
    ppm >> magic >> w >> h >> max;
    ppm.get();
    ASSERT_EQ(magic, "P6");
    TPixmap ours;
    gfx::DecodeJpegInto(
      file, [&ours](int32_t width, int32_t height) -> TPixmap& { return ours = TPixmap(width, height); }, reduction);
    ASSERT_EQ(w, ours.Width());
    ASSERT_EQ(h, ours.Height());
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        unsigned char rgb[3];
        ppm.read(reinterpret_cast<char*>(rgb), 3);
        ASSERT_EQ(ours.At(x, y), TPixel(rgb[2] | (rgb[1] << 8) | (rgb[0] << 16))) << x << ", " << y;
      }
  }
  std::remove(in.c_str());
  std::remove(out.c_str());
}
#endif

TEST(JpegCodec, EncoderRefusesAnEmptyPicture)
{
  EXPECT_THROW((void)gfx::EncodeJpeg(TPixmap()), gfx::TCodecError);
}

// --- Bad data ---------------------------------------------------------------

TEST(JpegCorrupt, TruncatedFilesAreRefused)
{
  const TPixmap source = Gradient(40, 24);
  for (bool progressive : {false, true}) {
    const Bytes file = gfx::EncodeJpeg(source, {85, progressive, false});
    ASSERT_NO_THROW((void)gfx::DecodeJpeg(file));
    // Everything short of the end marker is missing picture data.
    for (size_t n = 0; n + 2 < file.size(); n += (n < 700 ? 1 : 7))
      EXPECT_THROW((void)gfx::DecodeJpeg(std::span(file.data(), n)), gfx::TCodecError)
          << (progressive ? "progressive" : "baseline") << " cut at " << n;
  }
}

TEST(JpegCorrupt, NonsenseAndOversizedHeadersAreRefused)
{
  const Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G'};
  try {
    (void)gfx::DecodeJpeg(text);
    FAIL() << "text decoded as JPEG";
  } catch (const gfx::TCodecError& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
  }
  EXPECT_THROW((void)gfx::DecodeJpeg({}), gfx::TCodecError);
  EXPECT_THROW((void)gfx::ReadJpegInfo(text), gfx::TCodecError);

  // The frame header claims 65000 x 65000 pixels: refused before allocation.
  for (bool progressive : {false, true}) {
    Bytes file = gfx::EncodeJpeg(Gradient(16, 16), {75, progressive, false});
    size_t sof = 0;
    for (size_t i = 2; i + 9 < file.size(); ++i)
      if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
        sof = i;
        break;
      }
    ASSERT_NE(sof, 0u);
    file[sof + 5] = 0xFD;
    file[sof + 6] = 0xE8;
    file[sof + 7] = 0xFD;
    file[sof + 8] = 0xE8;
    EXPECT_EQ(gfx::ReadJpegInfo(file).Width, 65000);
    EXPECT_THROW((void)gfx::DecodeJpeg(file), gfx::TCodecError);
  }
}

TEST(JpegCorrupt, DamagedEntropyDataStillDecodesWithoutCrashing)
{
  // Flipped bytes inside the scan are repaired by the decoder as well as it
  // can; the result is a picture of the right size, never a crash.
  Bytes file = gfx::EncodeJpeg(Gradient(64, 64), {85, false, false});
  for (size_t i = file.size() / 2; i < file.size() / 2 + 20; ++i)
    file[i] = uint8_t(file[i] ^ 0x5A);
  try {
    const TPixmap p = gfx::DecodeJpeg(file);
    EXPECT_EQ(p.Width(), 64);
  } catch (const gfx::TCodecError&) {
    // A damaged marker may also end the decoding with an error.
  }
}

namespace {

// 32x16 in four flat quadrants (top left, top right, bottom left, bottom
// right), each a whole number of 8x8 blocks, so that JPEG loss leaves their
// centres close to the colour written.
constexpr TPixel kQuadrant[4] = {0xE02020, 0x20C020, 0x2020E0, 0xE0E020};

TPixmap Quadrants()
{
  TPixmap p(32, 16);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 32; ++x)
      p.At(x, y) = kQuadrant[(y / 8) * 2 + x / 16];
  return p;
}

bool Near(TPixel a, TPixel b)
{
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 24)
      return false;
  return true;
}

// The quadrant (0 top left .. 3 bottom right, as stored) seen at the centre
// of each quarter of the decoded picture, or -1 where no quadrant's colour is.
std::string QuarterColours(const TPixmap& p)
{
  std::string seen;
  for (int32_t qy = 0; qy < 2; ++qy)
    for (int32_t qx = 0; qx < 2; ++qx) {
      const TPixel c = p.At(qx * p.Width() / 2 + p.Width() / 4, qy * p.Height() / 2 + p.Height() / 4);
      char name = '?';
      for (int q = 0; q < 4; ++q)
        if (Near(c, kQuadrant[q]))
          name = char('A' + q);
      seen += name;
    }
  return seen;
}

size_t FindExif(const Bytes& file)
{
  static const char kSignature[] = "Exif\0";
  const auto it = std::search(file.begin(), file.end(), kSignature, kSignature + 6);
  return it == file.end() ? std::string::npos : size_t(it - file.begin());
}

TEST(JpegOrientation, EachTagTurnsThePictureAsItSays)
{
  // Quadrants as stored: A B over C D; the expected order of the shown
  // picture's quarters: top left, top right, bottom left, bottom right.
  const char* const expected[9] = {"", "ABCD", "BADC", "DCBA", "CDAB", "ACBD", "CADB", "DBCA", "BDAC"};
  const TPixmap stored = Quadrants();
  ASSERT_EQ(QuarterColours(stored), "ABCD");
  for (int tag = 1; tag <= 8; ++tag) {
    for (bool progressive : {false, true}) {
      const Bytes jpeg = gfx::EncodeJpeg(
          stored, {.Quality = 90, .Progressive = progressive, .Orientation = gfx::OrientationFromTag(tag)});
      EXPECT_EQ(FindExif(jpeg) != std::string::npos, tag != 1) << tag;
      const TPixmap shown = gfx::DecodeJpeg(jpeg);
      const bool swap = tag >= 5;
      EXPECT_EQ(shown.Width(), swap ? 16 : 32) << tag;
      EXPECT_EQ(shown.Height(), swap ? 32 : 16) << tag;
      EXPECT_EQ(QuarterColours(shown), expected[tag]) << "orientation " << tag;

      const gfx::TJpegInfo info = gfx::ReadJpegInfo(jpeg);
      EXPECT_EQ(info.Orientation, gfx::OrientationFromTag(tag));
      EXPECT_EQ(info.Width, shown.Width());
      EXPECT_EQ(info.Height, shown.Height());
    }
  }
}

TEST(JpegOrientation, CallersPixelsAreAskedForInTheShownSize)
{
  const Bytes jpeg = gfx::EncodeJpeg(Quadrants(), {.Orientation = gfx::TOrientation::Rotate270});
  TPixmap target;
  int32_t askedW = 0, askedH = 0;
  gfx::DecodeJpegInto(jpeg, [&](int32_t w, int32_t h) -> TPixmap& {
    askedW = w;
    askedH = h;
    target = TPixmap(w, h);
    return target;
  });
  EXPECT_EQ(askedW, 16);
  EXPECT_EQ(askedH, 32);
  EXPECT_EQ(QuarterColours(target), "BDAC");
  // Pixels of the stored size are not what was asked for.
  TPixmap wrong(32, 16);
  EXPECT_THROW(gfx::DecodeJpegInto(jpeg, [&](int32_t, int32_t) -> TPixmap& { return wrong; }), gfx::TCodecError);
}

TEST(JpegOrientation, ADamagedExifBlockLeavesThePictureAsStored)
{
  const Bytes good = gfx::EncodeJpeg(Quadrants(), {.Orientation = gfx::TOrientation::Rotate90});
  const size_t at = FindExif(good);
  ASSERT_NE(at, std::string::npos);
  ASSERT_EQ(QuarterColours(gfx::DecodeJpeg(good)), "CADB");
  // Offsets in the block as written: directory offset 10, entry count 14,
  // type 18, value 24 (little-endian).
  const std::vector<std::pair<size_t, std::vector<uint8_t>>> damage = {
    {24, {9, 0}}, {24, {0, 0}}, {18, {4, 0}}, {14, {0xFF, 0xFF}}, {10, {0xF0, 0xFF, 0xFF, 0x7F}}, {6, {'X', 'X'}},
  };
  for (const auto& [offset, bytes] : damage) {
    Bytes bad = good;
    std::copy(bytes.begin(), bytes.end(), bad.begin() + ptrdiff_t(at + offset));
    const TPixmap shown = gfx::DecodeJpeg(bad);
    EXPECT_EQ(shown.Width(), 32) << "damage at " << offset;
    EXPECT_EQ(QuarterColours(shown), "ABCD") << "damage at " << offset;
    EXPECT_EQ(gfx::ReadJpegInfo(bad).Orientation, gfx::TOrientation::Normal);
  }
}

// ----- Decoding at a fraction of the size -----

TEST(JpegReduction, TheStrongestReductionThatStillCoversTheShownSize)
{
  struct TCase {
    gfx::TSize Picture, Shown;
    int Expected;
  };
  const TCase cases[] = {
    {{4000, 3000}, {1440, 1080}, 2}, // a camera picture kept in proportion in 1920 x 1080
    {{4000, 3000}, {2000, 1500}, 2}, // exactly half
    {{4000, 3000}, {2001, 1500}, 1}, // one column above half
    {{4000, 3000}, {2000, 1501}, 1}, // one row above half
    {{4000, 3000}, {1000, 750}, 4},  {{4000, 3000}, {1001, 750}, 2}, {{4000, 3000}, {500, 375}, 8},
    {{4000, 3000}, {1, 1}, 8},       {{4000, 3000}, {}, 8},          // nothing shown: the least pixels
    {{4000, 3000}, {4000, 3000}, 1}, {{4000, 3000}, {8000, 6000}, 1}, // stretched beyond its size
    {{4001, 3001}, {2001, 1501}, 2}, // odd sides round up
    {{8, 8}, {1, 1}, 8},             {{7, 7}, {1, 1}, 8},            // 1/8 of a small picture is one pixel
  };
  for (const TCase& c : cases)
    EXPECT_EQ(gfx::JpegReductionFor(c.Picture, c.Shown), c.Expected)
      << c.Picture.Width << "x" << c.Picture.Height << " shown at " << c.Shown.Width << "x" << c.Shown.Height;
}

TEST(JpegReduction, EachReductionKeepsThePictureAndItsOrientation)
{
  for (bool progressive : {false, true}) {
    const Bytes upright = gfx::EncodeJpeg(Quadrants(), {.Quality = 90, .Progressive = progressive});
    const Bytes turned = gfx::EncodeJpeg(
      Quadrants(), {.Quality = 90, .Progressive = progressive, .Orientation = gfx::TOrientation::Rotate270});
    for (int reduction : {1, 2, 4, 8, 3, 16}) {
      SCOPED_TRACE("reduction " + std::to_string(reduction) + (progressive ? ", progressive" : ""));
      // 3 and 16 are not the decoder's: the picture is decoded whole.
      const int n = (reduction == 3 || reduction == 16) ? 1 : reduction;
      TPixmap shown;
      const auto into = [&shown](int32_t w, int32_t h) -> TPixmap& { return shown = TPixmap(w, h); };
      gfx::DecodeJpegInto(upright, into, reduction);
      EXPECT_EQ(shown.Width(), 32 / n);
      EXPECT_EQ(shown.Height(), 16 / n);
      EXPECT_EQ(QuarterColours(shown), "ABCD");
      gfx::DecodeJpegInto(turned, into, reduction);
      EXPECT_EQ(shown.Width(), 16 / n);
      EXPECT_EQ(shown.Height(), 32 / n);
      EXPECT_EQ(QuarterColours(shown), "BDAC");
    }
  }
}

// The caller's pixels are not cleared before decoding: every one of them must
// be written, its unused byte included, at every reduction and orientation.
TEST(JpegReduction, EveryPixelOfTheCallersMemoryIsWritten)
{
  for (gfx::TOrientation orientation : {gfx::TOrientation::Normal, gfx::TOrientation::Rotate90}) {
    const Bytes jpeg = gfx::EncodeJpeg(Gradient(45, 29), {.Quality = 85, .Orientation = orientation});
    for (int reduction : {1, 2, 4, 8}) {
      TPixmap target;
      gfx::DecodeJpegInto(
        jpeg,
        [&target](int32_t w, int32_t h) -> TPixmap& {
          target = TPixmap(w, h);
          target.Fill(0xFFFFFFFFu);
          return target;
        },
        reduction);
      const TPixel* p = target.Bits();
      const size_t count = size_t(target.Width()) * size_t(target.Height());
      EXPECT_EQ(std::count_if(p, p + count, [](TPixel v) { return (v >> 24) != 0; }), 0)
        << "reduction " << reduction;
    }
  }
}

} // namespace
