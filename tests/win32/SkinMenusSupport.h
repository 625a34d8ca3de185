#pragma once
// The skinned menus suites' world: a form with a menu bar (File, View, Help)
// and a context menu under the probe skin, the pop-up menu windows found and
// read back from the screen, and the user's mouse and keyboard driven from a
// thread of their own while the test's thread runs the menu loops.
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "skin/frame/MenuBtn.h"
#include "skin/frame/WinSkinMenu.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

inline constexpr UINT kMenuGetHMenu = 0x01E1; // MN_GETHMENU

inline HWND VisibleMenuWindow()
{
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// The menu the visible pop-up window shows, or nullptr.
inline HMENU ShownMenu()
{
  HWND window = VisibleMenuWindow();
  return window ? reinterpret_cast<HMENU>(SendMessageW(window, kMenuGetHMenu, 0, 0)) : nullptr;
}

// Waits, off the menu's thread, until the pop-up shows that menu.
inline bool WaitForShownMenu(HMENU menu, int32_t timeoutMs = 3000)
{
  const DWORD end = GetTickCount() + DWORD(timeoutMs);
  while (int32_t(GetTickCount() - end) < 0) {
    if (ShownMenu() == menu)
      return true;
    Sleep(15);
  }
  return false;
}

inline bool WaitForNoMenu(int32_t timeoutMs = 3000)
{
  const DWORD end = GetTickCount() + DWORD(timeoutMs);
  while (VisibleMenuWindow() && int32_t(GetTickCount() - end) < 0)
    Sleep(15);
  return !VisibleMenuWindow();
}

inline POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

inline RECT ItemRect(HMENU menu, UINT position)
{
  RECT r{};
  GetMenuItemRect(nullptr, menu, position, &r);
  return r;
}

inline int32_t HeightOf(const RECT& r) { return r.bottom - r.top; }

// Presses escape until no menu shows.
inline bool CloseMenus()
{
  for (int i = 0; i < 4 && VisibleMenuWindow(); ++i) {
    PressKey(VK_ESCAPE);
    Sleep(40);
  }
  return WaitForNoMenu();
}

// A system colour as the screen reads back (0x00RRGGBB).
inline uint32_t SystemRgb(int index)
{
  const COLORREF c = GetSysColor(index);
  return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

// A skin colour as the screen reads back.
inline uint32_t SkinRgb(const skin::TSkinData& data, skin::TSkinColorIndex index)
{
  return gfx::ColorToPixel(gfx::ColorToRGB(data.Color(index)));
}

// An open pop-up menu as the screen showed it: its window rectangle, the
// rectangles of its first items (screen coordinates) and the capture.
struct TShownPopup {
  bool Opened = false;
  RECT Window{};
  std::vector<RECT> Items;
  TCapture Shown{0, 0, {}};

  // An item's rectangle in the capture's coordinates.
  [[nodiscard]] RECT Local(size_t item) const
  {
    RECT r = Items.at(item);
    OffsetRect(&r, -Window.left, -Window.top);
    return r;
  }
};

// The world of the bar tests: the form and its menus, clicks recorded by
// caption.
class SkinMenusFixture : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  framework::TForm form{nullptr};
  framework::TMainMenu* bar = new framework::TMainMenu(&form);
  framework::TPopupMenu* context = new framework::TPopupMenu(&form);
  framework::TMenuItem *file = nullptr, *open = nullptr, *exit = nullptr, *view = nullptr, *help = nullptr;
  std::vector<std::string> clicked;
  TCursorRestorer cursor;

  void SetUp() override
  {
    form.SetBounds(80, 80, 420, 300);
    file = Add(bar->Items(), "&File");
    open = Add(file, "&Open");
    Add(file, "-");
    exit = Add(file, "E&xit");
    view = Add(bar->Items(), "&View");
    Add(view, "&Zoom");
    Add(view, "&Fit");
    help = Add(bar->Items(), "&Help");
    Add(help, "&About");
    Add(context->Items(), "&First");
    Add(context->Items(), "-");
    Add(context->Items(), "&Second");
    form.SetMenu(bar);
    form.SetPopupMenu(context);
  }

  framework::TMenuItem* Add(framework::TMenuItem* parent, const std::string& caption)
  {
    auto* item = new framework::TMenuItem(&form);
    item->SetCaption(caption);
    item->OnClick = framework::TNotifyEvent([this, caption](framework::TObject*) { clicked.push_back(caption); });
    parent->Add(item);
    return item;
  }

  skin::TWinSkinForm* ShowFramed(framework::TForm& shown)
  {
    shown.Show();
    BringToFront(shown.Handle());
    return WaitForFrame(shown.Handle());
  }
  skin::TWinSkinForm* ShowFramed() { return ShowFramed(form); }

  [[nodiscard]] static POINT ButtonCentre(HWND window, skin::TWinSkinForm& frame, size_t index)
  {
    const gfx::TRect& r = frame.MenuBar()->Button(index).Rect();
    return WindowToScreen(window, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  [[nodiscard]] POINT ButtonCentre(skin::TWinSkinForm& frame, size_t index)
  {
    return ButtonCentre(form.Handle(), frame, index);
  }

  [[nodiscard]] static HMENU DropDown(skin::TWinSkinForm& frame, size_t index)
  {
    return frame.MenuBar()->Button(index).DropDown();
  }

  // How the test's thread handles messages while the user acts: as the
  // suites' pump does, or through the application, which offers Alt with a
  // letter to the forms first.
  enum class TPump { Plain, Application };

  // Runs the user's part on a thread of its own while this thread pumps
  // messages (and with them any menu loop the user opens), until the user is
  // done.
  static void AsUser(const std::function<void()>& user, TPump pump = TPump::Plain)
  {
    std::atomic<bool> done{false};
    std::thread thread([&] {
      user();
      done = true;
    });
    if (pump == TPump::Application)
      PumpThroughApplication([&] { return done.load(); }, 20000);
    else
      PumpUntil([&] { return done.load(); }, 20000);
    thread.join();
    PumpMessages(50);
  }

  static void PumpThroughApplication(const std::function<bool()>& condition, int32_t timeoutMs)
  {
    const DWORD start = GetTickCount();
    while (!condition() && int32_t(GetTickCount() - start) < timeoutMs) {
      framework::Application->ProcessMessages();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }

  // Opens a bar button's drop-down with a click, lets the mouse rest on an
  // item (or on the button), reads the menu back and closes it.
  TShownPopup CaptureBarMenu(skin::TWinSkinForm& frame, size_t button, UINT itemCount, int hoverItem = -1)
  {
    TShownPopup popup;
    const HMENU menu = DropDown(frame, button);
    AsUser([&] {
      Click(ButtonCentre(frame, button));
      popup.Opened = WaitForShownMenu(menu);
      if (!popup.Opened)
        return;
      for (UINT i = 0; i < itemCount; ++i)
        popup.Items.push_back(ItemRect(menu, i));
      if (hoverItem >= 0)
        MoveMouse(Centre(popup.Items.at(size_t(hoverItem))));
      Sleep(300);
      GetWindowRect(VisibleMenuWindow(), &popup.Window);
      popup.Shown = CaptureScreen(popup.Window);
      CloseMenus();
    });
    return popup;
  }
};

} // namespace testsupport
