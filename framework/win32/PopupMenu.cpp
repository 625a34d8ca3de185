// Pop-up menus. The system's menu loop reports to the window that owns the
// tracked menu; a pop-up menu may belong to no form at all, so every one is
// tracked for a hidden window of the framework that passes the menu's
// messages to the items.
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"

namespace framework {

namespace {

LRESULT CALLBACK PopupListWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  LRESULT result = 0;
  try {
    if (HandleMenuMessage(msg, wParam, lParam, result))
      return result;
  } catch (...) {
    if (Application)
      Application->HandleException(Application);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND PopupListWindow()
{
  static HWND window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PopupListWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TPopupList";
    RegisterWindowClass(wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"TPopupList", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           wc.hInstance, nullptr);
  }();
  return window;
}

} // namespace

const TClassInfo& TPopupMenu::ClassType()
{
  static TClassInfo info("TPopupMenu", &TMenu::ClassType(),
                         [](TComponent* owner) -> TComponent* { return new TPopupMenu(owner); });
  static const bool described = [] {
    info.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true);
    info.Event("OnPopup", &TPopupMenu::OnPopup);
    return true;
  }();
  (void)described;
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
  TMenu::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupComponent_)
    popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y)
{
  OnPopup(this);
  TrackPopupMenuEx(Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, PopupListWindow(), nullptr);
}

} // namespace framework
