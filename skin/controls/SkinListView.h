#pragma once
// TSkinListView: a list view's scroll bars as any scrolled control's, and its
// column header drawn as a skinned header.
#include "skin/controls/SkinScrollbar.h"

namespace skin {

class TSkinListView final : public TSkinScrollbar {
public:
  void AttachScrolled(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control) override;
};

} // namespace skin
