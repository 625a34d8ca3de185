// The wipe family drawn by our pixel layer agrees with the platform's own
// block transfers: a sample of styles is drawn once through ComposeEffectFrame
// and once with the GDI calls the effects are defined by, on DIB sections, and
// the frames are compared pixel for pixel.
#include <windows.h>

#include "tests/win32/DibSection.h"

#include "effects/EffectFrame.h"
#include "effects/EffectTable.h"
#include "effects/WipeEffects.h"
#include "framework/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using agreement::kColourMask;
using agreement::Tagged;
using agreement::TDib;

// The shading is applied through the pixels, as the effect does it.
void ShadeGdi(TDib& dib, int32_t w, int32_t h, int32_t first, int32_t count, bool rows)
{
  GdiFlush();
  const std::vector<int32_t> offsets =
      rows ? effects::ShadeRowOffsets(count, 64) : effects::ShadeColumnOffsets(count, 64);
  for (size_t k = 0; k < offsets.size(); ++k)
    for (int32_t i = 0; i < (rows ? w : h); ++i) {
      const int32_t x = rows ? i : first + int32_t(k);
      const int32_t y = rows ? first + count - 1 - int32_t(k) : i;
      if (x < 0 || y < 0 || x >= w || y >= h)
        continue;
      uint32_t& p = dib.At(x, y);
      uint32_t out = p & 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(std::clamp(int32_t((p >> shift) & 0xFF) + offsets[k], 0, 255)) << shift;
      p = out;
    }
}

// The styles as the platform's calls, written out from their definitions.
void DrawWithGdi(effects::TShowStyle style, TDib& screen, TDib& picture, int32_t W, int32_t H, int32_t X, int32_t Y)
{
  HDC S = screen.DC();
  HDC P = picture.DC();
  const int32_t hw = X / 2, hh = Y / 2, W2 = W / 2, H2 = H / 2, mx = (W - X) / 2, my = (H - Y) / 2;
  // Reading the old image before writing: the platform gives no such promise
  // for overlapping stretches, so the reference reads from a copy.
  TDib old(W, H);
  BitBlt(old.DC(), 0, 0, W, H, S, 0, 0, SRCCOPY);
  switch (style) {
  case 1:
    StretchBlt(S, W - X, 0, X, H, P, 0, 0, W, H, SRCCOPY);
    break;
  case 3:
    BitBlt(S, W - X, 0, W, H, P, 0, 0, SRCCOPY);
    break;
  case 9:
    StretchBlt(S, X - W, 0, 3 * W - 2 * X, H, P, mx, 0, X, H, SRCCOPY);
    break;
  case 13:
    StretchBlt(S, 0, 0, hw, H, P, 0, 0, W2, H, SRCCOPY);
    StretchBlt(S, W - hw, 0, hw, H, P, W2, 0, W2, H, SRCCOPY);
    break;
  case 14:
  case 15:
  case 31:
  case 32: {
    const bool vertical = style >= 31;
    const int32_t L = vertical ? H : W, Pr = vertical ? Y : X;
    int32_t s = L / 10;
    if (Pr < s)
      s = Pr;
    else if (L - Pr < 2 * s)
      s = (L - Pr) / 2;
    if (style == 14) {
      StretchBlt(S, X + s - 1, 0, -s, H, P, X + s, 0, s, H, SRCCOPY);
      BitBlt(S, 0, 0, X, H, P, 0, 0, SRCCOPY);
      ShadeGdi(screen, W, H, X, s, false);
    } else if (style == 15) {
      StretchBlt(S, W - X - 1, 0, -s, H, P, W - X - 2 * s - 1, 0, s, H, SRCCOPY);
      BitBlt(S, W - X, 0, X, H, P, W - X, 0, SRCCOPY);
      ShadeGdi(screen, W, H, W - X - s, s, false);
    } else if (style == 31) {
      StretchBlt(S, 0, Y + s - 1, W, -s, P, 0, Y + s, W, s, SRCCOPY);
      BitBlt(S, 0, 0, W, Y, P, 0, 0, SRCCOPY);
      ShadeGdi(screen, W, H, Y, s, true);
    } else {
      StretchBlt(S, 0, H - Y - 1, W, -s, P, 0, H - Y - 2 * s - 1, W, s, SRCCOPY);
      BitBlt(S, 0, H - Y, W, Y, P, 0, H - Y, SRCCOPY);
      ShadeGdi(screen, W, H, H - Y - s, s, true);
    }
    break;
  }
  case 16: {
    BitBlt(S, 0, 0, X, H, P, 0, 0, SRCCOPY);
    const int32_t s = std::min(W - X, W / 10);
    StretchBlt(S, X, 0, W - X, H, P, X, 0, s, H, SRCCOPY);
    break;
  }
  case 34: {
    BitBlt(S, 0, H - Y, W, Y, P, 0, H - Y, SRCCOPY);
    const int32_t y0 = std::max(H - Y - H / 10, 0);
    StretchBlt(S, 0, 0, W, H - Y, P, 0, y0, W, H - Y - y0, SRCCOPY);
    break;
  }
  case 47:
    StretchBlt(S, 0, 0, 2 * W - X, 2 * H - Y, P, 0, 0, X, Y, SRCCOPY);
    break;
  case 51:
    StretchBlt(S, X - W, Y - H, 3 * W - 2 * X, 3 * H - 2 * Y, P, mx, my, X, Y, SRCCOPY);
    break;
  case 52:
    StretchBlt(S, mx, my, X, Y, P, 0, 0, W, H, SRCCOPY);
    break;
  case 54:
    ExcludeClipRect(S, hw, hh, W - hw, H - hh);
    BitBlt(S, 0, 0, W, H, P, 0, 0, SRCCOPY);
    SelectClipRgn(S, nullptr);
    break;
  case 57:
    BitBlt(S, hw - W2, 0, W2, H2, P, 0, 0, SRCCOPY);
    BitBlt(S, W2, hh - H2, W2, H2, P, W2, 0, SRCCOPY);
    BitBlt(S, W - hw, H2, W2, H2, P, W2, H2, SRCCOPY);
    BitBlt(S, 0, H - hh, W2, H2, P, 0, H2, SRCCOPY);
    break;
  case 130:
    BitBlt(S, 0, 0, W - X, H, old.DC(), X, 0, SRCCOPY);
    BitBlt(S, W - X, 0, X, H, P, 0, 0, SRCCOPY);
    break;
  case 131:
    StretchBlt(S, X, 0, W - X, H, old.DC(), 0, 0, W, H, SRCCOPY);
    BitBlt(S, 0, 0, X, H, P, W - X, 0, SRCCOPY);
    break;
  case 135:
    StretchBlt(S, 0, Y, W, H - Y, old.DC(), 0, 0, W, H, SRCCOPY);
    BitBlt(S, 0, 0, W, Y, P, 0, H - Y, SRCCOPY);
    break;
  case 176:
    BitBlt(S, 0, 0, W, H - Y, old.DC(), 0, Y, SRCCOPY);
    BitBlt(S, 0, H - Y, W, Y, P, 0, H - Y, SRCCOPY);
    break;
  default:
    FAIL() << "no reference for style " << int(style);
  }
  GdiFlush();
}

