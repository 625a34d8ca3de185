#include "skin/SkinModel.h"

namespace skin {

TSkinModel::TSkinModel()
  : Buttons(std::make_unique<TDataSkinButton>("Buttons")),
    CaptionTitle(std::make_unique<TDataSkinTitle>("Personality")),
    BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
    BorderRight(std::make_unique<TDataSkinBorder>("Right")),
    BorderTop(std::make_unique<TDataSkinBorder>("Top")),
    BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
    Toolbar(std::make_unique<TDataSkinObject>("Toolbar"))
{
  // Entries 9 and 10 are never read from a description; 17 is computed.
  const gfx::TColor defaults[kSkinColorCount] = {
    gfx::clWindowText, gfx::clCaptionText, gfx::clInactiveCaptionText, gfx::clBtnFace, gfx::clBtnText,
    gfx::clBtnHighlight, gfx::clBtnHighlight, gfx::clBtnShadow, gfx::cl3DDkShadow, gfx::clBtnFace,
    gfx::clBtnFace, gfx::clHighlightText, gfx::clHighlight, gfx::clBtnFace, gfx::clMenuText,
    gfx::clMenuText, gfx::clMenu, gfx::clBtnFace, gfx::clScrollBar};
  for (int32_t i = 0; i < kSkinColorCount; ++i)
    colors_[size_t(i)] = {defaults[i], false};
  customColors_.fill(gfx::clWhite);
}

TSkinModel::~TSkinModel() = default;
TSkinModel::TSkinModel(TSkinModel&&) noexcept = default;
TSkinModel& TSkinModel::operator=(TSkinModel&&) noexcept = default;

} // namespace skin
