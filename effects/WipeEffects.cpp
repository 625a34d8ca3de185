#include "effects/WipeEffects.h"

#include "effects/ComplexRegion.h"
#include "effects/TransferPlan.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "gfx/DrawContext.h"
#include "gfx/PixelRows.h"

#include <algorithm>
#include <array>
#include <span>
#include <stdexcept>
#include <string>

namespace effects {

namespace {

struct TPlanEntry {
  TShowStyle Style;
  TTransferPlan Plan;
};

// Every effect of the family that is a fixed list of transfers. The formulas
// use the frame size W x H, the progress-scaled X and Y and the halves
// hw = X div 2, hh = Y div 2, W2 = W div 2, H2 = H div 2, mx = (W - X) div 2,
// my = (H - Y) div 2.
constexpr TPlanEntry kPlans[] = {
    {1, ParsePlan("stretch(W-X, 0, X, H; 0, 0, W, H)")}, // "Expand from right"
    {2, ParsePlan("stretch(0, 0, X, H; 0, 0, W, H)")}, // "Expand from left"
    {3, ParsePlan("copy(W-X, 0, W, H; 0, 0)")}, // "Slide in from right"
    {4, ParsePlan("copy(X-W, 0, W, H; 0, 0)")}, // "Slide in from left"
    {5, ParsePlan("copy(0, 0, X, H; 0, 0)")}, // "Reveal from left"
    {6, ParsePlan("copy(W-X, 0, X, H; W-X, 0)")}, // "Reveal from right"
    {7, ParsePlan("stretch(0, 0, 2W-X, H; 0, 0, X, H)")}, // "Expand in from right"
    {8, ParsePlan("stretch(X-W, 0, 2W-X, H; W-X, 0, X, H)")}, // "Expand in from left"
    {9, ParsePlan("stretch(X-W, 0, 3W-2X, H; mx, 0, X, H)")}, // "Expand in to middle"
    {10, ParsePlan("stretch(mx, 0, X, H; 0, 0, W, H)")}, // "Expand out from middle"
    {11, ParsePlan("copy(mx, 0, X, H; mx, 0)")}, // "Reveal out from middle"
    {12, ParsePlan("copy(0, 0, hw, H; 0, 0); copy(W-hw, 0, hw, H; W-hw, 0)")}, // "Reveal in from sides"
    {13, ParsePlan("stretch(0, 0, hw, H; 0, 0, W2, H); stretch(W-hw, 0, hw, H; W2, 0, W2, H)")}, // "Expand in from sides"
    {18, ParsePlan("stretch(0, H-Y, W, Y; 0, 0, W, H)")}, // "Expand from bottom"
    {19, ParsePlan("stretch(0, 0, W, Y; 0, 0, W, H)")}, // "Expand from top"
    {20, ParsePlan("copy(0, H-Y, W, H; 0, 0)")}, // "Slide in from bottom"
    {21, ParsePlan("copy(0, Y-H, W, H; 0, 0)")}, // "Slide in from top"
    {22, ParsePlan("copy(0, 0, W, Y; 0, 0)")}, // "Reveal from top"
    {23, ParsePlan("copy(0, H-Y, W, Y; 0, H-Y)")}, // "Reveal from bottom"
    {24, ParsePlan("stretch(0, 0, W, 2H-Y; 0, 0, W, Y)")}, // "Expand in from bottom"
    {25, ParsePlan("stretch(0, Y-H, W, 2H-Y; 0, H-Y, W, Y)")}, // "Expand in from top"
    {26, ParsePlan("stretch(0, Y-H, W, 3H-2Y; 0, my, W, Y)")}, // "Expand in to middle (horizontal)"
    {27, ParsePlan("stretch(0, my, W, Y; 0, 0, W, H)")}, // "Expand out from middle (horizontal)"
    {28, ParsePlan("copy(0, my, W, Y; 0, my)")}, // "Reveal from middle (horizontal)"
    {29, ParsePlan("copy(0, 0, W, hh; 0, 0); copy(0, H-hh, W, hh; 0, H-hh)")}, // "Slide in from top and bottom"
    {30, ParsePlan("stretch(0, 0, W, hh; 0, 0, W, H2); stretch(0, H-hh, W, hh; 0, H2, W, H2)")}, // "Expand in from top and bottom"
    {35, ParsePlan("stretch(W-X, H-Y, X, Y; 0, 0, W, H)")}, // "Expand from bottom right"
    {36, ParsePlan("stretch(W-X, 0, X, Y; 0, 0, W, H)")}, // "Expand from top right"
    {37, ParsePlan("stretch(0, 0, X, Y; 0, 0, W, H)")}, // "Expand from top left"
    {38, ParsePlan("stretch(0, H-Y, X, Y; 0, 0, W, H)")}, // "Expand from bottom left"
    {39, ParsePlan("copy(W-X, H-Y, W, H; 0, 0)")}, // "Slide in from bottom right"
    {40, ParsePlan("copy(W-X, Y-H, W, H; 0, 0)")}, // "Slide in from top right"
    {41, ParsePlan("copy(X-W, Y-H, W, H; 0, 0)")}, // "Slide in from top left"
    {42, ParsePlan("copy(X-W, H-Y, W, H; 0, 0)")}, // "Slide in from bottom left"
    {43, ParsePlan("copy(0, 0, X, Y; 0, 0)")}, // "Reveal from top left"
    {44, ParsePlan("copy(0, H-Y, X, Y; 0, H-Y)")}, // "Reveal from bottom left"
    {45, ParsePlan("copy(W-X, H-Y, X, Y; W-X, H-Y)")}, // "Reveal from bottom right"
    {46, ParsePlan("copy(W-X, 0, X, Y; W-X, 0)")}, // "Reveal from top right"
    {47, ParsePlan("stretch(0, 0, 2W-X, 2H-Y; 0, 0, X, Y)")}, // "Appear and Contract to top left"
    {48, ParsePlan("stretch(0, Y-H, 2W-X, 2H-Y; 0, H-Y, X, Y)")}, // "Appear and Contract to bottom left"
    {49, ParsePlan("stretch(X-W, Y-H, 2W-X, 2H-Y; W-X, H-Y, X, Y)")}, // "Appear and Contract to bottom right"
    {50, ParsePlan("stretch(X-W, 0, 2W-X, 2H-Y; W-X, 0, X, Y)")}, // "Appear and Contract to top right"
    {51, ParsePlan("stretch(X-W, Y-H, 3W-2X, 3H-2Y; mx, my, X, Y)")}, // "Appear and Contract to middle"
    {52, ParsePlan("stretch(mx, my, X, Y; 0, 0, W, H)")}, // "Expand out from centre"
    {53, ParsePlan("copy(mx, my, X, Y; mx, my)")}, // "Reveal out from centre"
    {55, ParsePlan("copy(0, 0, hw, hh; 0, 0); copy(0, H-hh, hw, hh; 0, H-hh); copy(W-hw, H-hh, hw, hh; W-hw, H-hh); copy(W-hw, 0, hw, hh; W-hw, 0)")}, // "Quarters Reveal in to middle"
    {56, ParsePlan("stretch(0, 0, hw, hh; 0, 0, W2, H2); stretch(0, H-hh, hw, hh; 0, H2, W2, H2); stretch(W-hw, H-hh, hw, hh; W2, H2, W2, H2); stretch(W-hw, 0, hw, hh; W2, 0, W2, H2)")}, // "Quarters Expand to middle"
    {57, ParsePlan("copy(hw-W2, 0, W2, H2; 0, 0); copy(W2, hh-H2, W2, H2; W2, 0); copy(W-hw, H2, W2, H2; W2, H2); copy(0, H-hh, W2, H2; 0, H2)")}, // "Quarters Slide in to middle"
    {129, ParsePlan("selfcopy(X, 0, W-X, H; 0, 0); copy(0, 0, X, H; W-X, 0)")}, // "Push right"
    {130, ParsePlan("selfcopy(0, 0, W-X, H; X, 0); copy(W-X, 0, X, H; 0, 0)")}, // "Push left"
    {131, ParsePlan("selfstretch(X, 0, W-X, H; 0, 0, W, H); copy(0, 0, X, H; W-X, 0)")}, // "Push and squeeze right"
    {132, ParsePlan("selfstretch(0, 0, W-X, H; 0, 0, W, H); copy(W-X, 0, X, H; 0, 0)")}, // "Push and squeeze left"
    {133, ParsePlan("selfcopy(0, Y, W, H-Y; 0, 0); copy(0, 0, W, Y; 0, H-Y)")}, // "Push down"
    {134, ParsePlan("selfcopy(0, 0, W, H-Y; 0, Y); copy(0, H-Y, W, Y; 0, 0)")}, // "Push up"
    {135, ParsePlan("selfstretch(0, Y, W, H-Y; 0, 0, W, H); copy(0, 0, W, Y; 0, H-Y)")}, // "Push and sqeeze down"
    {136, ParsePlan("selfstretch(0, 0, W, H-Y; 0, 0, W, H); copy(0, H-Y, W, Y; 0, 0)")}, // "Push and sqeeze up"
    {173, ParsePlan("selfcopy(X, 0, W-X, H; 0, 0); copy(0, 0, X, H; 0, 0)")}, // "Slide out from right"
    {174, ParsePlan("selfcopy(0, 0, W-X, H; X, 0); copy(W-X, 0, X, H; W-X, 0)")}, // "Slide out from left"
    {175, ParsePlan("selfcopy(0, Y, W, H-Y; 0, 0); copy(0, 0, W, Y; 0, 0)")}, // "Slide out from bottom"
    {176, ParsePlan("selfcopy(0, 0, W, H-Y; 0, Y); copy(0, H-Y, W, Y; 0, H-Y)")}, // "Slide out from top"
};

// A transfer that reads the frame reads the old image there only while no
// transfer has written to it; the one-pass form relies on that by reading the
// old image itself, so such transfers must come first.
constexpr bool SelfTransfersComeFirst()
{
  for (const TPlanEntry& entry : kPlans)
    for (uint8_t i = 1; i < entry.Plan.Count; ++i)
      if (entry.Plan.Transfers[i].Kind == TTransferKind::tkSelfCopy ||
          entry.Plan.Transfers[i].Kind == TTransferKind::tkSelfStretch)
        return false;
  return true;
}
static_assert(SelfTransfersComeFirst());

constexpr int kNoPlan = -1;

constexpr std::array<int8_t, kMaxStyle + 1> kPlanOfStyle = [] {
  std::array<int8_t, kMaxStyle + 1> index{};
  index.fill(kNoPlan);
  for (size_t i = 0; i < std::size(kPlans); ++i)
    index[kPlans[i].Style] = int8_t(i);
  return index;
}();

constexpr TShowStyle kRevealInToCentre = 54;

// The rolls and build-ups come in pairs that differ only in the axis they
// run along; they are worked out along the axis (length L, progress P) and
// turned into rectangles here.
struct TAxis {
  bool Vertical;
  int32_t Across; // the frame's size across the axis

