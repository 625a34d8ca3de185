#include "effects/BarEffects.h"

#include "effects/ComplexRegion.h"
#include "effects/SeededRandom.h"
#include "framework/Bitmap.h"
#include "gfx/GdiConstants.h"
#include "gfx/Numeric.h"
#include "gfx/Random.h"

#include <algorithm>
#include <array>

namespace effects {

namespace {

// A uniform value in 0 .. range - 1 from the process-wide generator; every
// call advances it, a range of 0 included.
int32_t SharedRandom(int32_t range)
{
  return int32_t(gfx::Random(uint32_t(std::max(range, 0))));
}

// ----- Pattern procedures -----
//
// Each adds its rectangles to a builder; BarRegion, ShredRegion and
// SpeckleRegion below turn them into a region.

void AddBarRects(TComplexRegion& rgn, int32_t XLen, int32_t YLen, int32_t W, int32_t H, int32_t RowKind,
                 int32_t ColumnKind)
{
  const int32_t e = std::min(W, H) / 50 + 1;

  // Rows. While XLen <= W the first phase sweeps the bars of one parity; past
  // that the second phase keeps them full and sweeps the others.
  const bool rowSecond = W < XLen;
  for (int32_t f = rowSecond ? e : 0; f < H + e; f += 2 * e) {
    if (rowSecond) {
      if (RowKind == 1 || RowKind == 4)
        rgn.AddRect(2 * W - XLen, f, W, f + e);
      else if (RowKind == 2 || RowKind == 5)
        rgn.AddRect(0, f, XLen - W, f + e);
      rgn.AddRect(0, f - e, W, f);
    } else if (RowKind == 1 || RowKind == 5) {
      rgn.AddRect(W - XLen, f, W, f + e);
    } else if (RowKind == 2 || RowKind == 4) {
      rgn.AddRect(0, f, XLen, f + e);
    } else if (RowKind == 3) {
      rgn.AddRect(0, f + e, XLen, f + 2 * e);
      rgn.AddRect(W - XLen, f, W, f + e);
    }
  }

  // Columns, the same on the other axis.
  const bool columnSecond = YLen > H;
  for (int32_t f = columnSecond ? e : 0; f < W + e; f += 2 * e) {
    if (columnSecond) {
      if (ColumnKind == 1 || ColumnKind == 4)
        rgn.AddRect(f, 2 * H - YLen, f + e, H);
      else if (ColumnKind == 2 || ColumnKind == 5)
        rgn.AddRect(f, 0, f + e, YLen - H);
      rgn.AddRect(f - e, 0, f, H);
    } else if (ColumnKind == 1 || ColumnKind == 5) {
      rgn.AddRect(f, H - YLen, f + e, H);
    } else if (ColumnKind == 2 || ColumnKind == 4) {
      rgn.AddRect(f, 0, f + e, YLen);
    } else if (ColumnKind == 3) {
      rgn.AddRect(f, H - YLen, f + e, H);
      rgn.AddRect(f + e, 0, f + 2 * e, YLen);
    }
  }
}

void AddShredRects(TComplexRegion& rgn, int32_t XLen, int32_t YLen, int32_t W, int32_t H, int32_t RowKind,
                   int32_t ColumnKind)
{
  const int32_t e = std::min(W, H) / 200 + 1;
  const int32_t gy = H % e;
  const int32_t gx = W % e;
  const int32_t midX = W / 2;
  const int32_t midY = H / 2;

  // Every shred is e + gap thick, so neighbours overlap by the gap and the
  // last one reaches the far edge.
  if (RowKind != 0) {
    const int32_t j = XLen < W ? W / 10 : 0;
    for (int32_t top = 0; top < H; top += e) {
      const int32_t len = SharedRandom(2 * j) - j + XLen;
      const int32_t bottom = top + e + gy;
      const int32_t half = len / 2;
      switch (RowKind) {
      case 1: rgn.AddRect(W - len, top, W, bottom); break;
      case 2: rgn.AddRect(0, top, len, bottom); break;
      case 3:
        rgn.AddRect(midX - half, top, midX, bottom);
        rgn.AddRect(midX, top, midX + half, bottom);
        break;
      default:
        rgn.AddRect(W - half, top, W, bottom);
        rgn.AddRect(0, top, half, bottom);
        break;
      }
    }
  }
  if (ColumnKind != 0) {
    const int32_t j = YLen < H ? H / 10 : 0;
    for (int32_t left = 0; left < W; left += e) {
      const int32_t len = SharedRandom(2 * j) - j + YLen;
      const int32_t right = left + e + gx;
      const int32_t half = len / 2;
      switch (ColumnKind) {
      case 1: rgn.AddRect(left, H - len, right, H); break;
      case 2: rgn.AddRect(left, 0, right, len); break;
      case 3:
        rgn.AddRect(left, midY - half, right, midY);
        rgn.AddRect(left, midY, right, midY + half);
        break;
      default:
        rgn.AddRect(left, H - half, right, H);
        rgn.AddRect(left, 0, right, half);
        break;
      }
    }
  }
}

// The fringe of one speckled strip: the cell i places ahead of the solid
// edge (i = n down to 1) shows with probability 2/i near the edge (i <= near)
// and 1/i beyond, so cell 1 always shows. cell(i) adds the cell.
template <class TAddCell>
void SpeckleFringe(int32_t n, int32_t nearLimit, TAddCell&& cell)
{
  for (int32_t i = n; i >= 1; --i) {
    const int32_t r = SharedRandom(i);
    if (r <= (i <= nearLimit ? 1 : 0))
      cell(i);
  }
}

void AddSpeckleRects(TComplexRegion& rgn, int32_t XLen, int32_t YLen, int32_t W, int32_t H, int32_t RowKind,
                     int32_t ColumnKind)
{
  if (RowKind != 0) {
    const int32_t g = XLen < W ? W / 10 : 0;
    const int32_t q = std::max(g / 20, 2);
    const int32_t step = q / 2; // strips overlap by half a cell
    const int32_t n = g / q;
    const int32_t nearLimit = (3 * g) / (4 * q);
    for (int32_t top = 0; top < H; top += step) {
      if (RowKind == 1) {
        const int32_t edge = W - XLen;
        rgn.AddRect(edge, top, W, top + q);
        SpeckleFringe(n, nearLimit, [&](int32_t i) { rgn.AddRect(edge - i * q, top, edge - i * q + q, top + q); });
      } else {
        rgn.AddRect(0, top, XLen, top + q);
        SpeckleFringe(n, nearLimit, [&](int32_t i) { rgn.AddRect(XLen + (i - 1) * q, top, XLen + i * q, top + q); });
      }
    }
  }
  if (ColumnKind != 0) {
    const int32_t g = YLen < H ? H / 10 : 0;
    const int32_t q = std::max(g / 20, 2);
    const int32_t step = q / 2;
    const int32_t n = g / q;
    const int32_t nearLimit = (3 * g) / (4 * q);
    for (int32_t left = 0; left < W; left += step) {
      if (ColumnKind == 1) {
        const int32_t edge = H - YLen;
        rgn.AddRect(left, edge, left + q, H);
        SpeckleFringe(n, nearLimit, [&](int32_t i) { rgn.AddRect(left, edge - i * q, left + q, edge - i * q + q); });
      } else {
        rgn.AddRect(left, 0, left + q, YLen);
        SpeckleFringe(n, nearLimit, [&](int32_t i) { rgn.AddRect(left, YLen + (i - 1) * q, left + q, YLen + i * q); });
      }
    }
  }
}

} // namespace

std::optional<gfx::TRegion> BarRegion(int32_t XLen, int32_t YLen, int32_t W, int32_t H, int32_t RowKind,
                                      int32_t ColumnKind)
{
  TComplexRegion rgn;
  AddBarRects(rgn, XLen, YLen, W, H, RowKind, ColumnKind);
  return rgn.CreateRegion();
}

std::optional<gfx::TRegion> ShredRegion(int32_t XLen, int32_t YLen, int32_t W, int32_t H, int32_t RowKind,
                                        int32_t ColumnKind)
{
  TComplexRegion rgn;
  AddShredRects(rgn, XLen, YLen, W, H, RowKind, ColumnKind);
  return rgn.CreateRegion();
}

std::optional<gfx::TRegion> SpeckleRegion(int32_t XLen, int32_t YLen, int32_t W, int32_t H, int32_t RowKind,
                                          int32_t ColumnKind)
{
  TComplexRegion rgn;
  AddSpeckleRects(rgn, XLen, YLen, W, H, RowKind, ColumnKind);
  return rgn.CreateRegion();
}

// ----- The family -----

namespace {

enum class TPattern : uint8_t { ptBars, ptShreds, ptSpeckles };

// A member made by a pattern procedure: XLen = XTimes * X, YLen = YTimes * Y.
// Kinds 1, 2, 4 and 5 of the bars take twice the progress length so that
// their first phase ends half-way; kind 3 and the shreds take it once.
struct TPatternMember {
  TShowStyle Style;
  TPattern Pattern;
  int8_t XTimes;
  int8_t YTimes;
  int8_t RowKind;
  int8_t ColumnKind;
};

using enum TPattern;
constexpr std::array<TPatternMember, 46> kPatternMembers = {{
    {60, ptBars, 2, 0, 1, 0},      {61, ptBars, 2, 0, 2, 0},      {62, ptBars, 2, 0, 4, 0},
    {63, ptBars, 2, 0, 5, 0},      {64, ptBars, 1, 0, 3, 0},      {71, ptBars, 0, 2, 0, 1},
    {72, ptBars, 0, 2, 0, 2},      {73, ptBars, 0, 2, 0, 4},      {74, ptBars, 0, 2, 0, 5},
    {75, ptBars, 0, 1, 0, 3},      {86, ptBars, 2, 2, 1, 1},      {87, ptBars, 2, 2, 1, 2},
    {88, ptBars, 2, 2, 2, 1},      {89, ptBars, 2, 2, 2, 2},      {90, ptBars, 2, 2, 4, 4},
    {91, ptBars, 2, 2, 4, 5},      {92, ptBars, 2, 2, 5, 4},      {93, ptBars, 2, 2, 5, 5},
    {94, ptBars, 1, 1, 1, 3},      {95, ptBars, 1, 1, 2, 3},      {96, ptBars, 1, 1, 3, 1},
    {97, ptBars, 1, 1, 3, 2},      {98, ptBars, 1, 1, 3, 3},      {65, ptShreds, 1, 0, 1, 0},
    {66, ptShreds, 1, 0, 2, 0},    {67, ptShreds, 1, 0, 3, 0},    {68, ptShreds, 1, 0, 4, 0},
    {76, ptShreds, 0, 1, 0, 1},    {77, ptShreds, 0, 1, 0, 2},    {78, ptShreds, 0, 1, 0, 3},
    {79, ptShreds, 0, 1, 0, 4},    {100, ptShreds, 1, 1, 1, 1},   {101, ptShreds, 1, 1, 1, 2},
    {102, ptShreds, 1, 1, 2, 1},   {103, ptShreds, 1, 1, 2, 2},   {104, ptShreds, 1, 1, 1, 3},
    {105, ptShreds, 1, 1, 2, 3},   {106, ptShreds, 1, 1, 3, 1},   {107, ptShreds, 1, 1, 3, 2},
    {108, ptShreds, 1, 1, 3, 3},   {109, ptShreds, 1, 1, 4, 4},   {124, ptSpeckles, 1, 1, 1, 0},
    {125, ptSpeckles, 1, 1, 2, 0}, {126, ptSpeckles, 1, 1, 0, 1}, {127, ptSpeckles, 1, 1, 0, 2},
}};

const TPatternMember* FindPatternMember(TShowStyle style)
{
  for (const TPatternMember& m : kPatternMembers)
    if (m.Style == style)
      return &m;
  return nullptr;
}

void AddPatternRects(TComplexRegion& rgn, const TPatternMember& m, int32_t W, int32_t H, int32_t X, int32_t Y)
{
  const int32_t xLen = m.XTimes * X;
  const int32_t yLen = m.YTimes * Y;
  switch (m.Pattern) {
  case ptBars: AddBarRects(rgn, xLen, yLen, W, H, m.RowKind, m.ColumnKind); break;
  case ptShreds: AddShredRects(rgn, xLen, yLen, W, H, m.RowKind, m.ColumnKind); break;
  case ptSpeckles: AddSpeckleRects(rgn, xLen, yLen, W, H, m.RowKind, m.ColumnKind); break;
  }
}

TShapeStep RectsStep(const TComplexRegion& rgn, int mode)
{
  TShapeStep step;
  step.Kind = TShapeStep::skRects;
  step.Mode = mode;
  step.Rects.assign(rgn.Rects().begin(), rgn.Rects().end());
  return step;
}

// 128: squares of a fixed grid appear at random, the same squares for the
// same picture in every frame. The generator's numbers are drawn as if it
// were seeded with the handle, on a private copy, so the shared seed is the
// same after the frame as before.
void AddRandomSquares(TComplexRegion& rgn, int32_t W, int32_t H, int32_t Progress, uint32_t handle)
{
  TSeededRandom random(handle);
  const int32_t side = 2 * (std::min(W, H) / 50 + 1);
  for (int32_t x0 = 0; x0 < W; x0 += side)
    for (int32_t y0 = 0; y0 < H; y0 += side)
      if (int32_t(random.Next(100)) < Progress)
        rgn.AddRect(x0, y0, x0 + side, y0 + side);
}

// Slats of a pitch that open from one edge of each slat: from the pitch's
// start (growing forward) or from its end (counted back from the far edge).
void AddSlatsForward(TComplexRegion& rgn, int32_t pitch, int32_t length, int32_t open, bool columns, int32_t across)
{
  for (int32_t p0 = 0; p0 < length; p0 += pitch) {
    if (columns)
      rgn.AddRect(p0, 0, p0 + open, across);
    else
      rgn.AddRect(0, p0, across, p0 + open);
  }
}

void AddSlatsBackward(TComplexRegion& rgn, int32_t pitch, int32_t length, int32_t open, bool columns, int32_t across)
{
  for (int32_t p1 = length; p1 > 0; p1 -= pitch) {
    if (columns)
      rgn.AddRect(p1 - open, 0, p1, across);
    else
      rgn.AddRect(0, p1 - open, across, p1);
  }
}

// Stripes 2a thick about the lines -s, 2s, 5s, ... across the frame.
void AddStripes(TComplexRegion& rgn, int32_t s, int32_t a, int32_t length, bool columns, int32_t across)
{
  for (int32_t p = -s; p < length; p += 3 * s) {
    if (columns)
      rgn.AddRect(p - a, 0, p + a, across);
    else
      rgn.AddRect(0, p - a, across, p + a);
  }
}

// The members that build their own rectangles; false for a style that is not
// one of them.
bool AddOwnRects(TComplexRegion& rgn, TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y,
                 int32_t Progress, uint32_t handle)
{
  switch (style) {
  case 128: AddRandomSquares(rgn, W, H, Progress, handle); return true;
  case 137: { // slats of pitch 2n opening about their centre lines
    const int32_t n = W / 40 + 1;
    const int32_t a = gfx::MulDiv(n, Progress, 100);
    for (int32_t x0 = 0; x0 < W; x0 += 2 * n)
      rgn.AddRect(x0 + n - a, 0, x0 + n + a, H);
    return true;
  }
  case 138: {
    const int32_t n = H / 40 + 1;
    const int32_t a = gfx::MulDiv(n, Progress, 100);
    for (int32_t y0 = 0; y0 < H; y0 += 2 * n)
      rgn.AddRect(0, y0 + n - a, W, y0 + n + a);
    return true;
  }
  // The uneven blinds' pitch grows with progress too.
  case 139:
    if (X > 0)
      AddSlatsForward(rgn, X, W, gfx::MulDiv(X, Progress, 100), true, H);
    return true;
  case 140:
    if (X > 0)
      AddSlatsBackward(rgn, X, W, gfx::MulDiv(X, Progress, 100), true, H);
    return true;
  case 141:
    if (Y > 0)
      AddSlatsForward(rgn, Y, H, gfx::MulDiv(Y, Progress, 100), false, W);
    return true;
  case 142:
    if (Y > 0)
      AddSlatsBackward(rgn, Y, H, gfx::MulDiv(Y, Progress, 100), false, W);
    return true;
  case 143: { // squares growing from the centres of a grid
    const int32_t n = std::min(W, H) / 10 + 1;
    const int32_t a = gfx::MulDiv(n, Progress, 100);
    for (int32_t x0 = 0; x0 < W; x0 += 2 * n)
      for (int32_t y0 = 0; y0 < H; y0 += 2 * n)
        rgn.AddRect(x0 + n - a, y0 + n - a, x0 + n + a, y0 + n + a);
    return true;
  }
  // Stripes that thicken across the slats, then slats that fill.
  case 146:
  case 147: {
    const int32_t s = H / 20;
    if (X == 0 || s == 0)
      return true;
    AddStripes(rgn, s, gfx::MulDiv(s, Progress, 100), H, false, W);
    const int32_t m = gfx::MulDiv(X, Progress, 100);
    if (style == 146)
      AddSlatsForward(rgn, X, W, m, true, H);
    else
      AddSlatsBackward(rgn, X, W, m, true, H);
    return true;
  }
  case 148:
  case 149: {
    const int32_t s = W / 20;
    if (Y == 0 || s == 0)
      return true;
    AddStripes(rgn, s, gfx::MulDiv(s, Progress, 100), W, true, H);
    const int32_t m = gfx::MulDiv(Y, Progress, 100);
    if (style == 148)
      AddSlatsForward(rgn, Y, H, m, false, W);
    else
      AddSlatsBackward(rgn, Y, H, m, false, W);
    return true;
  }
  default: return false;
  }
}

} // namespace

TShapeRecipe BarFamilyRecipe(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress,
                             uint32_t handle)
{
  TShapeRecipe recipe;
  if (W <= 0 || H <= 0)
    return recipe;
  TComplexRegion rgn;
  if (const TPatternMember* member = FindPatternMember(style)) {
    AddPatternRects(rgn, *member, W, H, X, Y);
  } else if (style == 99) {
    // Where the bottom-right and the top-left criss-cross patterns overlap.
    AddBarRects(rgn, 2 * X, 2 * Y, W, H, 1, 1);
    recipe.push_back(RectsStep(rgn, 0));
    rgn.Clear();
    AddBarRects(rgn, 2 * X, 2 * Y, W, H, 2, 2);
    recipe.push_back(RectsStep(rgn, RGN_AND));
    return recipe;
  } else if (!AddOwnRects(rgn, style, W, H, X, Y, Progress, handle)) {
    return recipe;
  }
  recipe.push_back(RectsStep(rgn, 0));
  return recipe;
}

std::optional<gfx::TRegion> BarFamilyRegion(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y,
                                            int32_t Progress, uint32_t handle)
{
  return BuildRegion(BarFamilyRecipe(style, W, H, X, Y, Progress, handle));
}

void DrawBarFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                   int32_t X, int32_t Y, int32_t Progress)
{
  RevealRegion(Screen, Picture, W, H, BarFamilyRegion(style, W, H, X, Y, Progress, Picture.Handle()));
}

void ComposeBarFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                     framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  ComposeThroughRegion(Screen, OldImage, Picture, W, H, BarFamilyRegion(style, W, H, X, Y, Progress, Picture.Handle()));
}

} // namespace effects
