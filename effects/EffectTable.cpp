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
// the family. Entries without a procedure are drawn by a family that is not
// built yet.
constexpr std::array<TEffect, kEffectCount> EffectTable = {{
    {"Expand from right", WipeEffect<1>, WipeCompose<1>}, // 1 stretch
    {"Expand from left", WipeEffect<2>, WipeCompose<2>}, // 2 stretch
    {"Slide in from right", WipeEffect<3>, WipeCompose<3>}, // 3 slide in
    {"Slide in from left", WipeEffect<4>, WipeCompose<4>}, // 4 slide in
    {"Reveal from left", WipeEffect<5>, WipeCompose<5>}, // 5 reveal
    {"Reveal from right", WipeEffect<6>, WipeCompose<6>}, // 6 reveal
    {"Expand in from right", WipeEffect<7>, WipeCompose<7>}, // 7 zoom
    {"Expand in from left", WipeEffect<8>, WipeCompose<8>}, // 8 zoom
    {"Expand in to middle", WipeEffect<9>, WipeCompose<9>}, // 9 zoom
    {"Expand out from middle", WipeEffect<10>, WipeCompose<10>}, // 10 stretch
    {"Reveal out from middle", WipeEffect<11>, WipeCompose<11>}, // 11 reveal
    {"Reveal in from sides", WipeEffect<12>, WipeCompose<12>}, // 12 reveal
    {"Expand in from sides", WipeEffect<13>, WipeCompose<13>}, // 13 stretch
    {"Unroll from left", WipeEffect<14>, WipeCompose<14>}, // 14 unroll
    {"Unroll from right", WipeEffect<15>, WipeCompose<15>}, // 15 unroll
    {"Build up from right", WipeEffect<16>, WipeCompose<16>}, // 16 build-up
    {"Build up from left", WipeEffect<17>, WipeCompose<17>}, // 17 build-up
    {"Expand from bottom", WipeEffect<18>, WipeCompose<18>}, // 18 stretch
    {"Expand from top", WipeEffect<19>, WipeCompose<19>}, // 19 stretch
    {"Slide in from bottom", WipeEffect<20>, WipeCompose<20>}, // 20 slide in
    {"Slide in from top", WipeEffect<21>, WipeCompose<21>}, // 21 slide in
    {"Reveal from top", WipeEffect<22>, WipeCompose<22>}, // 22 reveal
    {"Reveal from bottom", WipeEffect<23>, WipeCompose<23>}, // 23 reveal
    {"Expand in from bottom", WipeEffect<24>, WipeCompose<24>}, // 24 zoom
    {"Expand in from top", WipeEffect<25>, WipeCompose<25>}, // 25 zoom
    {"Expand in to middle (horizontal)", WipeEffect<26>, WipeCompose<26>}, // 26 zoom
    {"Expand out from middle (horizontal)", WipeEffect<27>, WipeCompose<27>}, // 27 stretch
    {"Reveal from middle (horizontal)", WipeEffect<28>, WipeCompose<28>}, // 28 reveal
    {"Slide in from top and bottom", WipeEffect<29>, WipeCompose<29>}, // 29 reveal
    {"Expand in from top and bottom", WipeEffect<30>, WipeCompose<30>}, // 30 stretch
    {"Unroll from top", WipeEffect<31>, WipeCompose<31>}, // 31 unroll
    {"Unroll from bottom", WipeEffect<32>, WipeCompose<32>}, // 32 unroll
    {"Expand from bottom", WipeEffect<33>, WipeCompose<33>}, // 33 build-up
    {"Expand in from top", WipeEffect<34>, WipeCompose<34>}, // 34 build-up
    {"Expand from bottom right", WipeEffect<35>, WipeCompose<35>}, // 35 stretch
    {"Expand from top right", WipeEffect<36>, WipeCompose<36>}, // 36 stretch
    {"Expand from top left", WipeEffect<37>, WipeCompose<37>}, // 37 stretch
    {"Expand from bottom left", WipeEffect<38>, WipeCompose<38>}, // 38 stretch
    {"Slide in from bottom right", WipeEffect<39>, WipeCompose<39>}, // 39 slide in
    {"Slide in from top right", WipeEffect<40>, WipeCompose<40>}, // 40 slide in
    {"Slide in from top left", WipeEffect<41>, WipeCompose<41>}, // 41 slide in
    {"Slide in from bottom left", WipeEffect<42>, WipeCompose<42>}, // 42 slide in
    {"Reveal from top left", WipeEffect<43>, WipeCompose<43>}, // 43 reveal
    {"Reveal from bottom left", WipeEffect<44>, WipeCompose<44>}, // 44 reveal
    {"Reveal from bottom right", WipeEffect<45>, WipeCompose<45>}, // 45 reveal
    {"Reveal from top right", WipeEffect<46>, WipeCompose<46>}, // 46 reveal
    {"Appear and Contract to top left", WipeEffect<47>, WipeCompose<47>}, // 47 zoom
    {"Appear and Contract to bottom left", WipeEffect<48>, WipeCompose<48>}, // 48 zoom
    {"Appear and Contract to bottom right", WipeEffect<49>, WipeCompose<49>}, // 49 zoom
    {"Appear and Contract to top right", WipeEffect<50>, WipeCompose<50>}, // 50 zoom
    {"Appear and Contract to middle", WipeEffect<51>, WipeCompose<51>}, // 51 zoom
    {"Expand out from centre", WipeEffect<52>, WipeCompose<52>}, // 52 stretch
    {"Reveal out from centre", WipeEffect<53>, WipeCompose<53>}, // 53 reveal
    {"Reveal in to centre", WipeEffect<54>, WipeCompose<54>}, // 54 reveal
    {"Quarters Reveal in to middle", WipeEffect<55>, WipeCompose<55>}, // 55 reveal
    {"Quarters Expand to middle", WipeEffect<56>, WipeCompose<56>}, // 56 stretch
    {"Quarters Slide in to middle", WipeEffect<57>, WipeCompose<57>}, // 57 slide in
    {"Curved Reveal from left", ShapeEffect<58>, ShapeCompose<58>}, // 58 curved
    {"Curved Reveal from right", ShapeEffect<59>, ShapeCompose<59>}, // 59 curved
    {"Bars in from right", BarEffect<60>, BarCompose<60>}, // 60 bars
    {"Bars in from left", BarEffect<61>, BarCompose<61>}, // 61 bars
    {"Bars left then right", BarEffect<62>, BarCompose<62>}, // 62 bars
    {"Bars right then left", BarEffect<63>, BarCompose<63>}, // 63 bars
    {"Bars from both sides", BarEffect<64>, BarCompose<64>}, // 64 bars
    {"Uneven shred from right", BarEffect<65>, BarCompose<65>}, // 65 uneven shred
    {"Uneven shred from left", BarEffect<66>, BarCompose<66>}, // 66 uneven shred
    {"Uneven shred out from middle (horizontal)", BarEffect<67>, BarCompose<67>}, // 67 uneven shred
    {"Uneven shred in to middle (horizontal)", BarEffect<68>, BarCompose<68>}, // 68 uneven shred
    {"Curved Reveal from top", ShapeEffect<69>, ShapeCompose<69>}, // 69 curved
    {"Curved Reveal from bottom", ShapeEffect<70>, ShapeCompose<70>}, // 70 curved
    {"Bars from bottom", BarEffect<71>, BarCompose<71>}, // 71 bars
    {"Bars from top", BarEffect<72>, BarCompose<72>}, // 72 bars
    {"Bars top then bottom", BarEffect<73>, BarCompose<73>}, // 73 bars
    {"Bars bottom then top", BarEffect<74>, BarCompose<74>}, // 74 bars
    {"Bars from top and bottom", BarEffect<75>, BarCompose<75>}, // 75 bars
    {"Unven shred from bottom", BarEffect<76>, BarCompose<76>}, // 76 uneven shred
    {"Uneven shred from top", BarEffect<77>, BarCompose<77>}, // 77 uneven shred
    {"Uneven shred from horizon", BarEffect<78>, BarCompose<78>}, // 78 uneven shred
    {"Uneven shred in to horizon", BarEffect<79>, BarCompose<79>}, // 79 uneven shred
    {"Curved reveal from top left", ShapeEffect<80>, ShapeCompose<80>}, // 80 curved
    {"Curved reveal from top right", ShapeEffect<81>, ShapeCompose<81>}, // 81 curved
    {"Curved reveal from bottom left", ShapeEffect<82>, ShapeCompose<82>}, // 82 curved
    {"Curved reveal from bottom right", ShapeEffect<83>, ShapeCompose<83>}, // 83 curved
    {"Elliptic reveal out from centre", ShapeEffect<84>, ShapeCompose<84>}, // 84 elliptic
    {"Elliptic reveal in to centre", ShapeEffect<85>, ShapeCompose<85>}, // 85 elliptic
    {"Criss Cross reveal from bottom right", BarEffect<86>, BarCompose<86>}, // 86 criss-cross
    {"Criss Cross reveal from top right", BarEffect<87>, BarCompose<87>}, // 87 criss-cross
    {"Criss Cross reveal from bottom left", BarEffect<88>, BarCompose<88>}, // 88 criss-cross
    {"Criss Cross reveal from top left", BarEffect<89>, BarCompose<89>}, // 89 criss-cross
    {"Criss Cross reveal bounce from top left", BarEffect<90>, BarCompose<90>}, // 90 criss-cross
    {"Criss Cross reveal bounce from bottom left", BarEffect<91>, BarCompose<91>}, // 91 criss-cross
    {"Criss Cross reveal bounce from top right", BarEffect<92>, BarCompose<92>}, // 92 criss-cross
    {"Criss Cross reveal bounce from bottom right", BarEffect<93>, BarCompose<93>}, // 93 criss-cross
    {"Criss Cross reveal from right top and bottom", BarEffect<94>, BarCompose<94>}, // 94 criss-cross
    {"Criss Cross reveal from left top and bottom", BarEffect<95>, BarCompose<95>}, // 95 criss-cross
    {"Criss Cross reveal from left right and bottom", BarEffect<96>, BarCompose<96>}, // 96 criss-cross
    {"Criss Cross reveal from left right and top", BarEffect<97>, BarCompose<97>}, // 97 criss-cross
    {"Criss Cross reveal from top left right and bottom", BarEffect<98>, BarCompose<98>}, // 98 criss-cross
    {"Criss Cross reveal from bottom left top right", BarEffect<99>, BarCompose<99>}, // 99 criss-cross
    {"Uneven shred from bottom and right", BarEffect<100>, BarCompose<100>}, // 100 uneven shred
    {"Uneven shred from top and right", BarEffect<101>, BarCompose<101>}, // 101 uneven shred
    {"Uneven shred from bottom and left", BarEffect<102>, BarCompose<102>}, // 102 uneven shred
    {"Uneven shred from top and left", BarEffect<103>, BarCompose<103>}, // 103 uneven shred
    {"Uneven shred from horizon and right", BarEffect<104>, BarCompose<104>}, // 104 uneven shred
    {"Uneven shred from horizon and left", BarEffect<105>, BarCompose<105>}, // 105 uneven shred
    {"Uneven shred from bottom and vert middle", BarEffect<106>, BarCompose<106>}, // 106 uneven shred
    {"Uneven shred from top and vert middle", BarEffect<107>, BarCompose<107>}, // 107 uneven shred
    {"Uneven shred from centre", BarEffect<108>, BarCompose<108>}, // 108 uneven shred
    {"Uneven shred to centre", BarEffect<109>, BarCompose<109>}, // 109 uneven shred
    {"Reveal diagonal from top left", ShapeEffect<110>, ShapeCompose<110>}, // 110 diagonal
    {"Reveal diagonal from top right", ShapeEffect<111>, ShapeCompose<111>}, // 111 diagonal
    {"Reveal diagonal from bottom left", ShapeEffect<112>, ShapeCompose<112>}, // 112 diagonal
    {"Reveal diagonal from bottom right", ShapeEffect<113>, ShapeCompose<113>}, // 113 diagonal
    {"Diagonal sweep from top left bottom right anticlockwise", ShapeEffect<114>, ShapeCompose<114>}, // 114 diagonal sweep
    {"Diagonal sweep from top left bottom right clockwise", ShapeEffect<115>, ShapeCompose<115>}, // 115 diagonal sweep
    {"Starburst clockwise from center", ShapeEffect<116>, ShapeCompose<116>}, // 116 starburst
    {"Starburst anticlockwise from center", ShapeEffect<117>, ShapeCompose<117>}, // 117 starburst
    {"Triangular shred", ShapeEffect<118>, ShapeCompose<118>}, // 118 triangular shred
    {"Fade", FadeEffect, PixelCompose<DrawFade>}, // 119 fade
    {"Pivot from top left", PivotFromTopLeftEffect, PixelCompose<DrawPivotFromTopLeft>}, // 120 pivot
    {"Pivot from bottom left", PivotFromBottomLeftEffect, PixelCompose<DrawPivotFromBottomLeft>}, // 121 pivot
    {"Pivot from top right", PivotFromTopRightEffect, PixelCompose<DrawPivotFromTopRight>}, // 122 pivot
    {"Pivot from bottom right", PivotFromBottomRightEffect, PixelCompose<DrawPivotFromBottomRight>}, // 123 pivot
    {"Speckle appear from right", BarEffect<124>, BarCompose<124>}, // 124 speckle
    {"Speckle appear from left", BarEffect<125>, BarCompose<125>}, // 125 speckle
    {"Speckle appear from bottom", BarEffect<126>, BarCompose<126>}, // 126 speckle
    {"Speckle appear from top", BarEffect<127>, BarCompose<127>}, // 127 speckle
    {"Random squares appear", BarEffect<128>, BarCompose<128>}, // 128 random squares
    {"Push right", WipeEffect<129>, WipeCompose<129>}, // 129 push
    {"Push left", WipeEffect<130>, WipeCompose<130>}, // 130 push
    {"Push and squeeze right", WipeEffect<131>, WipeCompose<131>}, // 131 push and squeeze
    {"Push and squeeze left", WipeEffect<132>, WipeCompose<132>}, // 132 push and squeeze
    {"Push down", WipeEffect<133>, WipeCompose<133>}, // 133 push
    {"Push up", WipeEffect<134>, WipeCompose<134>}, // 134 push
    {"Push and sqeeze down", WipeEffect<135>, WipeCompose<135>}, // 135 push and squeeze
    {"Push and sqeeze up", WipeEffect<136>, WipeCompose<136>}, // 136 push and squeeze
    {"Blind vertically", BarEffect<137>, BarCompose<137>}, // 137 blind
    {"Blind horizontally", BarEffect<138>, BarCompose<138>}, // 138 blind
    {"Uneven blind from left", BarEffect<139>, BarCompose<139>}, // 139 uneven blind
    {"Uneven blind from right", BarEffect<140>, BarCompose<140>}, // 140 uneven blind
    {"Uneven blind from top", BarEffect<141>, BarCompose<141>}, // 141 uneven blind
    {"Uneven blind from bottom", BarEffect<142>, BarCompose<142>}, // 142 uneven blind
    {"Rectangular shred", BarEffect<143>, BarCompose<143>}, // 143 rectangular shred
    {"Sweep clockwise", ShapeEffect<144>, ShapeCompose<144>}, // 144 sweep
    {"Sweep anticlockwise", ShapeEffect<145>, ShapeCompose<145>}, // 145 sweep
    {"Rectangles apear from left and disapear to right", BarEffect<146>, BarCompose<146>}, // 146 rectangles
    {"Rectangles apear from right and disapear to left", BarEffect<147>, BarCompose<147>}, // 147 rectangles
    {"Rectangles apear from up and disapear to bottom", BarEffect<148>, BarCompose<148>}, // 148 rectangles
    {"Rectangles apear from bottom and disapear to up", BarEffect<149>, BarCompose<149>}, // 149 rectangles
    {"Rotational rectangle in center", ShapeEffect<150>, ShapeCompose<150>}, // 150 rotating shape
    {"Rotational star in center", ShapeEffect<151>, ShapeCompose<151>}, // 151 rotating shape
    {"Spiral rectangle", ShapeEffect<152>, ShapeCompose<152>}, // 152 rotating shape
    {"Circular shred", ShapeEffect<153>, ShapeCompose<153>}, // 153 circular shred
    {"Reveal V from left", ShapeEffect<154>, ShapeCompose<154>}, // 154 V
    {"Reveal V from right", ShapeEffect<155>, ShapeCompose<155>}, // 155 V
    {"Reveal V from top", ShapeEffect<156>, ShapeCompose<156>}, // 156 V
    {"Reveal V from bottom", ShapeEffect<157>, ShapeCompose<157>}, // 157 V
    {"Bow Tie Horizontal", ShapeEffect<158>, ShapeCompose<158>}, // 158 bow tie
    {"Bow Tie Vertical", ShapeEffect<159>, ShapeCompose<159>}, // 159 bow tie
    {"Diagonal Cross In", ShapeEffect<160>, ShapeCompose<160>}, // 160 diagonal cross
    {"Diagonal Cross Out", ShapeEffect<161>, ShapeCompose<161>}, // 161 diagonal cross
    {"Zigzag Horizontal", ShapeEffect<162>, ShapeCompose<162>}, // 162 zigzag
    {"Zigzag Vertical", ShapeEffect<163>, ShapeCompose<163>}, // 163 zigzag
    {"Diamond shred", ShapeEffect<164>, ShapeCompose<164>}, // 164 diamond shred
    {"Reveal diamond out from centre", ShapeEffect<165>, ShapeCompose<165>}, // 165 diamond
    {"Reveal diamond in to centre", ShapeEffect<166>, ShapeCompose<166>}, // 166 diamond
    {"Diagonal Box Out", ShapeEffect<167>, ShapeCompose<167>}, // 167 diagonal box
    {"Pixelate", PixelateEffect, CopyThenDraw<PixelateEffect>}, // 168 pixelate
    {"Dissolve", DissolveEffect, PixelCompose<DrawDissolve>}, // 169 dissolve
    {"Random Bars Horizontal", RandomBarsHorizontalEffect, PixelCompose<DrawRandomBarsHorizontal>}, // 170 random bars
    {"Random Bars Vertical", RandomBarsVerticalEffect, PixelCompose<DrawRandomBarsVertical>}, // 171 random bars
    {"Channel Mix", ChannelMixEffect, PixelCompose<DrawChannelMix>}, // 172 channel mix
    {"Slide out from right", WipeEffect<173>, WipeCompose<173>}, // 173 slide out
    {"Slide out from left", WipeEffect<174>, WipeCompose<174>}, // 174 slide out
    {"Slide out from bottom", WipeEffect<175>, WipeCompose<175>}, // 175 slide out
    {"Slide out from top", WipeEffect<176>, WipeCompose<176>}, // 176 slide out
}};

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

bool IsStyleAvailable(TShowStyle style) noexcept
{
  return style >= 1 && style <= kMaxStyle && EffectTable[size_t(style) - 1].Proc != nullptr;
}

size_t AvailableStyleCount() noexcept
{
  return size_t(std::count_if(EffectTable.begin(), EffectTable.end(), [](const TEffect& e) { return e.Proc != nullptr; }));
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
