#include "ContactSheet.h"

#include "effects/EffectFrame.h"
#include "framework/Bitmap.h"
#include "gfx/Random.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace render {

namespace {

// Rows of a 3 x 5 digit, three bits each, most significant bit leftmost.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

constexpr gfx::TPixel kSheetBackground = 0x202020;
constexpr gfx::TPixel kLabelColor = 0xFFFFFF;
constexpr int32_t kGap = 2;
constexpr int32_t kLabelScale = 2;
constexpr int32_t kLabelWidth = 3 * 4 * kLabelScale + 2 * kGap; // three digits
constexpr int32_t kHeaderHeight = 5 * kLabelScale + 2 * kGap;

void Blit(gfx::TPixmap& target, const gfx::TPixmap& source, int32_t left, int32_t top)
{
  for (int32_t y = 0; y < source.Height(); ++y) {
    const int32_t ty = top + y;
    if (ty < 0 || ty >= target.Height())
      continue;
    for (int32_t x = 0; x < source.Width(); ++x) {
      const int32_t tx = left + x;
      if (tx >= 0 && tx < target.Width())
        target.At(tx, ty) = source.At(x, y);
    }
  }
}

void CopyInto(framework::TBitmap& bitmap, const gfx::TPixmap& pixels)
{
  bitmap.SetSize(pixels.Width(), pixels.Height());
  std::copy_n(pixels.Bits(), size_t(pixels.Width()) * size_t(pixels.Height()), bitmap.Pixmap().Bits());
}

gfx::TPixmap CopyOf(const gfx::TPixmap& pixels)
{
  gfx::TPixmap copy(pixels.Width(), pixels.Height());
  std::copy_n(pixels.Bits(), size_t(pixels.Width()) * size_t(pixels.Height()), copy.Bits());
  return copy;
}

} // namespace

gfx::TPixmap LayOut(const gfx::TPixmap& picture, int32_t width, int32_t height, gfx::TPixel background)
{
  gfx::TPixmap frame(width, height);
  frame.Fill(background);
  Blit(frame, picture, 0, 0);
  return frame;
}

gfx::TPixmap Scaled(const gfx::TPixmap& picture, int32_t width, int32_t height)
{
  gfx::TPixmap out(width, height);
  if (picture.IsEmpty())
    return out;
  for (int32_t y = 0; y < height; ++y) {
    const int32_t sy = int32_t(int64_t(y) * picture.Height() / height);
    for (int32_t x = 0; x < width; ++x)
      out.At(x, y) = picture.At(int32_t(int64_t(x) * picture.Width() / width), sy);
  }
  return out;
}

gfx::TPixmap RenderFrame(const gfx::TPixmap& oldImage, const gfx::TPixmap& newImage, effects::TShowStyle style,
                         int32_t progress, std::optional<uint32_t> seed)
{
  framework::TBitmap oldBitmap, newBitmap, frame;
  CopyInto(oldBitmap, oldImage);
  CopyInto(newBitmap, newImage);
  if (seed) {
    gfx::RandSeed = *seed;
    newBitmap.FixHandle(*seed);
  }
  effects::ComposeEffectFrame(frame, oldBitmap, newBitmap, style, progress);
  return CopyOf(frame.Pixmap());
}

void DrawNumber(gfx::TPixmap& target, int32_t x, int32_t y, uint32_t number, int32_t scale, gfx::TPixel color)
{
  const std::string digits = std::to_string(number);
  for (size_t i = 0; i < digits.size(); ++i) {
    const uint8_t* glyph = kDigits[digits[i] - '0'];
    const int32_t left = x + int32_t(i) * 4 * scale;
    for (int32_t row = 0; row < 5; ++row)
      for (int32_t col = 0; col < 3; ++col)
        if (glyph[row] & (4 >> col))
          for (int32_t dy = 0; dy < scale; ++dy)
            for (int32_t dx = 0; dx < scale; ++dx) {
              const int32_t px = left + col * scale + dx, py = y + row * scale + dy;
              if (px >= 0 && py >= 0 && px < target.Width() && py < target.Height())
                target.At(px, py) = color;
            }
  }
}

gfx::TPixmap RenderContactSheet(const gfx::TPixmap& oldPicture, const gfx::TPixmap& newPicture,
                                const std::vector<effects::TShowStyle>& styles, const std::vector<int32_t>& progress,
                                int32_t cellWidth, int32_t cellHeight, std::optional<uint32_t> seed)
{
  const gfx::TPixmap oldCell = Scaled(oldPicture, cellWidth, cellHeight);
  const gfx::TPixmap newCell = Scaled(newPicture, cellWidth, cellHeight);
  const int32_t rowsTotal = int32_t(std::max<size_t>(styles.size(), 1));
  const int32_t columns = int32_t(std::max<size_t>(progress.size(), 1));
  const int32_t blockWidth = kLabelWidth + columns * (cellWidth + kGap) + kGap * 4;
  const int32_t rowHeight = cellHeight + kGap;
  // Enough blocks side by side to make the sheet about as wide as it is tall.
  const double ratio = double(int64_t(rowsTotal) * rowHeight) / double(blockWidth);
  const int32_t blocks = std::clamp(int32_t(std::lround(std::sqrt(std::max(ratio, 1.0)))), 1, rowsTotal);
  const int32_t rowsPerBlock = (rowsTotal + blocks - 1) / blocks;

  gfx::TPixmap sheet(blocks * blockWidth, kHeaderHeight + rowsPerBlock * rowHeight + kGap);
  sheet.Fill(kSheetBackground);
  for (int32_t b = 0; b < blocks; ++b)
    for (int32_t c = 0; c < int32_t(progress.size()); ++c)
      DrawNumber(sheet, b * blockWidth + kLabelWidth + c * (cellWidth + kGap) + kGap, kGap,
                 uint32_t(progress[size_t(c)]), kLabelScale, kLabelColor);

  for (size_t i = 0; i < styles.size(); ++i) {
    const effects::TShowStyle style = styles[i];
    const int32_t left = int32_t(i) / rowsPerBlock * blockWidth;
    const int32_t top = kHeaderHeight + int32_t(i) % rowsPerBlock * rowHeight;
    DrawNumber(sheet, left + kGap, top + (cellHeight - 5 * kLabelScale) / 2, style, kLabelScale, kLabelColor);
    for (size_t c = 0; c < progress.size(); ++c) {
      const int32_t x = left + kLabelWidth + int32_t(c) * (cellWidth + kGap) + kGap;
      Blit(sheet, RenderFrame(oldCell, newCell, style, progress[c], seed), x, top);
    }
  }
  return sheet;
}

} // namespace render
