#pragma once
// TSkinModel: everything one load of a skin package makes of it, the elements,
// the colour table and the other colours, the skin name and the derived
// images. The load sequence builds a whole new model aside; the skin data
// component takes it in one swap once it is complete, so a package that fails
// part-way never leaves windows painting from a half-built skin.
#include "gfx/Color.h"
#include "skin/SkinElements.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace skin {

class TQuickIni;
class TSkinReader;

// Indices of the skin colour table.
enum TSkinColorIndex : uint8_t {
  scWindowText = 0,
  scTitleTextActive = 1,
  scTitleTextNoActive = 2,
  scButtonFace = 3,
  scButtonText = 4,
  scButtonHilight = 5,
  scButtonlight = 6,
  scButtonShadow = 7,
  scButtonDkShadow = 8,
  scHilightText = 11,
  scHilight = 12,
  scMenubar = 13,
  scMenuBarText = 14,
  scMenuText = 15,
  scMenu = 16,
  scFrameColor = 17,
  scScrollbar = 18,
};
inline constexpr int32_t kSkinColorCount = 19;

struct TSkinColorEntry {
  gfx::TColor Color = gfx::clBtnFace;
  // Whether the description gave the colour.
  bool Given = false;
};

// A colour of a section whose name starts with COLOUR.
struct TNamedColour {
  std::string Section;
  gfx::TColor Color = gfx::clWindowText;
};

class TSkinModel {
public:
  // The model before any skin: the always-present elements without images
  // and the default colours.
  TSkinModel();
  ~TSkinModel();
  TSkinModel(TSkinModel&&) noexcept;
  TSkinModel& operator=(TSkinModel&&) noexcept;

  // Runs the load sequence on a parsed description into a new model; the
  // bitmaps come from reader. Throws ESkinPackage when a bitmap the
  // description names is in the package but damaged.
  [[nodiscard]] static TSkinModel Load(const TQuickIni& ini, const TSkinReader& reader);

  [[nodiscard]] const std::string& SkinName() const { return skinName_; }
  [[nodiscard]] const std::array<TSkinColorEntry, kSkinColorCount>& Colors() const { return colors_; }
  [[nodiscard]] gfx::TColor Color(TSkinColorIndex index) const { return colors_[index].Color; }
  [[nodiscard]] const std::vector<TNamedColour>& SectionColours() const { return sectionColours_; }
  [[nodiscard]] const std::array<gfx::TColor, 10>& CustomColors() const { return customColors_; }
  // The colour of the solid brush frames fill with (ButtonFace of the load).
  [[nodiscard]] gfx::TColor BrushColor() const { return brushColor_; }

  // ----- Elements -----
  // Always present.
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinTitle> CaptionTitle;
  std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
  std::unique_ptr<TDataSkinObject> Toolbar;
  // Caption buttons of the description, then the three MDI buttons.
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
  // Absent (null) when the description lacks the section or its image key.
  std::unique_ptr<TDataSkinBorder> Tabs, UpDownHorz, UpDownVert, ComboButton, Progress;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, ComboxArrow, GroupBoxEdge, ToolBars, ProgressChunk,
    StatusBarEdges, TabPane, Headerbar, MenuBar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll,
    HorzScrollThumb, VertScrollThumb, ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp, ThumbDown, Track,
    TrackVert;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;

private:
  void LoadBorders(const TQuickIni& ini, const TSkinReader& reader);
  void LoadColors(const TQuickIni& ini);
  void LoadCaptionButtons(const TQuickIni& ini, const TSkinReader& reader);
  void LoadButtonsAndTitle(const TQuickIni& ini, const TSkinReader& reader);
  void LoadElements(const TQuickIni& ini, const TSkinReader& reader);
  void FixFrameCounts();
  void BuildEditBoxImage();
  void BuildComboxArrow();
  void ComputeFrameColor();
  void BuildToolbar();

  std::string skinName_;
  std::array<TSkinColorEntry, kSkinColorCount> colors_{};
  std::vector<TNamedColour> sectionColours_;
  std::array<gfx::TColor, 10> customColors_{};
  gfx::TColor brushColor_ = gfx::clBtnFace;
};

// Putting a finished model in place must not be able to stop half-way.
static_assert(std::is_nothrow_move_assignable_v<TSkinModel> && std::is_nothrow_swappable_v<TSkinModel>);

} // namespace skin