  // The part of the frame from a to b along the axis.
  [[nodiscard]] gfx::TRect Span(int32_t a, int32_t b) const
  {
    return Vertical ? gfx::TRect{0, a, Across, b} : gfx::TRect{a, 0, b, Across};
  }

  void Copy(gfx::TDCHandle dst, gfx::TDCHandle src, int32_t d, int32_t len, int32_t s) const
  {
    if (Vertical)
      gfx::BitBlt(dst, 0, d, Across, len, src, 0, s, SRCCOPY);
    else
      gfx::BitBlt(dst, d, 0, len, Across, src, s, 0, SRCCOPY);
  }
  void Stretch(gfx::TDCHandle dst, gfx::TDCHandle src, int32_t d, int32_t dlen, int32_t s, int32_t slen) const
  {
    if (Vertical)
      gfx::StretchBlt(dst, 0, d, Across, dlen, src, 0, s, Across, slen, SRCCOPY);
    else
      gfx::StretchBlt(dst, d, 0, dlen, Across, src, s, 0, slen, Across, SRCCOPY);
  }
};

struct TRollStyle {
  TShowStyle Style;
  bool Vertical;
  bool FromEnd; // uncovers from the right (bottom) edge
};

constexpr TRollStyle kRolls[] = {{14, false, false}, {15, false, true}, {31, true, false}, {32, true, true}};
// The build-ups share the same parameters: FromEnd reveals the far part.
constexpr TRollStyle kBuildUps[] = {{16, false, false}, {17, false, true}, {33, true, false}, {34, true, true}};

constexpr int32_t kRollShade = 64;

template <size_t N>
const TRollStyle* FindStyle(const TRollStyle (&styles)[N], TShowStyle style)
{
  for (const TRollStyle& s : styles)
    if (s.Style == style)
      return &s;
  return nullptr;
}

// One transfer onto the frame: copies and stretches read the new picture,
// the self transfers read framePixels (the frame itself, whose context reads
// the whole overlapping source before writing, or the old image).
void RunTransfer(const TTransferRects& r, gfx::TDCHandle screen, gfx::TDCHandle picture,
                 gfx::TDCHandle framePixels)
{
  const bool self = r.Kind == TTransferKind::tkSelfCopy || r.Kind == TTransferKind::tkSelfStretch;
  gfx::TDCHandle source = self ? framePixels : picture;
  if (r.Kind == TTransferKind::tkCopy || r.Kind == TTransferKind::tkSelfCopy)
    gfx::BitBlt(screen, r.DX, r.DY, r.DW, r.DH, source, r.SX, r.SY, SRCCOPY);
  else
    gfx::StretchBlt(screen, r.DX, r.DY, r.DW, r.DH, source, r.SX, r.SY, r.SW, r.SH, SRCCOPY);
}

void RunPlan(const TTransferPlan& plan, gfx::TDCHandle screen, gfx::TDCHandle picture, int32_t W, int32_t H,
             int32_t X, int32_t Y)
{
  const TPlanValues values = PlanValues(W, H, X, Y);
  for (uint8_t i = 0; i < plan.Count; ++i)
    RunTransfer(Evaluate(plan.Transfers[i], values), screen, picture, screen);
}

// The part of the W x H frame a transfer surely writes: a copy writes its
// destination where the source lies on the W x H picture; a stretch whose
// source lies wholly on it writes its whole destination. Mirrored and empty
// transfers count as writing nothing, which only costs a copy of the old
// image that they then draw over.
gfx::TRect WrittenArea(const TTransferRects& r, int32_t W, int32_t H)
{
  const gfx::TRect frame{0, 0, W, H};
  if (r.DW <= 0 || r.DH <= 0 || r.SW <= 0 || r.SH <= 0)
    return {};
  const gfx::TRect target = gfx::TRect::Bounds(r.DX, r.DY, r.DW, r.DH).Intersected(frame);
  const gfx::TRect source = gfx::TRect::Bounds(r.SX, r.SY, r.SW, r.SH);
  if (r.Kind == TTransferKind::tkCopy || r.Kind == TTransferKind::tkSelfCopy)
    return target.Intersected(frame.Translated(r.DX - r.SX, r.DY - r.SY));
  return source.Intersected(frame) == source ? target : gfx::TRect{};
}

// Copies the old image onto the W x H frame except where the rectangles lie.
void CopyOldImageOutside(framework::TBitmap& Screen, framework::TBitmap& OldImage, int32_t W, int32_t H,
                         std::span<const gfx::TRect> covered)
{
  gfx::TDCHandle screen = Screen.Canvas().Handle();
  const gfx::TRegion rest =
    gfx::TRegion::Combine(gfx::TRegion(gfx::TRect{0, 0, W, H}), gfx::TRegion::FromRects(covered), RGN_DIFF);
  TClipReset reset(screen);
  gfx::SelectClipRgn(screen, &rest);
  gfx::BitBlt(screen, 0, 0, W, H, OldImage.Canvas().Handle(), 0, 0, SRCCOPY);
}

// The plan drawn over the old image in one pass: the old image is copied
// only where no transfer surely writes, and transfers that read the frame
// read the old image instead (they come first, so that is what they would
// find there).
void ComposePlan(const TTransferPlan& plan, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                 framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y)
{
  const TPlanValues values = PlanValues(W, H, X, Y);
  std::array<TTransferRects, 4> transfers{};
  std::array<gfx::TRect, 4> written{};
  for (uint8_t i = 0; i < plan.Count; ++i) {
    transfers[i] = Evaluate(plan.Transfers[i], values);
    written[i] = WrittenArea(transfers[i], W, H);
  }
  CopyOldImageOutside(Screen, OldImage, W, H, {written.data(), plan.Count});
  gfx::TDCHandle screen = Screen.Canvas().Handle();
  gfx::TDCHandle picture = Picture.Canvas().Handle();
  gfx::TDCHandle old = OldImage.Canvas().Handle();
  for (uint8_t i = 0; i < plan.Count; ++i)
    RunTransfer(transfers[i], screen, picture, old);
}

// The revealed part is led by a roll: the strip of the new picture just
// beyond it, mirrored and shaded like a cylinder.
void Roll(const TRollStyle& style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
          int32_t X, int32_t Y)
{
  const TAxis axis{style.Vertical, style.Vertical ? W : H};
  const int32_t L = style.Vertical ? H : W;
  const int32_t P = style.Vertical ? Y : X;
  int32_t s = L / 10;
  if (P < s)
    s = P;
  else if (L - P < 2 * s)
    s = (L - P) / 2;

  gfx::TDCHandle screen = Screen.Canvas().Handle();
  gfx::TDCHandle picture = Picture.Canvas().Handle();
  int32_t band;
  if (!style.FromEnd) {
    axis.Stretch(screen, picture, P + s - 1, -s, P + s, s);
    axis.Copy(screen, picture, 0, P, 0);
    band = P;
  } else {
    // The far rolls read their strip one pixel further out than an exact
    // mirror of the near ones; frames have always been drawn that way.
    axis.Stretch(screen, picture, L - P - 1, -s, L - P - 2 * s - 1, s);
    axis.Copy(screen, picture, L - P, P, L - P);
    band = L - P - s;
  }
  if (style.Vertical)
    ShadeRows(Screen, band, s, kRollShade);
  else
    ShadeColumns(Screen, band, s, kRollShade);
}

// The revealed part is followed by a thin strip of the new picture stretched
// over all of the rest.
void BuildUp(const TRollStyle& style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
             int32_t X, int32_t Y)
{
  const TAxis axis{style.Vertical, style.Vertical ? W : H};
  const int32_t L = style.Vertical ? H : W;
  const int32_t P = style.Vertical ? Y : X;
  gfx::TDCHandle screen = Screen.Canvas().Handle();
  gfx::TDCHandle picture = Picture.Canvas().Handle();
  if (!style.FromEnd) {
    axis.Copy(screen, picture, 0, P, 0);
    const int32_t s = std::min(L - P, L / 10);
    axis.Stretch(screen, picture, P, L - P, P, s);
  } else {
    axis.Copy(screen, picture, L - P, P, L - P);
    const int32_t s0 = std::max(L - P - L / 10, 0);
    axis.Stretch(screen, picture, 0, L - P, s0, L - P - s0);
  }
}

void RevealInToCentre(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X,
                      int32_t Y)
{
  gfx::TDCHandle screen = Screen.Canvas().Handle();
  TClipReset reset(screen);
  const int32_t hw = X / 2;
  const int32_t hh = Y / 2;
  gfx::ExcludeClipRect(screen, hw, hh, W - hw, H - hh);
  gfx::BitBlt(screen, 0, 0, W, H, Picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

// Offsets for the A > half case of the column rule; the row rule turns back
// one step earlier.
std::vector<int32_t> ShadeOffsets(int32_t Count, int32_t Amount, bool rows)
{
  std::vector<int32_t> offsets;
  if (Count < 2 || Amount == 0)
    return offsets;
  offsets.resize(size_t(Count));
  const int32_t half = Count / 2;
  if (Amount > half) {
    const int32_t d = Amount / half;
    if (rows) {
      offsets[0] = -Amount;
      for (int32_t i = 1; i < Count; ++i)
        offsets[size_t(i)] = offsets[size_t(i) - 1] + (i < half ? d : -d);
    } else {
      int32_t level = -Amount;
      int32_t step = d;
      for (int32_t i = 1; i <= Count; ++i) {
        offsets[size_t(i) - 1] = level;
        level += step;
        if (i == half)
          step = -step;
      }
    }
  } else {
    const int32_t d = half / Amount;
    int32_t level = -Amount;
    int32_t next = d;
    for (int32_t i = 1; i <= Count; ++i) {
      offsets[size_t(i) - 1] = level;
      if (i == next) {
        next += d;
        level += i < half ? 1 : -1;
      }
    }
  }
  return offsets;
}

// The parts of the frame that the rolls, the build-ups and the reveal in to
// the centre copy or stretch from the new picture without reading the
// frame first. Their shading reads only what they drew just before.
std::array<gfx::TRect, 4> CoveredByDrawing(TShowStyle Style, int32_t W, int32_t H, int32_t X, int32_t Y)
{
  if (Style == kRevealInToCentre) {
    const int32_t hw = X / 2;
    const int32_t hh = Y / 2;
    return {gfx::TRect{0, 0, W, hh}, gfx::TRect{0, H - hh, W, H}, gfx::TRect{0, hh, hw, H - hh},
            gfx::TRect{W - hw, hh, W, H - hh}};
  }
  const TRollStyle* style = FindStyle(kRolls, Style);
  const bool buildUp = style == nullptr;
  if (buildUp)
    style = FindStyle(kBuildUps, Style);
  if (style == nullptr)
    return {};
  const TAxis axis{style->Vertical, style->Vertical ? W : H};
  const int32_t L = style->Vertical ? H : W;
  const int32_t P = style->Vertical ? Y : X;
  // The part copied; a build-up stretches a strip of at least one pixel over
  // the rest whenever the frame is ten or more pixels long.
  const gfx::TRect copied = style->FromEnd ? axis.Span(L - P, L) : axis.Span(0, P);
  const gfx::TRect stretched =
    !buildUp || L < 10 ? gfx::TRect{} : style->FromEnd ? axis.Span(0, L - P) : axis.Span(P, L);
  return {copied, stretched, gfx::TRect{}, gfx::TRect{}};
}

} // namespace

bool IsWipeStyle(TShowStyle Style) noexcept
{
  if (Style > kMaxStyle)
    return false;
  return kPlanOfStyle[Style] != kNoPlan || Style == kRevealInToCentre || FindStyle(kRolls, Style) ||
         FindStyle(kBuildUps, Style);
}

void DrawWipeEffect(TShowStyle Style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W,
                    int32_t H, int32_t X, int32_t Y, int32_t /*Progress*/)
{
  if (Style <= kMaxStyle && kPlanOfStyle[Style] != kNoPlan) {
    RunPlan(kPlans[kPlanOfStyle[Style]].Plan, Screen.Canvas().Handle(), Picture.Canvas().Handle(), W, H, X, Y);
  } else if (Style == kRevealInToCentre) {
    RevealInToCentre(Screen, Picture, W, H, X, Y);
  } else if (const TRollStyle* roll = FindStyle(kRolls, Style)) {
    Roll(*roll, Screen, Picture, W, H, X, Y);
  } else if (const TRollStyle* buildUp = FindStyle(kBuildUps, Style)) {
    BuildUp(*buildUp, Screen, Picture, W, H, X, Y);
  } else {
    throw std::invalid_argument("style " + std::to_string(Style) + " is not a wipe effect");
  }
}

void ComposeWipeEffect(TShowStyle Style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                       framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  if (!IsWipeStyle(Style) || !CoversFrame(Screen, OldImage, Picture, W, H)) {
    CopyOldImage(Screen, OldImage, W, H);
  } else if (kPlanOfStyle[Style] != kNoPlan) {
    ComposePlan(kPlans[kPlanOfStyle[Style]].Plan, Screen, OldImage, Picture, W, H, X, Y);
    return;
  } else {
    CopyOldImageOutside(Screen, OldImage, W, H, CoveredByDrawing(Style, W, H, X, Y));
  }
  DrawWipeEffect(Style, Screen, Picture, W, H, X, Y, Progress);
}

std::vector<int32_t> ShadeColumnOffsets(int32_t Count, int32_t Amount)
{
  return ShadeOffsets(Count, Amount, false);
}

std::vector<int32_t> ShadeRowOffsets(int32_t Count, int32_t Amount)
{
  return ShadeOffsets(Count, Amount, true);
}

void ShadeColumns(framework::TBitmap& Screen, int32_t First, int32_t Count, int32_t Amount)
{
  const std::vector<int32_t> offsets = ShadeColumnOffsets(Count, Amount);
  if (offsets.empty())
    return;
  const int32_t width = Screen.Width();
  const int32_t begin = std::max(First, 0);
  const int32_t end = int32_t(std::min<int64_t>(int64_t(First) + Count, width));
  if (begin >= end)
    return;
  // Each column's offset as the pair of byte masks the row kernel adds and
  // subtracts with saturation, which is the clamped addition per channel.
  const size_t n = size_t(end - begin);
  std::vector<gfx::TPixel> raise(n), lower(n);
  for (size_t k = 0; k < n; ++k) {
    const int32_t offset = offsets[size_t(begin - First) + k];
    raise[k] = gfx::ShadeRaise(offset);
    lower[k] = gfx::ShadeLower(offset);
  }
  for (int32_t y = Screen.Height() - 1; y >= 0; --y)
    gfx::ShadeRow(Screen.ScanLine(y) + begin, raise.data(), lower.data(), n);
}

void ShadeRows(framework::TBitmap& Screen, int32_t First, int32_t Count, int32_t Amount)
{
  const std::vector<int32_t> offsets = ShadeRowOffsets(Count, Amount);
  if (offsets.empty())
    return;
  const size_t width = size_t(std::max(Screen.Width(), 0));
  const int64_t last = int64_t(First) + Count - 1;
  for (int32_t k = 0; k < Count; ++k) {
    const int64_t y = last - k;
    if (y < 0 || y >= Screen.Height())
      continue;
    const int32_t offset = offsets[size_t(k)];
    gfx::ShadeRowUniform(Screen.ScanLine(int32_t(y)), gfx::ShadeRaise(offset), gfx::ShadeLower(offset), width);
  }
}

} // namespace effects
