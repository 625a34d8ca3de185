#include "effects/WipeEffects.h"

#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace effects {
namespace {

using testing::Decode;
using testing::kNewTag;
using testing::kOldTag;
using testing::TaggedPixel;
using testing::TSource;
using testing::TTransition;

// What an effect is meant to show, as block transfers: the source rectangle
// of the new picture (or of the old image) appears in the destination
// rectangle, scaled to fit. Later parts cover earlier ones; pixels no part
// covers keep the old image.
struct TPart {
  uint32_t Tag;
  int32_t DX, DY, DW, DH, SX, SY, SW, SH;
};
using TParts = std::vector<TPart>;

struct TFrameSize {
  int32_t W, H, X, Y;
  [[nodiscard]] int32_t hw() const { return X / 2; }
  [[nodiscard]] int32_t hh() const { return Y / 2; }
  [[nodiscard]] int32_t W2() const { return W / 2; }
  [[nodiscard]] int32_t H2() const { return H / 2; }
  [[nodiscard]] int32_t mx() const { return (W - X) / 2; }
  [[nodiscard]] int32_t my() const { return (H - Y) / 2; }
};

TPart New(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh)
{
  return {kNewTag, dx, dy, dw, dh, sx, sy, sw, sh};
}
TPart Old(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh)
{
  return {kOldTag, dx, dy, dw, dh, sx, sy, sw, sh};
}
// The same rectangle of the new picture, in place.
TPart Reveal(int32_t x, int32_t y, int32_t w, int32_t h)
{
  return New(x, y, w, h, x, y, w, h);
}

// The intended pictures of the block-transfer styles that move pixels without
// scaling them, described by what each one shows.
const std::map<TShowStyle, std::function<TParts(const TFrameSize&)>>& Intentions()
{
  static const std::map<TShowStyle, std::function<TParts(const TFrameSize&)>> intentions = {
      // The new picture moved in from an edge or corner: its visible part.
      {3, [](const TFrameSize& f) { return TParts{New(f.W - f.X, 0, f.X, f.H, 0, 0, f.X, f.H)}; }},
      {4, [](const TFrameSize& f) { return TParts{New(0, 0, f.X, f.H, f.W - f.X, 0, f.X, f.H)}; }},
      {20, [](const TFrameSize& f) { return TParts{New(0, f.H - f.Y, f.W, f.Y, 0, 0, f.W, f.Y)}; }},
      {21, [](const TFrameSize& f) { return TParts{New(0, 0, f.W, f.Y, 0, f.H - f.Y, f.W, f.Y)}; }},
      {39, [](const TFrameSize& f) { return TParts{New(f.W - f.X, f.H - f.Y, f.X, f.Y, 0, 0, f.X, f.Y)}; }},
      {40, [](const TFrameSize& f) { return TParts{New(f.W - f.X, 0, f.X, f.Y, 0, f.H - f.Y, f.X, f.Y)}; }},
      {41, [](const TFrameSize& f) { return TParts{New(0, 0, f.X, f.Y, f.W - f.X, f.H - f.Y, f.X, f.Y)}; }},
      {42, [](const TFrameSize& f) { return TParts{New(0, f.H - f.Y, f.X, f.Y, f.W - f.X, 0, f.X, f.Y)}; }},
      // Quarters entering like a pinwheel, each moving in from its own side.
      {57, [](const TFrameSize& f) {
         const int32_t w = f.W2(), h = f.H2(), x = f.hw(), y = f.hh();
         return TParts{New(0, 0, x, h, w - x, 0, x, h), New(w, 0, w, y, w, h - y, w, y),
                       New(f.W - x, h, x, h, w, h, x, h), New(0, f.H - y, w, y, 0, h, w, y)};
       }},
      // The new picture uncovered in place.
      {5, [](const TFrameSize& f) { return TParts{Reveal(0, 0, f.X, f.H)}; }},
      {6, [](const TFrameSize& f) { return TParts{Reveal(f.W - f.X, 0, f.X, f.H)}; }},
      {11, [](const TFrameSize& f) { return TParts{Reveal(f.mx(), 0, f.X, f.H)}; }},
      {12, [](const TFrameSize& f) { return TParts{Reveal(0, 0, f.hw(), f.H), Reveal(f.W - f.hw(), 0, f.hw(), f.H)}; }},
      {22, [](const TFrameSize& f) { return TParts{Reveal(0, 0, f.W, f.Y)}; }},
      {23, [](const TFrameSize& f) { return TParts{Reveal(0, f.H - f.Y, f.W, f.Y)}; }},
      {28, [](const TFrameSize& f) { return TParts{Reveal(0, f.my(), f.W, f.Y)}; }},
      {29, [](const TFrameSize& f) { return TParts{Reveal(0, 0, f.W, f.hh()), Reveal(0, f.H - f.hh(), f.W, f.hh())}; }},
      {43, [](const TFrameSize& f) { return TParts{Reveal(0, 0, f.X, f.Y)}; }},
      {44, [](const TFrameSize& f) { return TParts{Reveal(0, f.H - f.Y, f.X, f.Y)}; }},
      {45, [](const TFrameSize& f) { return TParts{Reveal(f.W - f.X, f.H - f.Y, f.X, f.Y)}; }},
      {46, [](const TFrameSize& f) { return TParts{Reveal(f.W - f.X, 0, f.X, f.Y)}; }},
      {53, [](const TFrameSize& f) { return TParts{Reveal(f.mx(), f.my(), f.X, f.Y)}; }},
      {54, [](const TFrameSize& f) {
         // Everything but the centre, which shrinks: the four bands around it.
         const int32_t x = f.hw(), y = f.hh();
         return TParts{Reveal(0, 0, f.W, y), Reveal(0, f.H - y, f.W, y), Reveal(0, 0, x, f.H),
                       Reveal(f.W - x, 0, x, f.H)};
       }},
      {55, [](const TFrameSize& f) {
         const int32_t x = f.hw(), y = f.hh();
         return TParts{Reveal(0, 0, x, y), Reveal(0, f.H - y, x, y), Reveal(f.W - x, f.H - y, x, y),
                       Reveal(f.W - x, 0, x, y)};
       }},
      // The new picture pushes the old one out: both move.
      {129, [](const TFrameSize& f) {
         return TParts{Old(f.X, 0, f.W - f.X, f.H, 0, 0, f.W - f.X, f.H), New(0, 0, f.X, f.H, f.W - f.X, 0, f.X, f.H)};
       }},
      {130, [](const TFrameSize& f) {
         return TParts{Old(0, 0, f.W - f.X, f.H, f.X, 0, f.W - f.X, f.H), New(f.W - f.X, 0, f.X, f.H, 0, 0, f.X, f.H)};
       }},
      {133, [](const TFrameSize& f) {
         return TParts{Old(0, f.Y, f.W, f.H - f.Y, 0, 0, f.W, f.H - f.Y), New(0, 0, f.W, f.Y, 0, f.H - f.Y, f.W, f.Y)};
       }},
      {134, [](const TFrameSize& f) {
         return TParts{Old(0, 0, f.W, f.H - f.Y, 0, f.Y, f.W, f.H - f.Y), New(0, f.H - f.Y, f.W, f.Y, 0, 0, f.W, f.Y)};
       }},
      // The old image slides out and uncovers the new picture in place.
      {173, [](const TFrameSize& f) {
         return TParts{Old(f.X, 0, f.W - f.X, f.H, 0, 0, f.W - f.X, f.H), Reveal(0, 0, f.X, f.H)};
       }},
      {174, [](const TFrameSize& f) {
         return TParts{Old(0, 0, f.W - f.X, f.H, f.X, 0, f.W - f.X, f.H), Reveal(f.W - f.X, 0, f.X, f.H)};
       }},
      {175, [](const TFrameSize& f) {
         return TParts{Old(0, f.Y, f.W, f.H - f.Y, 0, 0, f.W, f.H - f.Y), Reveal(0, 0, f.W, f.Y)};
       }},
      {176, [](const TFrameSize& f) {
         return TParts{Old(0, 0, f.W, f.H - f.Y, 0, f.Y, f.W, f.H - f.Y), Reveal(0, f.H - f.Y, f.W, f.Y)};
       }},
  };
  return intentions;
}

// The styles that scale: the transfers of each at three sizes, the numbers
// worked out by hand. At 40 x 30 and progress 50 the effect gets X = 20 and
// Y = 15; at 30 x 41 and 50, Y = 21 (20.5 rounded) and X = 15; at 7 x 5 and
// 25, X = 2 and Y = 1. Whole-picture stretches land in a band of X columns
// or Y rows; the zooms magnify an X x Y piece so that it reaches the frame's
// far side exactly at the end, their destination running off the frame; the
// squeezes shrink the whole old image into what the new picture leaves.
struct TStretchCase {
  int32_t W, H, Progress;
  TParts Parts;
};
const std::map<TShowStyle, std::vector<TStretchCase>>& StretchFrames()
{
  static const std::map<TShowStyle, std::vector<TStretchCase>> frames = {
      {1, {{40, 30, 50, {New(20, 0, 20, 30, 0, 0, 40, 30)}},
           {30, 41, 50, {New(15, 0, 15, 41, 0, 0, 30, 41)}},
           {7, 5, 25, {New(5, 0, 2, 5, 0, 0, 7, 5)}}}},
      {2, {{40, 30, 50, {New(0, 0, 20, 30, 0, 0, 40, 30)}},
           {30, 41, 50, {New(0, 0, 15, 41, 0, 0, 30, 41)}},
           {7, 5, 25, {New(0, 0, 2, 5, 0, 0, 7, 5)}}}},
      {10, {{40, 30, 50, {New(10, 0, 20, 30, 0, 0, 40, 30)}},
           {30, 41, 50, {New(7, 0, 15, 41, 0, 0, 30, 41)}},
           {7, 5, 25, {New(2, 0, 2, 5, 0, 0, 7, 5)}}}},
      {18, {{40, 30, 50, {New(0, 15, 40, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(0, 20, 30, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(0, 4, 7, 1, 0, 0, 7, 5)}}}},
      {19, {{40, 30, 50, {New(0, 0, 40, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(0, 0, 30, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(0, 0, 7, 1, 0, 0, 7, 5)}}}},
      {27, {{40, 30, 50, {New(0, 7, 40, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(0, 10, 30, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(0, 2, 7, 1, 0, 0, 7, 5)}}}},
      {35, {{40, 30, 50, {New(20, 15, 20, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(15, 20, 15, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(5, 4, 2, 1, 0, 0, 7, 5)}}}},
      {36, {{40, 30, 50, {New(20, 0, 20, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(15, 0, 15, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(5, 0, 2, 1, 0, 0, 7, 5)}}}},
      {37, {{40, 30, 50, {New(0, 0, 20, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(0, 0, 15, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(0, 0, 2, 1, 0, 0, 7, 5)}}}},
      {38, {{40, 30, 50, {New(0, 15, 20, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(0, 20, 15, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(0, 4, 2, 1, 0, 0, 7, 5)}}}},
      {52, {{40, 30, 50, {New(10, 7, 20, 15, 0, 0, 40, 30)}},
           {30, 41, 50, {New(7, 10, 15, 21, 0, 0, 30, 41)}},
           {7, 5, 25, {New(2, 2, 2, 1, 0, 0, 7, 5)}}}},
      {13, {{40, 30, 50, {New(0, 0, 10, 30, 0, 0, 20, 30), New(30, 0, 10, 30, 20, 0, 20, 30)}},
           {30, 41, 50, {New(0, 0, 7, 41, 0, 0, 15, 41), New(23, 0, 7, 41, 15, 0, 15, 41)}},
           {7, 5, 25, {New(0, 0, 1, 5, 0, 0, 3, 5), New(6, 0, 1, 5, 3, 0, 3, 5)}}}},
      {30, {{40, 30, 50, {New(0, 0, 40, 7, 0, 0, 40, 15), New(0, 23, 40, 7, 0, 15, 40, 15)}},
           {30, 41, 50, {New(0, 0, 30, 10, 0, 0, 30, 20), New(0, 31, 30, 10, 0, 20, 30, 20)}},
           {7, 5, 25, {}}}},
      {56, {{40, 30, 50, {New(0, 0, 10, 7, 0, 0, 20, 15), New(0, 23, 10, 7, 0, 15, 20, 15), New(30, 23, 10, 7, 20, 15, 20, 15), New(30, 0, 10, 7, 20, 0, 20, 15)}},
           {30, 41, 50, {New(0, 0, 7, 10, 0, 0, 15, 20), New(0, 31, 7, 10, 0, 20, 15, 20), New(23, 31, 7, 10, 15, 20, 15, 20), New(23, 0, 7, 10, 15, 0, 15, 20)}},
           {7, 5, 25, {}}}},
      {7, {{40, 30, 50, {New(0, 0, 60, 30, 0, 0, 20, 30)}},
           {30, 41, 50, {New(0, 0, 45, 41, 0, 0, 15, 41)}},
           {7, 5, 25, {New(0, 0, 12, 5, 0, 0, 2, 5)}}}},
      {8, {{40, 30, 50, {New(-20, 0, 60, 30, 20, 0, 20, 30)}},
           {30, 41, 50, {New(-15, 0, 45, 41, 15, 0, 15, 41)}},
           {7, 5, 25, {New(-5, 0, 12, 5, 5, 0, 2, 5)}}}},
      {9, {{40, 30, 50, {New(-20, 0, 80, 30, 10, 0, 20, 30)}},
           {30, 41, 50, {New(-15, 0, 60, 41, 7, 0, 15, 41)}},
           {7, 5, 25, {New(-5, 0, 17, 5, 2, 0, 2, 5)}}}},
      {24, {{40, 30, 50, {New(0, 0, 40, 45, 0, 0, 40, 15)}},
           {30, 41, 50, {New(0, 0, 30, 61, 0, 0, 30, 21)}},
           {7, 5, 25, {New(0, 0, 7, 9, 0, 0, 7, 1)}}}},
      {25, {{40, 30, 50, {New(0, -15, 40, 45, 0, 15, 40, 15)}},
           {30, 41, 50, {New(0, -20, 30, 61, 0, 20, 30, 21)}},
           {7, 5, 25, {New(0, -4, 7, 9, 0, 4, 7, 1)}}}},
      {26, {{40, 30, 50, {New(0, -15, 40, 60, 0, 7, 40, 15)}},
           {30, 41, 50, {New(0, -20, 30, 81, 0, 10, 30, 21)}},
           {7, 5, 25, {New(0, -4, 7, 13, 0, 2, 7, 1)}}}},
      {47, {{40, 30, 50, {New(0, 0, 60, 45, 0, 0, 20, 15)}},
           {30, 41, 50, {New(0, 0, 45, 61, 0, 0, 15, 21)}},
           {7, 5, 25, {New(0, 0, 12, 9, 0, 0, 2, 1)}}}},
      {48, {{40, 30, 50, {New(0, -15, 60, 45, 0, 15, 20, 15)}},
           {30, 41, 50, {New(0, -20, 45, 61, 0, 20, 15, 21)}},
           {7, 5, 25, {New(0, -4, 12, 9, 0, 4, 2, 1)}}}},
      {49, {{40, 30, 50, {New(-20, -15, 60, 45, 20, 15, 20, 15)}},
           {30, 41, 50, {New(-15, -20, 45, 61, 15, 20, 15, 21)}},
           {7, 5, 25, {New(-5, -4, 12, 9, 5, 4, 2, 1)}}}},
      {50, {{40, 30, 50, {New(-20, 0, 60, 45, 20, 0, 20, 15)}},
           {30, 41, 50, {New(-15, 0, 45, 61, 15, 0, 15, 21)}},
           {7, 5, 25, {New(-5, 0, 12, 9, 5, 0, 2, 1)}}}},
      {51, {{40, 30, 50, {New(-20, -15, 80, 60, 10, 7, 20, 15)}},
           {30, 41, 50, {New(-15, -20, 60, 81, 7, 10, 15, 21)}},
           {7, 5, 25, {New(-5, -4, 17, 13, 2, 2, 2, 1)}}}},
      {131, {{40, 30, 50, {Old(20, 0, 20, 30, 0, 0, 40, 30), New(0, 0, 20, 30, 20, 0, 20, 30)}},
           {30, 41, 50, {Old(15, 0, 15, 41, 0, 0, 30, 41), New(0, 0, 15, 41, 15, 0, 15, 41)}},
           {7, 5, 25, {Old(2, 0, 5, 5, 0, 0, 7, 5), New(0, 0, 2, 5, 5, 0, 2, 5)}}}},
      {132, {{40, 30, 50, {Old(0, 0, 20, 30, 0, 0, 40, 30), New(20, 0, 20, 30, 0, 0, 20, 30)}},
           {30, 41, 50, {Old(0, 0, 15, 41, 0, 0, 30, 41), New(15, 0, 15, 41, 0, 0, 15, 41)}},
           {7, 5, 25, {Old(0, 0, 5, 5, 0, 0, 7, 5), New(5, 0, 2, 5, 0, 0, 2, 5)}}}},
      {135, {{40, 30, 50, {Old(0, 15, 40, 15, 0, 0, 40, 30), New(0, 0, 40, 15, 0, 15, 40, 15)}},
           {30, 41, 50, {Old(0, 21, 30, 20, 0, 0, 30, 41), New(0, 0, 30, 21, 0, 20, 30, 21)}},
           {7, 5, 25, {Old(0, 1, 7, 4, 0, 0, 7, 5), New(0, 0, 7, 1, 0, 4, 7, 1)}}}},
      {136, {{40, 30, 50, {Old(0, 0, 40, 15, 0, 0, 40, 30), New(0, 15, 40, 15, 0, 0, 40, 15)}},
           {30, 41, 50, {Old(0, 0, 30, 20, 0, 0, 30, 41), New(0, 20, 30, 21, 0, 0, 30, 21)}},
           {7, 5, 25, {Old(0, 0, 7, 4, 0, 0, 7, 5), New(0, 4, 7, 1, 0, 0, 7, 1)}}}},
  };
  return frames;
}

int64_t FloorDiv(int64_t a, int64_t b)
{
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Whether source coordinate u may feed destination coordinate d of a
// transfer from [s, s + sl) to [dd, dd + dl): the source pixels under the
// destination pixel's footprint. Exact for copies; for stretches it leaves
// the choice between neighbours to the sampling rule.
bool InFootprint(int32_t u, int32_t d, int32_t dd, int32_t dl, int32_t s, int32_t sl)
{
  const int64_t i = int64_t(d) - dd;
  const int64_t lo = s + FloorDiv(i * sl, dl);
  const int64_t hi = s + FloorDiv((i + 1) * sl + dl - 1, dl) - 1;
  return u >= lo && u <= std::max(lo, hi);
}

// Checks every pixel of the frame against the intended parts; returns the
// first mismatch as text, or nothing.
std::string CheckFrame(const TTransition& t, const TParts& parts)
{
  for (int32_t y = 0; y < t.H; ++y)
    for (int32_t x = 0; x < t.W; ++x) {
      const TPart* cover = nullptr;
      for (const TPart& p : parts)
        if (p.DW > 0 && p.DH > 0 && p.SW > 0 && p.SH > 0 && x >= p.DX && x < p.DX + p.DW && y >= p.DY &&
            y < p.DY + p.DH)
          cover = &p;
      const TSource got = t.SourceAt(x, y);
      bool ok;
      if (!cover)
        ok = got == TSource{kOldTag, x, y};
      else
        ok = got.Tag == cover->Tag && InFootprint(got.X, x, cover->DX, cover->DW, cover->SX, cover->SW) &&
             InFootprint(got.Y, y, cover->DY, cover->DH, cover->SY, cover->SH);
      if (!ok)
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") shows " +
               (got.Tag == kOldTag ? "old" : got.Tag == kNewTag ? "new" : "?") + " (" + std::to_string(got.X) + ", " +
               std::to_string(got.Y) + ")" + (cover ? "" : ", expected the old image in place");
    }
  return {};
}

TEST(WipeEffects, BlockTransferStylesShowWhatTheyIntend)
{
  // Landscape, portrait (X and Y then come from H), odd sizes, one row and
  // one column.
  const std::pair<int32_t, int32_t> sizes[] = {{40, 30}, {30, 41}, {7, 5}, {1, 9}, {9, 1}, {1, 1}, {64, 3}};
  for (const auto& [style, intention] : Intentions()) {
    ASSERT_TRUE(IsWipeStyle(style)) << int(style);
    for (const auto& [w, h] : sizes) {
      TTransition t(w, h);
      for (int32_t progress : {1, 9, 25, 50, 51, 75, 99}) {
        t.Compose(style, progress);
        const TProgressSize size = ProgressSize(w, h, progress);
        const std::string error = CheckFrame(t, intention({w, h, size.X, size.Y}));
        EXPECT_EQ(error, "") << "style " << int(style) << " \"" << StyleName(style) << "\" " << w << "x" << h
                             << " at " << progress;
      }
    }
  }
}

TEST(WipeEffects, ScalingStylesShowTheFramesWorkedOutByHand)
{
  // The sizes the hand-worked numbers assume.
  ASSERT_EQ(ProgressSize(40, 30, 50), (TProgressSize{20, 15}));
  ASSERT_EQ(ProgressSize(30, 41, 50), (TProgressSize{15, 21}));
  ASSERT_EQ(ProgressSize(7, 5, 25), (TProgressSize{2, 1}));
  for (const auto& [style, cases] : StretchFrames()) {
    ASSERT_TRUE(IsWipeStyle(style)) << int(style);
    for (const TStretchCase& c : cases) {
      TTransition t(c.W, c.H);
      t.Compose(style, c.Progress);
      EXPECT_EQ(CheckFrame(t, c.Parts), "") << "style " << int(style) << " \"" << StyleName(style) << "\" " << c.W
                                            << "x" << c.H << " at " << c.Progress;
    }
  }
}

TEST(WipeEffects, EveryBlockTransferStyleHasAnIntention)
{
  size_t wipes = 0;
  for (TShowStyle s = 1; s <= kMaxStyle; ++s)
    if (IsWipeStyle(s)) {
      ++wipes;
      EXPECT_TRUE(Intentions().count(s) + StretchFrames().count(s) == 1 || (s >= 14 && s <= 17) ||
                  (s >= 31 && s <= 34))
        << int(s);
    }
  EXPECT_EQ(wipes, 69u);
}

TEST(WipeEffects, MiddleEffectsKeepTheCentre)
{
  TTransition t(400, 300);
  t.Compose(11, 50); // "Reveal out from middle": columns 100..299
  EXPECT_EQ(t.SourceAt(99, 10).Tag, kOldTag);
  EXPECT_EQ(t.SourceAt(100, 10), (TSource{kNewTag, 100, 10}));
  EXPECT_EQ(t.SourceAt(299, 10), (TSource{kNewTag, 299, 10}));
  EXPECT_EQ(t.SourceAt(300, 10).Tag, kOldTag);
  t.Compose(9, 50); // "Expand in to middle": columns 100..299 magnified 4 times from x = -200
  EXPECT_EQ(t.SourceAt(0, 7), (TSource{kNewTag, 150, 7}));
  EXPECT_EQ(t.SourceAt(200, 7), (TSource{kNewTag, 200, 7}));
  EXPECT_EQ(t.SourceAt(399, 7), (TSource{kNewTag, 249, 7}));
}

TEST(WipeEffects, QuarterSlideShowsTheOddLastColumnAndRowOnlyAtTheEnd)
{
  TTransition t(7, 5);
  for (int32_t progress = 1; progress <= 99; ++progress) {
    t.Compose(57, progress);
    for (int32_t y = 0; y < 5; ++y)
      for (int32_t x = 0; x < 7; ++x) {
        const TSource got = t.SourceAt(x, y);
        if (got.Tag == kNewTag) {
          ASSERT_TRUE(got.X < 6 && got.Y < 4) << progress << ": (" << x << ", " << y << ")";
        }
      }
  }
  t.Compose(57, 100);
  EXPECT_EQ(t.SourceAt(6, 4), (TSource{kNewTag, 6, 4}));
}

TEST(WipeEffects, PushesReadTheOldImageBeforeOverwritingIt)
{
  TTransition t(100, 4);
  t.Compose(130, 1); // "Push left" at X = 1
  for (int32_t x = 0; x < 99; ++x)
    ASSERT_EQ(t.SourceAt(x, 2), (TSource{kOldTag, x + 1, 2})) << x;
  EXPECT_EQ(t.SourceAt(99, 2), (TSource{kNewTag, 0, 2}));
  t.Compose(129, 1); // "Push right": the old image moves one column right
  EXPECT_EQ(t.SourceAt(0, 2), (TSource{kNewTag, 99, 2}));
  for (int32_t x = 1; x < 100; ++x)
    ASSERT_EQ(t.SourceAt(x, 2), (TSource{kOldTag, x - 1, 2})) << x;
}

gfx::TPixel Shaded(gfx::TPixel p, int32_t offset)
{
  gfx::TPixel out = p & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int32_t v = std::clamp(int32_t((p >> shift) & 0xFF) + offset, 0, 255);
    out |= gfx::TPixel(v) << shift;
  }
  return out;
}

TEST(Shading, ColumnOffsetsRiseToTheMiddleAndFallBack)
{
  std::vector<int32_t> expected;
  for (int32_t k = 0; k <= 20; ++k)
    expected.push_back(-64 + 3 * k);
  for (int32_t k = 21; k < 40; ++k)
    expected.push_back(-4 - 3 * (k - 20));
  EXPECT_EQ(ShadeColumnOffsets(40, 64), expected);
  EXPECT_EQ(ShadeColumnOffsets(5, 3), (std::vector<int32_t>{-3, -2, -1, -2, -3}));
  // Bands wider than twice the amount step by one every few columns.
  EXPECT_EQ(ShadeColumnOffsets(4, 1), (std::vector<int32_t>{-1, -1, -2, -2}));
  const std::vector<int32_t> wide = ShadeColumnOffsets(300, 64);
  ASSERT_EQ(wide.size(), 300u);
  EXPECT_EQ(wide.front(), -64);
  for (size_t k = 1; k < wide.size(); ++k)
    EXPECT_LE(std::abs(wide[k] - wide[k - 1]), 1) << k;
  EXPECT_EQ(*std::max_element(wide.begin(), wide.end()), wide[149]);
  EXPECT_EQ(wide[150], wide[149] - 1);
}

TEST(Shading, RowOffsetsTurnOneStepEarlier)
{
  EXPECT_EQ(ShadeRowOffsets(5, 3), (std::vector<int32_t>{-3, -2, -3, -4, -5}));
  const std::vector<int32_t> rows = ShadeRowOffsets(40, 64);
  EXPECT_EQ(rows[19], -7);
  EXPECT_EQ(rows[20], -10);
  EXPECT_EQ(rows[39], -67);
  EXPECT_EQ(ShadeRowOffsets(4, 1), ShadeColumnOffsets(4, 1));
  EXPECT_EQ(ShadeRowOffsets(300, 64), ShadeColumnOffsets(300, 64));
}

TEST(Shading, NarrowBandsAndZeroAmountAreLeftAlone)
{
  EXPECT_TRUE(ShadeColumnOffsets(1, 64).empty());
  EXPECT_TRUE(ShadeColumnOffsets(0, 64).empty());
  EXPECT_TRUE(ShadeRowOffsets(10, 0).empty());
  framework::TBitmap bitmap(3, 3);
  bitmap.Pixmap().Fill(0x7F808080);
  ShadeColumns(bitmap, 1, 1, 64);
  ShadeRows(bitmap, 0, 3, 0);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(bitmap.Pixmap().At(x, y), 0x7F808080u);
}

TEST(Shading, ClampsColourBytesKeepsTheFourthAndSkipsOutsideColumns)
{
  framework::TBitmap bitmap(4, 2);
  bitmap.Pixmap().Fill(0xAB10F080);
  ShadeColumns(bitmap, 2, 5, 64); // reaches past the right edge
  EXPECT_EQ(bitmap.Pixmap().At(0, 0), 0xAB10F080u);
  EXPECT_EQ(bitmap.Pixmap().At(2, 1), Shaded(0xAB10F080, ShadeColumnOffsets(5, 64)[0]));
  EXPECT_EQ(bitmap.Pixmap().At(2, 1), 0xAB00B040u);
  EXPECT_EQ(bitmap.Pixmap().At(3, 0), Shaded(0xAB10F080, ShadeColumnOffsets(5, 64)[1]));
  // Rows: the bottom row of the band takes the first offset.
  framework::TBitmap rows(2, 4);
  rows.Pixmap().Fill(0x00808080);
  ShadeRows(rows, 1, 3, 100);
  const std::vector<int32_t> offsets = ShadeRowOffsets(3, 100);
  EXPECT_EQ(rows.Pixmap().At(0, 0), 0x00808080u);
  EXPECT_EQ(rows.Pixmap().At(1, 3), Shaded(0x00808080, offsets[0]));
  EXPECT_EQ(rows.Pixmap().At(1, 2), Shaded(0x00808080, offsets[1]));
  EXPECT_EQ(rows.Pixmap().At(1, 1), Shaded(0x00808080, offsets[2]));
}

TEST(Rolls, RollWidthFollowsProgress)
{
  TTransition t(400, 10);
  // X = 20: the roll is as wide as what is revealed.
  t.Compose(14, 5);
  EXPECT_EQ(t.SourceAt(19, 3), (TSource{kNewTag, 19, 3}));
  EXPECT_EQ(t.At(20, 3) >> 24, kNewTag);
  EXPECT_EQ(t.At(39, 3) >> 24, kNewTag);
  EXPECT_EQ(t.SourceAt(40, 3), (TSource{kOldTag, 40, 3}));
  // X = 200: a tenth of the width.
  t.Compose(14, 50);
  EXPECT_EQ(t.At(239, 3) >> 24, kNewTag);
  EXPECT_EQ(t.SourceAt(240, 3), (TSource{kOldTag, 240, 3}));
  // X = 380: half of the 20 columns left.
  t.Compose(14, 95);
  EXPECT_EQ(t.At(389, 3) >> 24, kNewTag);
  EXPECT_EQ(t.SourceAt(390, 3), (TSource{kOldTag, 390, 3}));
}

TEST(Rolls, LeftRollMirrorsTheStripBeyondAndShadesIt)
{
  TTransition t(400, 300);
  t.Compose(14, 25); // X = 100, roll 40 wide
  const std::vector<int32_t> offsets = ShadeColumnOffsets(40, 64);
  for (int32_t y : {0, 150, 299}) {
    EXPECT_EQ(t.SourceAt(99, y), (TSource{kNewTag, 99, y}));
    for (int32_t c = 100; c < 140; ++c)
      ASSERT_EQ(t.At(c, y), Shaded(TaggedPixel(kNewTag, 279 - c, y), offsets[size_t(c - 100)])) << c;
    EXPECT_EQ(t.SourceAt(140, y), (TSource{kOldTag, 140, y}));
  }
  EXPECT_EQ(offsets[0], -64);
  EXPECT_EQ(offsets[20], -4);
  EXPECT_EQ(offsets[39], -61);
}

TEST(Rolls, RightRollReadsOnePixelFurtherOut)
{
  TTransition t(400, 300);
  t.Compose(15, 25); // X = 100: revealed 300..399, roll 260..299 from picture 219..258
  const std::vector<int32_t> offsets = ShadeColumnOffsets(40, 64);
  for (int32_t y : {0, 299}) {
    EXPECT_EQ(t.SourceAt(300, y), (TSource{kNewTag, 300, y}));
    for (int32_t c = 260; c < 300; ++c)
      ASSERT_EQ(t.At(c, y), Shaded(TaggedPixel(kNewTag, 518 - c, y), offsets[size_t(c - 260)])) << c;
    EXPECT_EQ(t.SourceAt(259, y), (TSource{kOldTag, 259, y}));
  }
}

TEST(Rolls, VerticalRollsUseTheRowShading)
{
  TTransition t(30, 400); // tall: Y comes from H
  t.Compose(31, 25);      // Y = 100, roll rows 100..139
  const std::vector<int32_t> offsets = ShadeRowOffsets(40, 64);
  EXPECT_EQ(t.SourceAt(5, 99), (TSource{kNewTag, 5, 99}));
  for (int32_t r = 100; r < 140; ++r)
    ASSERT_EQ(t.At(5, r), Shaded(TaggedPixel(kNewTag, 5, 279 - r), offsets[size_t(139 - r)])) << r;
  EXPECT_EQ(t.SourceAt(5, 140), (TSource{kOldTag, 5, 140}));

  t.Compose(32, 25); // revealed rows 300..399, roll 260..299 from picture rows 219..258
  EXPECT_EQ(t.SourceAt(5, 300), (TSource{kNewTag, 5, 300}));
  for (int32_t r = 260; r < 300; ++r)
    ASSERT_EQ(t.At(5, r), Shaded(TaggedPixel(kNewTag, 5, 518 - r), offsets[size_t(299 - r)])) << r;
  EXPECT_EQ(t.SourceAt(5, 259), (TSource{kOldTag, 5, 259}));
}

TEST(BuildUps, StripOfTheNewPictureIsStretchedOverTheRest)
{
  TTransition t(400, 300);
  t.Compose(16, 50); // X = 200: picture columns 200..239 over 200..399
  for (int32_t c = 0; c < 400; ++c)
    ASSERT_EQ(t.SourceAt(c, 9), (TSource{kNewTag, c < 200 ? c : 200 + (c - 200) / 5, 9})) << c;
  t.Compose(17, 50); // columns 200..399 revealed, picture columns 160..199 over 0..199
  for (int32_t c = 0; c < 400; ++c)
    ASSERT_EQ(t.SourceAt(c, 9), (TSource{kNewTag, c < 200 ? 160 + c / 5 : c, 9})) << c;
  t.Compose(33, 50); // Y = 150: picture rows 150..179 over 150..299
  for (int32_t r = 0; r < 300; ++r)
    ASSERT_EQ(t.SourceAt(9, r), (TSource{kNewTag, 9, r < 150 ? r : 150 + (r - 150) / 5})) << r;
  t.Compose(34, 50); // rows 150..299 revealed, picture rows 120..149 over 0..149
  for (int32_t r = 0; r < 300; ++r)
    ASSERT_EQ(t.SourceAt(9, r), (TSource{kNewTag, 9, r < 150 ? 120 + r / 5 : r})) << r;
  // Style 18 shares 33's name but stretches the whole picture from the bottom.
  t.Compose(18, 50);
  EXPECT_EQ(t.SourceAt(9, 0).Tag, kOldTag);
}

TEST(BuildUps, NearTheEndTheStripIsUnscaled)
{
  TTransition t(500, 20);
  t.Compose(16, 99); // X = 495: the last 5 columns are the picture's own
  for (int32_t c = 490; c < 500; ++c)
    EXPECT_EQ(t.SourceAt(c, 4), (TSource{kNewTag, c, 4})) << c;
  t.Compose(17, 99);
  for (int32_t c = 0; c < 10; ++c)
    EXPECT_EQ(t.SourceAt(c, 4), (TSource{kNewTag, c, 4})) << c;
}

TEST(WipeEffects, RefusesStylesOfOtherFamilies)
{
  framework::TBitmap a(4, 4), b(4, 4);
  EXPECT_FALSE(IsWipeStyle(0));
  EXPECT_FALSE(IsWipeStyle(119));
  EXPECT_FALSE(IsWipeStyle(177));
  EXPECT_THROW(DrawWipeEffect(119, a, b, 4, 4, 2, 2, 50), std::invalid_argument);
}

} // namespace
} // namespace effects
