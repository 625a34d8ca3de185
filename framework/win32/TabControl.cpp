#include "framework/win32/TabControl.h"

#include <commctrl.h>

namespace framework {

const TClassInfo& TTabControl::ClassType()
{
  static TClassInfo info("TTabControl", &TWinControl::ClassType(), [](TComponent* o) { return new TTabControl(o); });
  static const bool described = [] {
    info.Object("Tabs", TStringList::ClassType(), &TTabControl::Tabs);
    info.Int("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex, int64_t(-1));
    info.Enum("Style", TabStyleInfo(), &TTabControl::Style, &TTabControl::SetStyle, int64_t(tsTabs));
    info.Enum("TabPosition", TabPositionInfo(), &TTabControl::TabPosition, &TTabControl::SetTabPosition,
              int64_t(tpTop));
    info.Bool("MultiLine", &TTabControl::MultiLine, &TTabControl::SetMultiLine, false);
    info.Bool("TabStop", &TTabControl::TabStop, &TTabControl::SetTabStop, true);
    info.Event("OnChange", &TTabControl::OnChange);
    info.Event("OnChanging", &TTabControl::OnChanging);
    return true;
  }();
  (void)described;
  return info;
}

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner), tabs_(std::make_unique<TStringList>())
{
  width_ = 289;
  height_ = 193;
  tabStop_ = true;
  controlStyle_ = csAcceptsControls | csCaptureMouse | csDoubleClicks;
  tabs_->OnChange = TNotifyEvent([this](TObject*) { FillTabs(); });
}

void TTabControl::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = WC_TABCONTROLW;
  p.Style |= WS_CLIPCHILDREN | TabWindowStyle(style_, tabPosition_, multiLine_);
}

void TTabControl::CreateWnd()
{
  TWinControl::CreateWnd();
  FillTabs();
}

gfx::TRect TTabControl::AdjustClientRect(gfx::TRect rect) const
{
  if (HandleAllocated())
    return TabDisplayRect(handle_, rect);
  return gfx::TRect(rect.Left + 4, rect.Top + 24, rect.Right - 4, rect.Bottom - 4);
}

void TTabControl::FillTabs()
{
  if (tabIndex_ >= tabs_->Count())
    tabIndex_ = tabs_->Count() - 1;
  if (!HandleAllocated())
    return;
  SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < tabs_->Count(); ++i) {
    std::wstring text = Utf8ToWide(tabs_->Strings(i));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(handle_, TCM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(handle_, TCM_SETCURSEL, WPARAM(tabIndex_), 0);
  AlignControls();
}

void TTabControl::SetTabIndex(int value)
{
  if (value < -1 || value >= tabs_->Count())
    value = -1;
  tabIndex_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, TCM_SETCURSEL, WPARAM(value), 0);
}

void TTabControl::SetStyle(TTabStyle value)
{
  if (value == style_)
    return;
  style_ = value;
  RecreateWnd();
}

void TTabControl::SetTabPosition(TTabPosition value)
{
  if (value == tabPosition_)
    return;
  tabPosition_ = value;
  RecreateWnd();
}

void TTabControl::SetMultiLine(bool value)
{
  if (value == multiLine_)
    return;
  multiLine_ = value;
  RecreateWnd();
}

void TTabControl::WndProc(TMessage& m)
{
  if (const NMHDR* header = ReflectedNotifyHeader(m)) {
    if (header->code == TCN_SELCHANGING) {
      bool allow = true;
      OnChanging(this, allow);
      m.Result = allow ? 0 : 1;
      return;
    }
    if (header->code == TCN_SELCHANGE) {
      tabIndex_ = int(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
      OnChange(this);
      return;
    }
  }
  TWinControl::WndProc(m);
}

} // namespace framework
