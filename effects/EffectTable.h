#pragma once
// The table of the 176 transition effects and the registry built on it.
//
// A style number (TShowStyle) selects an entry: style s in 1..176 is entry
// s - 1, style 0 is "Custom" and has no entry (the display component draws
// such frames through its own event). The order of the table is stored data:
// style numbers are saved in form descriptions, so an entry never moves.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework {
class TBitmap;
}

namespace effects {

using TShowStyle = uint8_t;

inline constexpr TShowStyle kCustomStyle = 0;
inline constexpr TShowStyle kMaxStyle = 176;
inline constexpr size_t kEffectCount = 176;
inline constexpr std::string_view kCustomName = "Custom";

// An effect draws one frame of a transition. Screen holds the old image on
// entry and receives the frame; Picture is the new picture at the same size
// W x H, read and never changed. X and Y are the progress-scaled width and
// height (see ProgressSize) and Progress is 1..99: the caller handles 0 and 100
// itself. An effect keeps no state between calls, leaves no clipping on
// Screen's canvas and restores RandSeed when it reseeds the generator.
using TEffectFunction = void(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                             int32_t X, int32_t Y, int32_t Progress);
using TEffectProc = TEffectFunction*;

// Draws a whole frame from the old image and the new picture: the frame that
// copying the top left W x H of OldImage onto Screen and then calling the
// effect's Proc gives, pixel for pixel, with the same use of the generator.
// Screen's content on entry does not matter. Where a family knows which
// part each picture covers, every pixel is written once; the others copy the
// old image and call Proc.
using TComposeFunction = void(framework::TBitmap& Screen, framework::TBitmap& OldImage,
                              framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t Progress);
using TComposeProc = TComposeFunction*;

// Every entry has both procedures; the table checks that when it is compiled.
struct TEffect {
  // A row is made from both procedures, taken by reference: a row that lacks
  // one, or names a null one, does not compile.
  constexpr TEffect(std::string_view name, TEffectFunction& proc, TComposeFunction& compose)
    : Name(name), Proc(&proc), Compose(&compose)
  {
  }

  std::string_view Name;
  TEffectProc Proc;
  TComposeProc Compose;
};

// The old image copied onto Screen, then Proc: the compose procedure of
// effects that draw over the whole old image.
void CopyOldImage(framework::TBitmap& Screen, framework::TBitmap& OldImage, int32_t W, int32_t H);
template <TEffectFunction* Proc>
void CopyThenDraw(framework::TBitmap& Screen, framework::TBitmap& OldImage, framework::TBitmap& Picture, int32_t W,
                  int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  CopyOldImage(Screen, OldImage, W, H);
  Proc(Screen, Picture, W, H, X, Y, Progress);
}

// The table's procedures for one style of a family whose drawing and
// composing take the style as their first argument.
using TFamilyDraw = void(TShowStyle Style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W,
                         int32_t H, int32_t X, int32_t Y, int32_t Progress);
using TFamilyCompose = void(TShowStyle Style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                            framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t Progress);
template <TFamilyDraw* Draw, TShowStyle Style>
void DrawStyle(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y,
               int32_t Progress)
{
  Draw(Style, Screen, Picture, W, H, X, Y, Progress);
}
template <TFamilyCompose* Compose, TShowStyle Style>
void ComposeStyle(framework::TBitmap& Screen, framework::TBitmap& OldImage, framework::TBitmap& Picture, int32_t W,
                  int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  Compose(Style, Screen, OldImage, Picture, W, H, X, Y, Progress);
}

// Whether Screen, OldImage and Picture all hold the W x H frame, which the
// one-pass compose procedures need; they fall back to CopyThenDraw otherwise.
[[nodiscard]] bool CoversFrame(const framework::TBitmap& Screen, const framework::TBitmap& OldImage,
                               const framework::TBitmap& Picture, int32_t W, int32_t H) noexcept;

extern const std::array<TEffect, kEffectCount> EffectTable;

// The entry of style 1..176. Throws std::out_of_range for 0 and above 176.
[[nodiscard]] const TEffect& EffectOfStyle(TShowStyle style);

// "Custom" for style 0, the entry's name for 1..176. Throws std::out_of_range
// above 176.
[[nodiscard]] std::string_view StyleName(TShowStyle style);

// The style whose name equals name, ignoring case: "Custom" first, then the
// entries in table order, so a name that two entries share gives the first.
// Empty when nothing matches.
[[nodiscard]] std::optional<TShowStyle> FindStyle(std::string_view name);

// Sets style to the style named name and answers true; a name that matches
// nothing leaves style unchanged and answers false.
bool StyleOfName(std::string_view name, TShowStyle& style);

// The 176 names in table order, without "Custom": position i is style i + 1.
[[nodiscard]] std::vector<std::string> EffectNames();

// Appends the 176 names to a string list (anything with BeginUpdate, Add and
// EndUpdate), between BeginUpdate and EndUpdate, also when adding fails.
template <class TStrings>
void AppendEffectNames(TStrings& list)
{
  list.BeginUpdate();
  struct TEndUpdate {
    TStrings& List;
    ~TEndUpdate() { List.EndUpdate(); }
  } endUpdate{list};
  for (const TEffect& effect : EffectTable)
    list.Add(std::string(effect.Name));
}

// X and Y handed to an effect for a W x H frame: scaled from the longer side
// by Progress percent, the other following the frame's aspect ratio.
struct TProgressSize {
  int32_t X = 0;
  int32_t Y = 0;
  friend constexpr bool operator==(const TProgressSize&, const TProgressSize&) = default;
};
[[nodiscard]] TProgressSize ProgressSize(int32_t W, int32_t H, int32_t Progress) noexcept;

} // namespace effects
