#include "effects/EffectTable.h"

#include "effects/BarEffects.h"
#include "effects/PixelEffects.h"
#include "effects/ShapeEffects.h"
#include "effects/WipeEffects.h"
#include "gfx/Numeric.h"

#include <algorithm>
#include <stdexcept>

namespace effects {

// One line per style, in style order; the comment gives the style number and
// the family.
constexpr std::array<TEffect, kEffectCount> EffectTable = {{
    {"Expand from right", DrawStyle<DrawWipeEffect, 1>, ComposeStyle<ComposeWipeEffect, 1>}, // 1 stretch
    {"Expand from left", DrawStyle<DrawWipeEffect, 2>, ComposeStyle<ComposeWipeEffect, 2>}, // 2 stretch
    {"Slide in from right", DrawStyle<DrawWipeEffect, 3>, ComposeStyle<ComposeWipeEffect, 3>}, // 3 slide in
    {"Slide in from left", DrawStyle<DrawWipeEffect, 4>, ComposeStyle<ComposeWipeEffect, 4>}, // 4 slide in
    {"Reveal from left", DrawStyle<DrawWipeEffect, 5>, ComposeStyle<ComposeWipeEffect, 5>}, // 5 reveal
    {"Reveal from right", DrawStyle<DrawWipeEffect, 6>, ComposeStyle<ComposeWipeEffect, 6>}, // 6 reveal
    {"Expand in from right", DrawStyle<DrawWipeEffect, 7>, ComposeStyle<ComposeWipeEffect, 7>}, // 7 zoom
    {"Expand in from left", DrawStyle<DrawWipeEffect, 8>, ComposeStyle<ComposeWipeEffect, 8>}, // 8 zoom
    {"Expand in to middle", DrawStyle<DrawWipeEffect, 9>, ComposeStyle<ComposeWipeEffect, 9>}, // 9 zoom
    {"Expand out from middle", DrawStyle<DrawWipeEffect, 10>, ComposeStyle<ComposeWipeEffect, 10>}, // 10 stretch
    {"Reveal out from middle", DrawStyle<DrawWipeEffect, 11>, ComposeStyle<ComposeWipeEffect, 11>}, // 11 reveal
    {"Reveal in from sides", DrawStyle<DrawWipeEffect, 12>, ComposeStyle<ComposeWipeEffect, 12>}, // 12 reveal
    {"Expand in from sides", DrawStyle<DrawWipeEffect, 13>, ComposeStyle<ComposeWipeEffect, 13>}, // 13 stretch
    {"Unroll from left", DrawStyle<DrawWipeEffect, 14>, ComposeStyle<ComposeWipeEffect, 14>}, // 14 unroll
    {"Unroll from right", DrawStyle<DrawWipeEffect, 15>, ComposeStyle<ComposeWipeEffect, 15>}, // 15 unroll
    {"Build up from right", DrawStyle<DrawWipeEffect, 16>, ComposeStyle<ComposeWipeEffect, 16>}, // 16 build-up
    {"Build up from left", DrawStyle<DrawWipeEffect, 17>, ComposeStyle<ComposeWipeEffect, 17>}, // 17 build-up
    {"Expand from bottom", DrawStyle<DrawWipeEffect, 18>, ComposeStyle<ComposeWipeEffect, 18>}, // 18 stretch
    {"Expand from top", DrawStyle<DrawWipeEffect, 19>, ComposeStyle<ComposeWipeEffect, 19>}, // 19 stretch
    {"Slide in from bottom", DrawStyle<DrawWipeEffect, 20>, ComposeStyle<ComposeWipeEffect, 20>}, // 20 slide in
    {"Slide in from top", DrawStyle<DrawWipeEffect, 21>, ComposeStyle<ComposeWipeEffect, 21>}, // 21 slide in
    {"Reveal from top", DrawStyle<DrawWipeEffect, 22>, ComposeStyle<ComposeWipeEffect, 22>}, // 22 reveal
    {"Reveal from bottom", DrawStyle<DrawWipeEffect, 23>, ComposeStyle<ComposeWipeEffect, 23>}, // 23 reveal
    {"Expand in from bottom", DrawStyle<DrawWipeEffect, 24>, ComposeStyle<ComposeWipeEffect, 24>}, // 24 zoom
    {"Expand in from top", DrawStyle<DrawWipeEffect, 25>, ComposeStyle<ComposeWipeEffect, 25>}, // 25 zoom
    {"Expand in to middle (horizontal)", DrawStyle<DrawWipeEffect, 26>, ComposeStyle<ComposeWipeEffect, 26>}, // 26 zoom
    {"Expand out from middle (horizontal)", DrawStyle<DrawWipeEffect, 27>, ComposeStyle<ComposeWipeEffect, 27>}, // 27 stretch
    {"Reveal from middle (horizontal)", DrawStyle<DrawWipeEffect, 28>, ComposeStyle<ComposeWipeEffect, 28>}, // 28 reveal
    {"Slide in from top and bottom", DrawStyle<DrawWipeEffect, 29>, ComposeStyle<ComposeWipeEffect, 29>}, // 29 reveal
    {"Expand in from top and bottom", DrawStyle<DrawWipeEffect, 30>, ComposeStyle<ComposeWipeEffect, 30>}, // 30 stretch
    {"Unroll from top", DrawStyle<DrawWipeEffect, 31>, ComposeStyle<ComposeWipeEffect, 31>}, // 31 unroll
    {"Unroll from bottom", DrawStyle<DrawWipeEffect, 32>, ComposeStyle<ComposeWipeEffect, 32>}, // 32 unroll
    {"Expand from bottom", DrawStyle<DrawWipeEffect, 33>, ComposeStyle<ComposeWipeEffect, 33>}, // 33 build-up
    {"Expand in from top", DrawStyle<DrawWipeEffect, 34>, ComposeStyle<ComposeWipeEffect, 34>}, // 34 build-up
    {"Expand from bottom right", DrawStyle<DrawWipeEffect, 35>, ComposeStyle<ComposeWipeEffect, 35>}, // 35 stretch
    {"Expand from top right", DrawStyle<DrawWipeEffect, 36>, ComposeStyle<ComposeWipeEffect, 36>}, // 36 stretch
    {"Expand from top left", DrawStyle<DrawWipeEffect, 37>, ComposeStyle<ComposeWipeEffect, 37>}, // 37 stretch
    {"Expand from bottom left", DrawStyle<DrawWipeEffect, 38>, ComposeStyle<ComposeWipeEffect, 38>}, // 38 stretch
    {"Slide in from bottom right", DrawStyle<DrawWipeEffect, 39>, ComposeStyle<ComposeWipeEffect, 39>}, // 39 slide in
    {"Slide in from top right", DrawStyle<DrawWipeEffect, 40>, ComposeStyle<ComposeWipeEffect, 40>}, // 40 slide in
    {"Slide in from top left", DrawStyle<DrawWipeEffect, 41>, ComposeStyle<ComposeWipeEffect, 41>}, // 41 slide in
    {"Slide in from bottom left", DrawStyle<DrawWipeEffect, 42>, ComposeStyle<ComposeWipeEffect, 42>}, // 42 slide in
    {"Reveal from top left", DrawStyle<DrawWipeEffect, 43>, ComposeStyle<ComposeWipeEffect, 43>}, // 43 reveal
    {"Reveal from bottom left", DrawStyle<DrawWipeEffect, 44>, ComposeStyle<ComposeWipeEffect, 44>}, // 44 reveal
    {"Reveal from bottom right", DrawStyle<DrawWipeEffect, 45>, ComposeStyle<ComposeWipeEffect, 45>}, // 45 reveal
    {"Reveal from top right", DrawStyle<DrawWipeEffect, 46>, ComposeStyle<ComposeWipeEffect, 46>}, // 46 reveal
    {"Appear and Contract to top left", DrawStyle<DrawWipeEffect, 47>, ComposeStyle<ComposeWipeEffect, 47>}, // 47 zoom
    {"Appear and Contract to bottom left", DrawStyle<DrawWipeEffect, 48>, ComposeStyle<ComposeWipeEffect, 48>}, // 48 zoom
    {"Appear and Contract to bottom right", DrawStyle<DrawWipeEffect, 49>, ComposeStyle<ComposeWipeEffect, 49>}, // 49 zoom
    {"Appear and Contract to top right", DrawStyle<DrawWipeEffect, 50>, ComposeStyle<ComposeWipeEffect, 50>}, // 50 zoom
    {"Appear and Contract to middle", DrawStyle<DrawWipeEffect, 51>, ComposeStyle<ComposeWipeEffect, 51>}, // 51 zoom
    {"Expand out from centre", DrawStyle<DrawWipeEffect, 52>, ComposeStyle<ComposeWipeEffect, 52>}, // 52 stretch
    {"Reveal out from centre", DrawStyle<DrawWipeEffect, 53>, ComposeStyle<ComposeWipeEffect, 53>}, // 53 reveal
    {"Reveal in to centre", DrawStyle<DrawWipeEffect, 54>, ComposeStyle<ComposeWipeEffect, 54>}, // 54 reveal
    {"Quarters Reveal in to middle", DrawStyle<DrawWipeEffect, 55>, ComposeStyle<ComposeWipeEffect, 55>}, // 55 reveal
    {"Quarters Expand to middle", DrawStyle<DrawWipeEffect, 56>, ComposeStyle<ComposeWipeEffect, 56>}, // 56 stretch
    {"Quarters Slide in to middle", DrawStyle<DrawWipeEffect, 57>, ComposeStyle<ComposeWipeEffect, 57>}, // 57 slide in
    {"Curved Reveal from left", DrawStyle<DrawShapeFamily, 58>, ComposeStyle<ComposeShapeFamily, 58>}, // 58 curved
    {"Curved Reveal from right", DrawStyle<DrawShapeFamily, 59>, ComposeStyle<ComposeShapeFamily, 59>}, // 59 curved
    {"Bars in from right", DrawStyle<DrawBarFamily, 60>, ComposeStyle<ComposeBarFamily, 60>}, // 60 bars
    {"Bars in from left", DrawStyle<DrawBarFamily, 61>, ComposeStyle<ComposeBarFamily, 61>}, // 61 bars
    {"Bars left then right", DrawStyle<DrawBarFamily, 62>, ComposeStyle<ComposeBarFamily, 62>}, // 62 bars
    {"Bars right then left", DrawStyle<DrawBarFamily, 63>, ComposeStyle<ComposeBarFamily, 63>}, // 63 bars
    {"Bars from both sides", DrawStyle<DrawBarFamily, 64>, ComposeStyle<ComposeBarFamily, 64>}, // 64 bars
    {"Uneven shred from right", DrawStyle<DrawBarFamily, 65>, ComposeStyle<ComposeBarFamily, 65>}, // 65 uneven shred
    {"Uneven shred from left", DrawStyle<DrawBarFamily, 66>, ComposeStyle<ComposeBarFamily, 66>}, // 66 uneven shred
    {"Uneven shred out from middle (horizontal)", DrawStyle<DrawBarFamily, 67>, ComposeStyle<ComposeBarFamily, 67>}, // 67 uneven shred
    {"Uneven shred in to middle (horizontal)", DrawStyle<DrawBarFamily, 68>, ComposeStyle<ComposeBarFamily, 68>}, // 68 uneven shred
    {"Curved Reveal from top", DrawStyle<DrawShapeFamily, 69>, ComposeStyle<ComposeShapeFamily, 69>}, // 69 curved
    {"Curved Reveal from bottom", DrawStyle<DrawShapeFamily, 70>, ComposeStyle<ComposeShapeFamily, 70>}, // 70 curved
    {"Bars from bottom", DrawStyle<DrawBarFamily, 71>, ComposeStyle<ComposeBarFamily, 71>}, // 71 bars
    {"Bars from top", DrawStyle<DrawBarFamily, 72>, ComposeStyle<ComposeBarFamily, 72>}, // 72 bars
    {"Bars top then bottom", DrawStyle<DrawBarFamily, 73>, ComposeStyle<ComposeBarFamily, 73>}, // 73 bars
    {"Bars bottom then top", DrawStyle<DrawBarFamily, 74>, ComposeStyle<ComposeBarFamily, 74>}, // 74 bars
    {"Bars from top and bottom", DrawStyle<DrawBarFamily, 75>, ComposeStyle<ComposeBarFamily, 75>}, // 75 bars
    {"Unven shred from bottom", DrawStyle<DrawBarFamily, 76>, ComposeStyle<ComposeBarFamily, 76>}, // 76 uneven shred
    {"Uneven shred from top", DrawStyle<DrawBarFamily, 77>, ComposeStyle<ComposeBarFamily, 77>}, // 77 uneven shred
    {"Uneven shred from horizon", DrawStyle<DrawBarFamily, 78>, ComposeStyle<ComposeBarFamily, 78>}, // 78 uneven shred
    {"Uneven shred in to horizon", DrawStyle<DrawBarFamily, 79>, ComposeStyle<ComposeBarFamily, 79>}, // 79 uneven shred
    {"Curved reveal from top left", DrawStyle<DrawShapeFamily, 80>, ComposeStyle<ComposeShapeFamily, 80>}, // 80 curved
    {"Curved reveal from top right", DrawStyle<DrawShapeFamily, 81>, ComposeStyle<ComposeShapeFamily, 81>}, // 81 curved
    {"Curved reveal from bottom left", DrawStyle<DrawShapeFamily, 82>, ComposeStyle<ComposeShapeFamily, 82>}, // 82 curved
    {"Curved reveal from bottom right", DrawStyle<DrawShapeFamily, 83>, ComposeStyle<ComposeShapeFamily, 83>}, // 83 curved
    {"Elliptic reveal out from centre", DrawStyle<DrawShapeFamily, 84>, ComposeStyle<ComposeShapeFamily, 84>}, // 84 elliptic
    {"Elliptic reveal in to centre", DrawStyle<DrawShapeFamily, 85>, ComposeStyle<ComposeShapeFamily, 85>}, // 85 elliptic
    {"Criss Cross reveal from bottom right", DrawStyle<DrawBarFamily, 86>, ComposeStyle<ComposeBarFamily, 86>}, // 86 criss-cross
    {"Criss Cross reveal from top right", DrawStyle<DrawBarFamily, 87>, ComposeStyle<ComposeBarFamily, 87>}, // 87 criss-cross
    {"Criss Cross reveal from bottom left", DrawStyle<DrawBarFamily, 88>, ComposeStyle<ComposeBarFamily, 88>}, // 88 criss-cross
    {"Criss Cross reveal from top left", DrawStyle<DrawBarFamily, 89>, ComposeStyle<ComposeBarFamily, 89>}, // 89 criss-cross
    {"Criss Cross reveal bounce from top left", DrawStyle<DrawBarFamily, 90>, ComposeStyle<ComposeBarFamily, 90>}, // 90 criss-cross
    {"Criss Cross reveal bounce from bottom left", DrawStyle<DrawBarFamily, 91>, ComposeStyle<ComposeBarFamily, 91>}, // 91 criss-cross
    {"Criss Cross reveal bounce from top right", DrawStyle<DrawBarFamily, 92>, ComposeStyle<ComposeBarFamily, 92>}, // 92 criss-cross
    {"Criss Cross reveal bounce from bottom right", DrawStyle<DrawBarFamily, 93>, ComposeStyle<ComposeBarFamily, 93>}, // 93 criss-cross
    {"Criss Cross reveal from right top and bottom", DrawStyle<DrawBarFamily, 94>, ComposeStyle<ComposeBarFamily, 94>}, // 94 criss-cross
    {"Criss Cross reveal from left top and bottom", DrawStyle<DrawBarFamily, 95>, ComposeStyle<ComposeBarFamily, 95>}, // 95 criss-cross
    {"Criss Cross reveal from left right and bottom", DrawStyle<DrawBarFamily, 96>, ComposeStyle<ComposeBarFamily, 96>}, // 96 criss-cross
    {"Criss Cross reveal from left right and top", DrawStyle<DrawBarFamily, 97>, ComposeStyle<ComposeBarFamily, 97>}, // 97 criss-cross
    {"Criss Cross reveal from top left right and bottom", DrawStyle<DrawBarFamily, 98>, ComposeStyle<ComposeBarFamily, 98>}, // 98 criss-cross
    {"Criss Cross reveal from bottom left top right", DrawStyle<DrawBarFamily, 99>, ComposeStyle<ComposeBarFamily, 99>}, // 99 criss-cross
    {"Uneven shred from bottom and right", DrawStyle<DrawBarFamily, 100>, ComposeStyle<ComposeBarFamily, 100>}, // 100 uneven shred
    {"Uneven shred from top and right", DrawStyle<DrawBarFamily, 101>, ComposeStyle<ComposeBarFamily, 101>}, // 101 uneven shred
    {"Uneven shred from bottom and left", DrawStyle<DrawBarFamily, 102>, ComposeStyle<ComposeBarFamily, 102>}, // 102 uneven shred
    {"Uneven shred from top and left", DrawStyle<DrawBarFamily, 103>, ComposeStyle<ComposeBarFamily, 103>}, // 103 uneven shred
    {"Uneven shred from horizon and right", DrawStyle<DrawBarFamily, 104>, ComposeStyle<ComposeBarFamily, 104>}, // 104 uneven shred
    {"Uneven shred from horizon and left", DrawStyle<DrawBarFamily, 105>, ComposeStyle<ComposeBarFamily, 105>}, // 105 uneven shred
    {"Uneven shred from bottom and vert middle", DrawStyle<DrawBarFamily, 106>, ComposeStyle<ComposeBarFamily, 106>}, // 106 uneven shred
    {"Uneven shred from top and vert middle", DrawStyle<DrawBarFamily, 107>, ComposeStyle<ComposeBarFamily, 107>}, // 107 uneven shred
    {"Uneven shred from centre", DrawStyle<DrawBarFamily, 108>, ComposeStyle<ComposeBarFamily, 108>}, // 108 uneven shred
    {"Uneven shred to centre", DrawStyle<DrawBarFamily, 109>, ComposeStyle<ComposeBarFamily, 109>}, // 109 uneven shred
    {"Reveal diagonal from top left", DrawStyle<DrawShapeFamily, 110>, ComposeStyle<ComposeShapeFamily, 110>}, // 110 diagonal
    {"Reveal diagonal from top right", DrawStyle<DrawShapeFamily, 111>, ComposeStyle<ComposeShapeFamily, 111>}, // 111 diagonal
    {"Reveal diagonal from bottom left", DrawStyle<DrawShapeFamily, 112>, ComposeStyle<ComposeShapeFamily, 112>}, // 112 diagonal
    {"Reveal diagonal from bottom right", DrawStyle<DrawShapeFamily, 113>, ComposeStyle<ComposeShapeFamily, 113>}, // 113 diagonal
    {"Diagonal sweep from top left bottom right anticlockwise", DrawStyle<DrawShapeFamily, 114>, ComposeStyle<ComposeShapeFamily, 114>}, // 114 diagonal sweep
    {"Diagonal sweep from top left bottom right clockwise", DrawStyle<DrawShapeFamily, 115>, ComposeStyle<ComposeShapeFamily, 115>}, // 115 diagonal sweep
    {"Starburst clockwise from center", DrawStyle<DrawShapeFamily, 116>, ComposeStyle<ComposeShapeFamily, 116>}, // 116 starburst
    {"Starburst anticlockwise from center", DrawStyle<DrawShapeFamily, 117>, ComposeStyle<ComposeShapeFamily, 117>}, // 117 starburst
    {"Triangular shred", DrawStyle<DrawShapeFamily, 118>, ComposeStyle<ComposeShapeFamily, 118>}, // 118 triangular shred
    {"Fade", FadeEffect, PixelCompose<DrawFade>}, // 119 fade
    {"Pivot from top left", PivotFromTopLeftEffect, PixelCompose<DrawPivotFromTopLeft>}, // 120 pivot
    {"Pivot from bottom left", PivotFromBottomLeftEffect, PixelCompose<DrawPivotFromBottomLeft>}, // 121 pivot
    {"Pivot from top right", PivotFromTopRightEffect, PixelCompose<DrawPivotFromTopRight>}, // 122 pivot
    {"Pivot from bottom right", PivotFromBottomRightEffect, PixelCompose<DrawPivotFromBottomRight>}, // 123 pivot
    {"Speckle appear from right", DrawStyle<DrawBarFamily, 124>, ComposeStyle<ComposeBarFamily, 124>}, // 124 speckle
    {"Speckle appear from left", DrawStyle<DrawBarFamily, 125>, ComposeStyle<ComposeBarFamily, 125>}, // 125 speckle
    {"Speckle appear from bottom", DrawStyle<DrawBarFamily, 126>, ComposeStyle<ComposeBarFamily, 126>}, // 126 speckle
    {"Speckle appear from top", DrawStyle<DrawBarFamily, 127>, ComposeStyle<ComposeBarFamily, 127>}, // 127 speckle
    {"Random squares appear", DrawStyle<DrawBarFamily, 128>, ComposeStyle<ComposeBarFamily, 128>}, // 128 random squares
    {"Push right", DrawStyle<DrawWipeEffect, 129>, ComposeStyle<ComposeWipeEffect, 129>}, // 129 push
    {"Push left", DrawStyle<DrawWipeEffect, 130>, ComposeStyle<ComposeWipeEffect, 130>}, // 130 push
    {"Push and squeeze right", DrawStyle<DrawWipeEffect, 131>, ComposeStyle<ComposeWipeEffect, 131>}, // 131 push and squeeze
    {"Push and squeeze left", DrawStyle<DrawWipeEffect, 132>, ComposeStyle<ComposeWipeEffect, 132>}, // 132 push and squeeze
    {"Push down", DrawStyle<DrawWipeEffect, 133>, ComposeStyle<ComposeWipeEffect, 133>}, // 133 push
    {"Push up", DrawStyle<DrawWipeEffect, 134>, ComposeStyle<ComposeWipeEffect, 134>}, // 134 push
    {"Push and sqeeze down", DrawStyle<DrawWipeEffect, 135>, ComposeStyle<ComposeWipeEffect, 135>}, // 135 push and squeeze
    {"Push and sqeeze up", DrawStyle<DrawWipeEffect, 136>, ComposeStyle<ComposeWipeEffect, 136>}, // 136 push and squeeze
    {"Blind vertically", DrawStyle<DrawBarFamily, 137>, ComposeStyle<ComposeBarFamily, 137>}, // 137 blind
    {"Blind horizontally", DrawStyle<DrawBarFamily, 138>, ComposeStyle<ComposeBarFamily, 138>}, // 138 blind
    {"Uneven blind from left", DrawStyle<DrawBarFamily, 139>, ComposeStyle<ComposeBarFamily, 139>}, // 139 uneven blind
    {"Uneven blind from right", DrawStyle<DrawBarFamily, 140>, ComposeStyle<ComposeBarFamily, 140>}, // 140 uneven blind
    {"Uneven blind from top", DrawStyle<DrawBarFamily, 141>, ComposeStyle<ComposeBarFamily, 141>}, // 141 uneven blind
    {"Uneven blind from bottom", DrawStyle<DrawBarFamily, 142>, ComposeStyle<ComposeBarFamily, 142>}, // 142 uneven blind
    {"Rectangular shred", DrawStyle<DrawBarFamily, 143>, ComposeStyle<ComposeBarFamily, 143>}, // 143 rectangular shred
    {"Sweep clockwise", DrawStyle<DrawShapeFamily, 144>, ComposeStyle<ComposeShapeFamily, 144>}, // 144 sweep
    {"Sweep anticlockwise", DrawStyle<DrawShapeFamily, 145>, ComposeStyle<ComposeShapeFamily, 145>}, // 145 sweep
    {"Rectangles apear from left and disapear to right", DrawStyle<DrawBarFamily, 146>, ComposeStyle<ComposeBarFamily, 146>}, // 146 rectangles
    {"Rectangles apear from right and disapear to left", DrawStyle<DrawBarFamily, 147>, ComposeStyle<ComposeBarFamily, 147>}, // 147 rectangles
    {"Rectangles apear from up and disapear to bottom", DrawStyle<DrawBarFamily, 148>, ComposeStyle<ComposeBarFamily, 148>}, // 148 rectangles
    {"Rectangles apear from bottom and disapear to up", DrawStyle<DrawBarFamily, 149>, ComposeStyle<ComposeBarFamily, 149>}, // 149 rectangles
    {"Rotational rectangle in center", DrawStyle<DrawShapeFamily, 150>, ComposeStyle<ComposeShapeFamily, 150>}, // 150 rotating shape
    {"Rotational star in center", DrawStyle<DrawShapeFamily, 151>, ComposeStyle<ComposeShapeFamily, 151>}, // 151 rotating shape
    {"Spiral rectangle", DrawStyle<DrawShapeFamily, 152>, ComposeStyle<ComposeShapeFamily, 152>}, // 152 rotating shape
    {"Circular shred", DrawStyle<DrawShapeFamily, 153>, ComposeStyle<ComposeShapeFamily, 153>}, // 153 circular shred
    {"Reveal V from left", DrawStyle<DrawShapeFamily, 154>, ComposeStyle<ComposeShapeFamily, 154>}, // 154 V
    {"Reveal V from right", DrawStyle<DrawShapeFamily, 155>, ComposeStyle<ComposeShapeFamily, 155>}, // 155 V
    {"Reveal V from top", DrawStyle<DrawShapeFamily, 156>, ComposeStyle<ComposeShapeFamily, 156>}, // 156 V
    {"Reveal V from bottom", DrawStyle<DrawShapeFamily, 157>, ComposeStyle<ComposeShapeFamily, 157>}, // 157 V
    {"Bow Tie Horizontal", DrawStyle<DrawShapeFamily, 158>, ComposeStyle<ComposeShapeFamily, 158>}, // 158 bow tie
    {"Bow Tie Vertical", DrawStyle<DrawShapeFamily, 159>, ComposeStyle<ComposeShapeFamily, 159>}, // 159 bow tie
    {"Diagonal Cross In", DrawStyle<DrawShapeFamily, 160>, ComposeStyle<ComposeShapeFamily, 160>}, // 160 diagonal cross
    {"Diagonal Cross Out", DrawStyle<DrawShapeFamily, 161>, ComposeStyle<ComposeShapeFamily, 161>}, // 161 diagonal cross
    {"Zigzag Horizontal", DrawStyle<DrawShapeFamily, 162>, ComposeStyle<ComposeShapeFamily, 162>}, // 162 zigzag
    {"Zigzag Vertical", DrawStyle<DrawShapeFamily, 163>, ComposeStyle<ComposeShapeFamily, 163>}, // 163 zigzag
    {"Diamond shred", DrawStyle<DrawShapeFamily, 164>, ComposeStyle<ComposeShapeFamily, 164>}, // 164 diamond shred
    {"Reveal diamond out from centre", DrawStyle<DrawShapeFamily, 165>, ComposeStyle<ComposeShapeFamily, 165>}, // 165 diamond
    {"Reveal diamond in to centre", DrawStyle<DrawShapeFamily, 166>, ComposeStyle<ComposeShapeFamily, 166>}, // 166 diamond
    {"Diagonal Box Out", DrawStyle<DrawShapeFamily, 167>, ComposeStyle<ComposeShapeFamily, 167>}, // 167 diagonal box
    {"Pixelate", PixelateEffect, CopyThenDraw<PixelateEffect>}, // 168 pixelate
    {"Dissolve", DissolveEffect, PixelCompose<DrawDissolve>}, // 169 dissolve
    {"Random Bars Horizontal", RandomBarsHorizontalEffect, PixelCompose<DrawRandomBarsHorizontal>}, // 170 random bars
    {"Random Bars Vertical", RandomBarsVerticalEffect, PixelCompose<DrawRandomBarsVertical>}, // 171 random bars
    {"Channel Mix", ChannelMixEffect, PixelCompose<DrawChannelMix>}, // 172 channel mix
    {"Slide out from right", DrawStyle<DrawWipeEffect, 173>, ComposeStyle<ComposeWipeEffect, 173>}, // 173 slide out
    {"Slide out from left", DrawStyle<DrawWipeEffect, 174>, ComposeStyle<ComposeWipeEffect, 174>}, // 174 slide out
    {"Slide out from bottom", DrawStyle<DrawWipeEffect, 175>, ComposeStyle<ComposeWipeEffect, 175>}, // 175 slide out
    {"Slide out from top", DrawStyle<DrawWipeEffect, 176>, ComposeStyle<ComposeWipeEffect, 176>}, // 176 slide out
}};

// Every style has a name (both procedures are required by TEffect itself).
static_assert(std::ranges::none_of(EffectTable, [](const TEffect& effect) { return effect.Name.empty(); }),
              "an effect of the table has no name");

const TEffect& EffectOfStyle(TShowStyle style)
{
  if (style == kCustomStyle || style > kMaxStyle)
    throw std::out_of_range("no effect has style " + std::to_string(style));
  return EffectTable[size_t(style) - 1];
}

std::string_view StyleName(TShowStyle style)
{
  if (style == kCustomStyle)
    return kCustomName;
  return EffectOfStyle(style).Name;
}

namespace {

// The names are plain ASCII, so folding ASCII letters compares them as a
// case-insensitive locale-aware comparison would; other bytes must match as
// they stand.
char FoldCase(char c)
{
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b)
{
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char l, char r) { return FoldCase(l) == FoldCase(r); });
}

} // namespace

