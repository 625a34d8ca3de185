#include "skin/controls/SkinListView.h"

#include "skin/controls/SkinHeader.h"
#include "skin/frame/WinSkinForm.h"

#include <commctrl.h>

namespace skin {

void TSkinListView::AttachScrolled(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control)
{
  TSkinScrollbar::AttachScrolled(form, data, control);
  const auto header = reinterpret_cast<HWND>(SendMessageW(Window(), LVM_GETHEADER, 0, 0));
  if (!header || form.HasCompanionFor(header))
    return;
  auto companion = std::make_unique<TSkinHeader>();
  companion->AttachWindow(form, data, header);
  form.RegisterCompanion(std::move(companion));
}

} // namespace skin
