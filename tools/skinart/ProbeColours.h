#pragma once
// The colours of the probe skin. The probe skin has the stored skin's
// description, bitmaps, sizes and frame layouts, but paints every frame of
// every bitmap in one flat colour of its own, keeping magenta where the stored
// bitmap has the key colour. A pixel read back from a skinned window then
// names the bitmap and the frame that was drawn there.
//
// The colour is computed here, not stored: the generator and the suites that
// read pixels back include this header and agree by construction. It needs
// nothing but the standard library, so native and Win32 suites can use it.
//
// Colours are 0x00RRGGBB, the layout of gfx::TPixel and of a 32-bit DIB
// pixel read as one integer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace probeskin {

// One bitmap of the skin: its member name in the package, the description
// key that names it, and how the consumers cut it into frames.
struct TProbeElement {
  std::string_view Bitmap;
  std::string_view Section;
  std::string_view Key;
  int32_t Frames;
  // Frames one above the other (the caption and bottom border, the short
  // caption); otherwise side by side.
  bool Stacked;
};

// In the stored skin's package order. The frame counts are those the skin
// model cuts each image by; the MDI bitmap is one strip of three buttons of
// four frames, and the model hands button i the frames 4i to 4i + 3.
inline constexpr std::array<TProbeElement, 34> kElements{{
  {"buttons.bmp", "Buttons", "Bitmap", 5, false},
  {"checkbox.bmp", "Buttons", "CheckButton", 12, false},
  {"radiobutton.bmp", "Buttons", "RadioButton", 8, false},
  {"progress.bmp", "Progress", "Bitmap", 1, false},
  {"progresschunk.bmp", "Progress.Chunk", "Image", 1, false},
  {"tab.bmp", "Tabs", "Image", 5, false},
  {"tabsheet.bmp", "Tab.Pane", "Image", 1, false},
  {"comboboxbtn.bmp", "ComboButton", "Image", 4, false},
  {"statusbar.bmp", "StatusBarEdges", "Image", 3, false},
  {"header.bmp", "Headerbar", "Image", 4, false},
  {"scrollbararrow.bmp", "Scrollbar", "Image", 23, false},
  {"scrollbarhthumb.bmp", "HorzScrollThumb", "Image", 4, false},
  {"scrollbarvthumb.bmp", "VertScrollThumb", "Image", 4, false},
  {"scrollbarhbar.bmp", "HorzScroll", "Image", 4, false},
  {"scrollbarvbar.bmp", "VertScroll", "Image", 4, false},
  {"menubackground.bmp", "MenuBackground", "Image", 1, false},
  {"menuitem.bmp", "MenuItem", "Image", 5, false},
  {"extraimages.bmp", "ExtraImages", "Image", 5, false},
  {"trackthumbh.bmp", "Trackbar.ThumbHorz", "Image", 5, false},
  {"trackbot.bmp", "Trackbar.ThumbDown", "Image", 5, false},
  {"mdibutton.bmp", "MDICONTROLS", "Image", 12, false},
  {"spin.bmp", "UpDown.Vert", "Image", 8, false},
  {"spinarrow.bmp", "UpDown.Vert", "GlyphImage", 8, false},
  {"spinh.bmp", "UpDown.Horz", "Image", 8, false},
  {"spinharrow.bmp", "UpDown.Horz", "GlyphImage", 8, false},
  {"closebutton.bmp", "Button0", "ButtonImage", 6, false},
  {"maxbutton.bmp", "Button1", "ButtonImage", 6, false},
  {"minbutton.bmp", "Button2", "ButtonImage", 6, false},
  {"restrorebutton.bmp", "Button3", "ButtonImage", 6, false},
  {"frameleft.bmp", "Personality", "Left", 2, false},
  {"frameright.bmp", "Personality", "Right", 2, false},
  {"frametop.bmp", "Personality", "Top", 2, true},
  {"framebottom.bmp", "Personality", "Bottom", 2, true},
  {"mincaption.bmp", "MinCaption", "Image", 2, true},
}};

inline constexpr uint32_t kMagenta = 0xFF00FF;

// Where the probe skin is stored in its package and in the build folder.
inline constexpr std::string_view kDescriptionName = "probe-probe.ini";
inline constexpr std::string_view kSkinName = "probe-PROBE";
inline constexpr std::string_view kPackageName = "probe.skn";