std::optional<TShowStyle> FindStyle(std::string_view name)
{
  if (SameText(name, kCustomName))
    return kCustomStyle;
  for (size_t i = 0; i < EffectTable.size(); ++i)
    if (SameText(name, EffectTable[i].Name))
      return TShowStyle(i + 1);
  return std::nullopt;
}

bool StyleOfName(std::string_view name, TShowStyle& style)
{
  const std::optional<TShowStyle> found = FindStyle(name);
  if (!found)
    return false;
  style = *found;
  return true;
}

std::vector<std::string> EffectNames()
{
  std::vector<std::string> names;
  names.reserve(EffectTable.size());
  for (const TEffect& effect : EffectTable)
    names.emplace_back(effect.Name);
  return names;
}

TProgressSize ProgressSize(int32_t W, int32_t H, int32_t Progress) noexcept
{
  TProgressSize size;
  // An empty frame has nothing to scale (and MulDiv by zero answers -1).
  if (W <= 0 || H <= 0)
    return size;
  if (H > W) {
    size.Y = gfx::MulDiv(H, Progress, 100);
    size.X = gfx::MulDiv(size.Y, W, H);
  } else {
    size.X = gfx::MulDiv(W, Progress, 100);
    size.Y = gfx::MulDiv(size.X, H, W);
  }
  return size;
}

} // namespace effects
