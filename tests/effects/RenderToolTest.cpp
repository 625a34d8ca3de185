// The transition renderer's option parsing, layout, frames and contact sheet.
#include "ContactSheet.h"
#include "ImageFiles.h"
#include "Patterns.h"
#include "RenderOptions.h"

#include "gfx/Random.h"
#include "gfx/codecs/Bmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace render {
namespace {

TEST(RenderOptions, StylesByNumberNameListAndRange)
{
  EXPECT_EQ(ParseStyle("52"), 52);
  EXPECT_EQ(ParseStyle("expand OUT from centre"), 52);
  EXPECT_EQ(ParseStyle("Expand from bottom"), 18); // the first of the two entries so named
  EXPECT_THROW((void)ParseStyle("0"), std::invalid_argument);
  EXPECT_THROW((void)ParseStyle("177"), std::invalid_argument);
  EXPECT_THROW((void)ParseStyle("Custom"), std::invalid_argument);
  EXPECT_THROW((void)ParseStyle("Spin"), std::invalid_argument);
  EXPECT_EQ(ParseStyleList("1-3,Fade,176"), (std::vector<effects::TShowStyle>{1, 2, 3, 119, 176}));
  EXPECT_EQ(ParseStyleList("all").size(), 176u);
  EXPECT_THROW((void)ParseStyleList("available"), std::invalid_argument);
  EXPECT_THROW((void)ParseStyleList("9-3"), std::invalid_argument);
  EXPECT_THROW((void)ParseStyleList("1,,2"), std::invalid_argument);
}

TEST(RenderOptions, SizesAndArguments)
{
  EXPECT_EQ(ParseSize("640x480").Width, 640);
  EXPECT_EQ(ParseSize("640x480").Height, 480);
  for (const char* bad : {"640", "0x5", "5x0", "-3x4", "4x", "x4", "20000x10", "4x4x4"})
    EXPECT_THROW((void)ParseSize(bad), std::invalid_argument) << bad;

  const TRenderOptions o = ParseRenderOptions(
      {"--old", "a.bmp", "--new", "pattern:grid", "--style", "Fade", "--progress", "0", "--size", "8x6", "--out", "x"});
  EXPECT_EQ(o.Old, "a.bmp");
  EXPECT_EQ(o.New, "pattern:grid");
  EXPECT_EQ(o.Styles, (std::vector<effects::TShowStyle>{119}));
  EXPECT_EQ(o.Progress, 0);
  ASSERT_TRUE(o.Size.has_value());
  EXPECT_EQ(o.Size->Width, 8);
  EXPECT_EQ(o.Out, "x");
  EXPECT_EQ(ParseRenderOptions({"--sheet", "10,50,90"}).SheetProgress, (std::vector<int32_t>{10, 50, 90}));
  EXPECT_EQ(ParseRenderOptions({"--frames", "25"}).FrameStep, 25);

  EXPECT_THROW((void)ParseRenderOptions({"--progress", "101"}), std::invalid_argument);
  EXPECT_THROW((void)ParseRenderOptions({"--progress", "5x"}), std::invalid_argument);
  EXPECT_THROW((void)ParseRenderOptions({"--style"}), std::invalid_argument);
  EXPECT_THROW((void)ParseRenderOptions({"--frames", "0"}), std::invalid_argument);
  EXPECT_THROW((void)ParseRenderOptions({"--frames", "5", "--sheet", "50"}), std::invalid_argument);
  EXPECT_THROW((void)ParseRenderOptions({"--out", ""}), std::invalid_argument);
  EXPECT_THROW((void)ParseRenderOptions({"--bogus"}), std::invalid_argument);
}

gfx::TPixmap Solid(int32_t w, int32_t h, gfx::TPixel color)
{
  gfx::TPixmap p(w, h);
  p.Fill(color);
  return p;
}

TEST(RenderFrames, PicturesAreLaidOutAtTheTopLeftOnTheBackground)
{
  const gfx::TPixmap small = LayOut(Solid(2, 1, 0xAA), 3, 2, 0x11);
  EXPECT_EQ(small.At(1, 0), 0xAAu);
  EXPECT_EQ(small.At(2, 0), 0x11u);
  EXPECT_EQ(small.At(0, 1), 0x11u);
  const gfx::TPixmap big = LayOut(Solid(5, 5, 0xBB), 2, 2);
  EXPECT_EQ(big.Width(), 2);
  EXPECT_EQ(big.At(1, 1), 0xBBu);
}

TEST(RenderFrames, FramesFollowTheComposition)
{
  const gfx::TPixmap oldImage = Solid(4, 2, 0x01);
  const gfx::TPixmap newImage = Solid(4, 2, 0x02);
  EXPECT_EQ(RenderFrame(oldImage, newImage, 5, 0).At(0, 0), 0x01u);
  EXPECT_EQ(RenderFrame(oldImage, newImage, 5, 100).At(3, 1), 0x02u);
  const gfx::TPixmap half = RenderFrame(oldImage, newImage, 5, 50); // "Reveal from left"
  EXPECT_EQ(half.At(1, 1), 0x02u);
  EXPECT_EQ(half.At(2, 1), 0x01u);
  EXPECT_THROW((void)RenderFrame(oldImage, Solid(3, 2, 0), 5, 50), std::invalid_argument);
}

TEST(RenderFrames, ContactSheetPlacesEveryFrameInItsCell)
{
  const gfx::TPixmap oldImage = PatternPixmap("bars", 40, 30);
  const gfx::TPixmap newImage = PatternPixmap("rings", 40, 30);
  const std::vector<effects::TShowStyle> styles{5, 22};
  const std::vector<int32_t> progress{0, 50, 100};
  const gfx::TPixmap sheet = RenderContactSheet(oldImage, newImage, styles, progress, 20, 15);
  // Find each expected cell by its content: the frames at cell size appear
  // somewhere in the sheet, in row order and column order.
  const gfx::TPixmap oldCell = Scaled(oldImage, 20, 15);
  const gfx::TPixmap newCell = Scaled(newImage, 20, 15);
  auto findCell = [&](const gfx::TPixmap& cell) {
    for (int32_t y = 0; y + 15 <= sheet.Height(); ++y)
      for (int32_t x = 0; x + 20 <= sheet.Width(); ++x) {
        bool same = true;
        for (int32_t cy = 0; cy < 15 && same; ++cy)
          for (int32_t cx = 0; cx < 20 && same; ++cx)
            same = sheet.At(x + cx, y + cy) == cell.At(cx, cy);
        if (same)
          return gfx::TPoint{x, y};
      }
    return gfx::TPoint{-1, -1};
  };
  const gfx::TPoint reveal = findCell(RenderFrame(oldCell, newCell, 5, 50));
  const gfx::TPoint top = findCell(RenderFrame(oldCell, newCell, 22, 50));
  const gfx::TPoint end = findCell(newCell);
  ASSERT_GE(reveal.X, 0);
  ASSERT_GE(top.X, 0);
  ASSERT_GE(end.X, 0);
  EXPECT_EQ(reveal.X, top.X);  // same progress column
  EXPECT_GT(top.Y, reveal.Y);  // the second style's row is below
  EXPECT_GT(end.X, reveal.X);  // progress 100 is to the right of 50
  // The row label sits left of the row's first cell.
  bool labelled = false;
  for (int32_t y = reveal.Y; y < reveal.Y + 15; ++y)
    for (int32_t x = 0; x < reveal.X - 20; ++x)
      labelled |= sheet.At(x, y) == 0xFFFFFFu;
  EXPECT_TRUE(labelled);
}

TEST(RenderOptions, SeedIsAnUnsigned32BitNumber)
{
  EXPECT_FALSE(ParseRenderOptions({}).Seed.has_value());
  EXPECT_EQ(ParseRenderOptions({"--seed", "42"}).Seed, std::optional<uint32_t>(42));
  EXPECT_EQ(ParseRenderOptions({"--seed", "4294967295"}).Seed, std::optional<uint32_t>(4294967295u));
  for (const char* bad : {"-1", "4294967296", "7x", "", " 7"})
    EXPECT_THROW((void)ParseRenderOptions({"--seed", bad}), std::invalid_argument) << bad;
  EXPECT_THROW((void)ParseRenderOptions({"--seed"}), std::invalid_argument);
}

std::string FileBytes(const std::filesystem::path& path)
{
  const auto size = std::filesystem::file_size(path);
  std::string bytes(size_t(size), '\0');
  std::ifstream in(path, std::ios::binary);
  in.read(bytes.data(), std::streamsize(bytes.size()));
  return bytes;
}

// The random styles: 169 and 128 seed themselves with the new picture's
// handle, 65 and 124 draw from the shared generator without reseeding, 150
// turns one way or the other by the handle's parity.
TEST(RenderFrames, TheSameSeedGivesTheSameFileAndAnotherSeedAnotherFrame)
{
  const gfx::TPixmap oldImage = PatternPixmap("bars", 64, 48);
  const gfx::TPixmap newImage = PatternPixmap("rings", 64, 48);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "effects-render-seed-test";
  std::filesystem::create_directories(dir);
  for (const effects::TShowStyle style : {65, 124, 128, 150, 169}) {
    const std::string name = std::to_string(style);
    SaveBmp(RenderFrame(oldImage, newImage, style, 40, 7u), dir / (name + "a.bmp"));
    // Whatever ran in between: other bitmaps made, the generator moved on.
    (void)RenderFrame(oldImage, newImage, style, 40);
    gfx::RandSeed = 0xDEADBEEFu;
    SaveBmp(RenderFrame(oldImage, newImage, style, 40, 7u), dir / (name + "b.bmp"));
    SaveBmp(RenderFrame(oldImage, newImage, style, 40, 8u), dir / (name + "c.bmp"));
    const std::string first = FileBytes(dir / (name + "a.bmp"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, FileBytes(dir / (name + "b.bmp"))) << "style " << style;
    EXPECT_NE(first, FileBytes(dir / (name + "c.bmp"))) << "style " << style;
  }
  // A contact sheet takes the seed for every cell.
  const std::vector<effects::TShowStyle> styles{65, 169};
  const std::vector<int32_t> progress{30, 60};
  const gfx::TPixmap sheet = RenderContactSheet(oldImage, newImage, styles, progress, 32, 24, 5u);
  gfx::RandSeed = 12345u;
  const gfx::TPixmap again = RenderContactSheet(oldImage, newImage, styles, progress, 32, 24, 5u);
  ASSERT_EQ(sheet.Width(), again.Width());
  EXPECT_TRUE(std::equal(sheet.Bits(), sheet.Bits() + size_t(sheet.Width()) * size_t(sheet.Height()), again.Bits()));
  std::filesystem::remove_all(dir);
}

TEST(RenderFrames, NumbersAreDrawnDigitByDigit)
{
  gfx::TPixmap p(16, 6);
  DrawNumber(p, 0, 0, 17, 1, 0xFF);
  // "1": middle column of the first glyph; "7": top row of the second.
  EXPECT_EQ(p.At(1, 4), 0xFFu);
  EXPECT_EQ(p.At(0, 4), 0xFFu); // the foot of the 1
  EXPECT_EQ(p.At(4, 0), 0xFFu);
  EXPECT_EQ(p.At(6, 0), 0xFFu);
  EXPECT_EQ(p.At(4, 4), 0u);
  EXPECT_EQ(p.At(6, 4), 0xFFu);
  DrawNumber(p, 14, 4, 8, 2, 0xEE); // clipped at the edges, no crash
  EXPECT_EQ(p.At(14, 4), 0xEEu);
}

TEST(RenderFiles, WritesBmpThatReadsBackAndPngWithItsSignature)
{
  const gfx::TPixmap pattern = PatternPixmap("grid", 33, 17);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "effects1-render-test";
  std::filesystem::create_directories(dir);
  SaveBmp(pattern, dir / "grid.bmp");
  const gfx::TPixmap back = LoadPicture(dir / "grid.bmp");
  ASSERT_EQ(back.Width(), 33);
  ASSERT_EQ(back.Height(), 17);
  for (int32_t y = 0; y < 17; ++y)
    for (int32_t x = 0; x < 33; ++x)
      ASSERT_EQ(back.At(x, y) & 0xFFFFFF, pattern.At(x, y) & 0xFFFFFF) << x << "," << y;
  if (CanSavePng()) {
    SavePng(pattern, dir / "grid.png");
    std::ifstream in(dir / "grid.png", std::ios::binary);
    char signature[8] = {};
    in.read(signature, sizeof signature);
    ASSERT_EQ(in.gcount(), 8);
    EXPECT_EQ(std::string(signature, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  } else {
    EXPECT_THROW(SavePng(pattern, dir / "grid.png"), std::runtime_error);
  }
  EXPECT_ANY_THROW((void)LoadPicture(dir / "missing.bmp"));
  std::filesystem::remove_all(dir);
}

TEST(RenderFiles, PatternsAreKnownByName)
{
  for (const std::string& name : PatternNames()) {
    const gfx::TPixmap p = PatternPixmap(name, 7, 3);
    EXPECT_EQ(p.Width(), 7) << name;
  }
  EXPECT_THROW((void)PatternPixmap("plaid", 7, 3), std::invalid_argument);
  EXPECT_THROW((void)PatternPixmap("bars", 0, 3), std::invalid_argument);
}

} // namespace
} // namespace render