// Colours a window shows without any skin: black, white, the greys of faces
// and shadows, the blues of captions and selections, the desktop, tool tips,
// and the key colour. No probe colour comes near any of them.
inline constexpr std::array<uint32_t, 21> kAvoided{{
  0x000000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0xA0A0A0, 0x696969, 0xD4D0C8, 0xECE9D8, 0xF0F0F0, 0xE3E3E3, 0xD8E4F8,
  0x0A246A, 0x0054E3, 0xA6CAF0, 0x000080, 0x316AC5, 0x0078D7, 0x3A6EA5, 0x7A96DF, 0xFFFFE1, kMagenta,
}};

namespace detail {

// Channel values 32 apart, none at 0 or 255: a pixel that a 16-bit display
// has rounded still lies nearest its own level.
inline constexpr std::array<int32_t, 7> kLevels{{24, 56, 88, 120, 152, 184, 216}};
inline constexpr int32_t kLevelCount = int32_t(kLevels.size());
// How far (on every channel at once) a probe colour stays from an avoided one.
inline constexpr int32_t kAvoidDistance = 40;

constexpr int32_t Channel(uint32_t rgb, int32_t shift) { return int32_t((rgb >> shift) & 0xFF); }
constexpr int32_t Abs(int32_t v) { return v < 0 ? -v : v; }

constexpr uint32_t Compose(int32_t r, int32_t g, int32_t b)
{
  return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// A colour is usable when it is clearly coloured (its channels spread by at
// least two levels, so no grey or near grey) and differs from every avoided
// colour by more than kAvoidDistance on some channel.
constexpr bool Usable(uint32_t rgb)
{
  const int32_t r = Channel(rgb, 16), g = Channel(rgb, 8), b = Channel(rgb, 0);
  const int32_t high = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int32_t low = r < g ? (r < b ? r : b) : (g < b ? g : b);
  if (high - low < 64)
    return false;
  for (const uint32_t avoided : kAvoided) {
    const bool tooClose = Abs(r - Channel(avoided, 16)) <= kAvoidDistance &&
                      Abs(g - Channel(avoided, 8)) <= kAvoidDistance &&
                      Abs(b - Channel(avoided, 0)) <= kAvoidDistance;
    if (tooClose)
      return false;
  }
  return true;
}

inline constexpr int32_t kUsableCount = [] {
  int32_t n = 0;
  for (int32_t i = 0; i < kLevelCount * kLevelCount * kLevelCount; ++i)
    n += Usable(Compose(kLevels[size_t(i / 49)], kLevels[size_t(i / 7 % 7)], kLevels[size_t(i % 7)])) ? 1 : 0;
  return n;
}();

inline constexpr std::array<uint32_t, size_t(kUsableCount)> kUsable = [] {
  std::array<uint32_t, size_t(kUsableCount)> list{};
  size_t n = 0;
  for (int32_t i = 0; i < kLevelCount * kLevelCount * kLevelCount; ++i) {
    const uint32_t c = Compose(kLevels[size_t(i / 49)], kLevels[size_t(i / 7 % 7)], kLevels[size_t(i % 7)]);
    if (Usable(c))
      list[n++] = c;
  }
  return list;
}();

constexpr int32_t Gcd(int32_t a, int32_t b) { return b == 0 ? a : Gcd(b, a % b); }

// Consecutive frames step through the usable colours with a large stride, so
// that neighbouring frames of a strip look nothing alike on a contact sheet.
inline constexpr int32_t kStride = 97;
static_assert(Gcd(kStride, kUsableCount) == 1, "the stride must visit every usable colour");

inline constexpr int32_t kTotalFrames = [] {
  int32_t n = 0;
  for (const TProbeElement& e : kElements)
    n += e.Frames;
  return n;
}();
static_assert(kTotalFrames <= kUsableCount, "more frames than distinct probe colours");

} // namespace detail

// The number of frames over the whole skin.
inline constexpr int32_t kTotalFrames = detail::kTotalFrames;

// The index of the first frame of element in the skin-wide numbering.
constexpr int32_t FirstFrame(size_t element)
{
  int32_t first = 0;
  for (size_t i = 0; i < element && i < kElements.size(); ++i)
    first += kElements[i].Frames;
  return first;
}

// The colour of a frame (0-based) of an element (index into kElements).
// Frames outside the element have no colour: 0, which no frame uses.
constexpr uint32_t ProbeColour(size_t element, int32_t frame)
{
  if (element >= kElements.size() || frame < 0 || frame >= kElements[element].Frames)
    return 0;
  const int32_t global = FirstFrame(element) + frame;
  return detail::kUsable[size_t(int64_t(global) * detail::kStride % detail::kUsableCount)];
}

// The element index of a bitmap name (as the package lists it, lower case).
constexpr std::optional<size_t> FindElement(std::string_view bitmap)
{
  for (size_t i = 0; i < kElements.size(); ++i)
    if (kElements[i].Bitmap == bitmap)
      return i;
  return std::nullopt;
}

// The colour of a frame of the bitmap with that name; 0 for an unknown name.
constexpr uint32_t ProbeColour(std::string_view bitmap, int32_t frame)
{
  const std::optional<size_t> element = FindElement(bitmap);
  return element ? ProbeColour(*element, frame) : 0;
}

struct TProbeFrame {
  size_t Element = 0;
  int32_t Frame = 0;
  [[nodiscard]] std::string_view Bitmap() const { return kElements[Element].Bitmap; }
  friend constexpr bool operator==(const TProbeFrame&, const TProbeFrame&) = default;
};

namespace detail {

// The reverse of ProbeColour, as tables: colour cube cell to usable colour,
// usable colour to skin-wide frame, skin-wide frame to element and frame. A
// lookup is then a few index operations, cheap enough to run over every
// pixel of a captured window.
inline constexpr int32_t kCubeCells = kLevelCount * kLevelCount * kLevelCount;

inline constexpr std::array<int16_t, size_t(kCubeCells)> kUsableOfCell = [] {
  std::array<int16_t, size_t(kCubeCells)> table{};
  int16_t n = 0;
  for (int32_t i = 0; i < kCubeCells; ++i)
    table[size_t(i)] =
      Usable(Compose(kLevels[size_t(i / 49)], kLevels[size_t(i / 7 % 7)], kLevels[size_t(i % 7)])) ? n++ : int16_t(-1);
  return table;
}();

inline constexpr std::array<int16_t, size_t(kUsableCount)> kFrameOfUsable = [] {
  std::array<int16_t, size_t(kUsableCount)> table{};
  for (auto& t : table)
    t = -1;
  for (int32_t g = 0; g < kTotalFrames; ++g)
    table[size_t(int64_t(g) * kStride % kUsableCount)] = int16_t(g);
  return table;
}();

inline constexpr std::array<TProbeFrame, size_t(kTotalFrames)> kFrames = [] {
  std::array<TProbeFrame, size_t(kTotalFrames)> table{};
  size_t g = 0;
  for (size_t e = 0; e < kElements.size(); ++e)
    for (int32_t f = 0; f < kElements[e].Frames; ++f)
      table[g++] = TProbeFrame{e, f};
  return table;
}();

// The index of the level nearest to a channel value, when it is within
// tolerance of it; -1 otherwise.
constexpr int32_t LevelIndex(int32_t value, int32_t tolerance)
{
  int32_t i = (value < 8 ? 0 : value - 8) / 32;
  if (i >= kLevelCount)
    i = kLevelCount - 1;
  return Abs(value - kLevels[size_t(i)]) <= tolerance ? i : -1;
}

} // namespace detail

// The frame whose colour a pixel shows. tolerance lets each channel be off by
// that much (a display of fewer colours rounds them); it is capped below half
// the distance between levels, so a pixel never names two frames. Magenta,
// the system's colours and anything else give nothing.
constexpr std::optional<TProbeFrame> FindProbeFrame(uint32_t rgb, int32_t tolerance = 0)
{
  if (tolerance > 15)
    tolerance = 15;
  const int32_t r = detail::LevelIndex(detail::Channel(rgb, 16), tolerance);
  const int32_t g = detail::LevelIndex(detail::Channel(rgb, 8), tolerance);
  const int32_t b = detail::LevelIndex(detail::Channel(rgb, 0), tolerance);
  if (r < 0 || g < 0 || b < 0)
    return std::nullopt;
  const int32_t usable = detail::kUsableOfCell[size_t(r * 49 + g * 7 + b)];
  if (usable < 0)
    return std::nullopt;
  const int32_t frame = detail::kFrameOfUsable[size_t(usable)];
  if (frame < 0)
    return std::nullopt;
  return detail::kFrames[size_t(frame)];
}

} // namespace probeskin