TEST(EffectsAgreement, SampleOfWipeStylesMatchesTheirGdiCalls)
{
  const effects::TShowStyle styles[] = {1, 3, 9, 13, 14, 15, 16, 31, 32, 34, 47, 51, 52, 54, 57, 130, 131, 135, 176};
  const std::pair<int32_t, int32_t> sizes[] = {{40, 30}, {31, 47}, {7, 5}, {1, 9}, {64, 3}, {123, 77}};
  int compared = 0;
  for (const auto& [w, h] : sizes) {
    framework::TBitmap oldImage(w, h), newImage(w, h), frame(w, h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        oldImage.Pixmap().At(x, y) = Tagged(false, x, y);
        newImage.Pixmap().At(x, y) = Tagged(true, x, y);
      }
    for (effects::TShowStyle style : styles)
      for (int32_t progress : {1, 10, 25, 50, 63, 77, 99}) {
        effects::ComposeEffectFrame(frame, oldImage, newImage, style, progress);

        TDib screen(w, h), picture(w, h);
        ASSERT_TRUE(screen.Valid() && picture.Valid());
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) {
            screen.At(x, y) = Tagged(false, x, y);
            picture.At(x, y) = Tagged(true, x, y);
          }
        const effects::TProgressSize size = effects::ProgressSize(w, h, progress);
        DrawWithGdi(style, screen, picture, w, h, size.X, size.Y);

        int mismatches = 0;
        std::string first;
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) {
            const uint32_t ours = frame.Pixmap().At(x, y) & kColourMask;
            const uint32_t theirs = screen.At(x, y) & kColourMask;
            if (ours != theirs && mismatches++ == 0) {
              char text[96];
              std::snprintf(text, sizeof text, "(%d, %d): ours %06X, platform %06X", int(x), int(y), unsigned(ours),
                            unsigned(theirs));
              first = text;
            }
          }
        EXPECT_EQ(mismatches, 0) << "style " << int(style) << " " << w << "x" << h << " at " << progress
                                 << ", first at " << first;
        ++compared;
      }
  }
  EXPECT_EQ(compared, 19 * 6 * 7);
}

} // namespace
