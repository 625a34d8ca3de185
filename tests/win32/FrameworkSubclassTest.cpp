// Subclassing windows and thread hooks, on real windows under the platform.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/win32/Hooks.h"
#include "framework/win32/Subclass.h"

namespace {

using framework::TSubclass;
using framework::TThreadHook;

constexpr UINT kProbe = WM_APP + 1;

// Who saw the probe message, in order.
std::vector<std::string> g_seen;

LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == kProbe) {
    g_seen.push_back("original");
    return 7;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* ProbeClass()
{
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = OriginalProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SubclassProbeWindow";
    return RegisterClassExW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return L"SubclassProbeWindow";
}

struct TWindow {
  HWND handle = CreateWindowExW(0, ProbeClass(), L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ~TWindow()
  {
    if (IsWindow(handle))
      DestroyWindow(handle);
  }
};

// Records the probe and passes everything on.
class TRecorder : public TSubclass {
public:
  explicit TRecorder(std::string name) : name_(std::move(name)) {}
  std::vector<UINT> destroyedMessages;
  bool told = false;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message == kProbe)
      g_seen.push_back(name_);
    if (message == WM_NCDESTROY || message == WM_DESTROY)
      destroyedMessages.push_back(message);
    return CallPrevious(message, wParam, lParam);
  }
  void WindowDestroyed() override { told = true; }

private:
  std::string name_;
};

// A subclass made by hand, the way other code does it: it keeps the
// procedure it replaced and calls it.
WNDPROC g_foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == kProbe)
    g_seen.push_back("foreign");
  return CallWindowProcW(g_foreignPrevious, window, message, wParam, lParam);
}

std::vector<std::string> Probe(HWND window)
{
  g_seen.clear();
  EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 7);
  return g_seen;
}

using TNames = std::vector<std::string>;

// The platform creates windows of its own along with ours (the input
// method's, under some systems): hooks count only the probe windows.
bool IsProbeWindow(WPARAM window)
{
  wchar_t name[64] = {};
  GetClassNameW(reinterpret_cast<HWND>(window), name, 64);
  return std::wstring(name) == ProbeClass();
}

TEST(Subclass, SeesMessagesFirstAndPassesThemOn)
{
  TWindow window;
  TRecorder a("a"), b("b");
  a.Install(window.handle);
  b.Install(window.handle);
  EXPECT_TRUE(TSubclass::IsSubclassed(window.handle));
  EXPECT_EQ(Probe(window.handle), (TNames{"b", "a", "original"}));
  b.Remove();
  a.Remove();
  EXPECT_EQ(Probe(window.handle), (TNames{"original"}));
  EXPECT_FALSE(TSubclass::IsSubclassed(window.handle));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window.handle, GWLP_WNDPROC)), &OriginalProc);
}

// Three subclasses of ours with a hand-made one between the first and the
// second, taken out in every order: the rest keeps working every time, in
// the order they were installed.
TEST(Subclass, RemovalInAnyOrderNeverCutsTheChain)
{
  std::array<int, 3> order{0, 1, 2};
  do {
    TWindow window;
    std::array<std::unique_ptr<TRecorder>, 3> ours{std::make_unique<TRecorder>("a"), std::make_unique<TRecorder>("b"),
                                                   std::make_unique<TRecorder>("c")};
    ours[0]->Install(window.handle);
    g_foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    ours[1]->Install(window.handle);
    ours[2]->Install(window.handle);
    ASSERT_EQ(Probe(window.handle), (TNames{"c", "b", "foreign", "a", "original"}));
    std::array<bool, 3> present{true, true, true};
    for (int gone : order) {
      // Removed half the time by Remove, half the time by being freed.
      if (gone % 2)
        ours[gone]->Remove();
      else
        ours[gone].reset();
      present[gone] = false;
      TNames expected;
      for (int i = 2; i >= 0; --i) {
        if (present[i])
          expected.push_back(std::string(1, char('a' + i)));
        if (i == 1)
          expected.push_back("foreign");
      }
      expected.push_back("original");
      EXPECT_EQ(Probe(window.handle), expected) << "order " << order[0] << order[1] << order[2] << ", removed " << gone;
    }
  } while (std::next_permutation(order.begin(), order.end()));
}

// Takes itself out while handling the probe, then passes it on.
class TLeaver : public TSubclass {
protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message == kProbe) {
      g_seen.push_back("leaver");
      Remove();
    }
    return CallPrevious(message, wParam, lParam);
  }
};

TEST(Subclass, ASubclassMayLeaveWhileItHandlesAMessage)
{
  TWindow window;
  TRecorder below("below");
  TLeaver leaver;
  below.Install(window.handle);
  leaver.Install(window.handle);
  EXPECT_EQ(Probe(window.handle), (TNames{"leaver", "below", "original"}));
  EXPECT_FALSE(leaver.Installed());
  EXPECT_EQ(Probe(window.handle), (TNames{"below", "original"}));
  // It can go back on, on top again.
  leaver.Install(window.handle);
  EXPECT_EQ(Probe(window.handle), (TNames{"leaver", "below", "original"}));
}

TEST(Subclass, DestroyingTheWindowTellsEverySubclass)
{
  TWindow window;
  TRecorder a("a"), b("b");
  a.Install(window.handle);
  b.Install(window.handle);
  ASSERT_TRUE(TSubclass::IsSubclassed(window.handle));
  DestroyWindow(window.handle);
  for (TRecorder* r : {&a, &b}) {
    EXPECT_EQ(r->destroyedMessages, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_TRUE(r->told);
    EXPECT_FALSE(r->Installed());
  }
  // Nothing of the chain is left to be found from the old window.
  EXPECT_FALSE(TSubclass::IsSubclassed(window.handle));
  // Removing or freeing a detached subclass does nothing.
  a.Remove();
}

TEST(Subclass, WindowsOfTheSystemClassesCanBeSubclassed)
{
  HWND button = CreateWindowExW(0, L"BUTTON", L"check", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 80, 20, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(button);
  class TCheckCounter : public TSubclass {
  public:
    int checks = 0;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
      if (message == BM_SETCHECK)
        ++checks;
      return CallPrevious(message, wParam, lParam);
    }
  } counter;
  counter.Install(button);
  SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(counter.checks, 1);
  // The system's own procedure still did its work.
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  DestroyWindow(button);
  EXPECT_FALSE(counter.Installed());
  EXPECT_FALSE(TSubclass::IsSubclassed(button));
}

TEST(Subclass, TheLastSubclassRemovedGivesTheWindowItsProcedureBack)
{
  TWindow window;
  const LONG_PTR original = GetWindowLongPtrW(window.handle, GWLP_WNDPROC);
  {
    TRecorder a("a");
    a.Install(window.handle);
    EXPECT_TRUE(TSubclass::IsSubclassed(window.handle));
    EXPECT_NE(GetWindowLongPtrW(window.handle, GWLP_WNDPROC), original);
  }
  EXPECT_FALSE(TSubclass::IsSubclassed(window.handle));
  EXPECT_EQ(GetWindowLongPtrW(window.handle, GWLP_WNDPROC), original);
  g_seen.clear();
  EXPECT_EQ(SendMessageW(window.handle, kProbe, 0, 0), 7);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"original"}));
}

TEST(Subclass, RefusesWindowsItCannotOwn)
{
  TRecorder r("r");
  EXPECT_THROW(r.Install(nullptr), framework::Exception);
  // The desktop window belongs to another process.
  EXPECT_THROW(r.Install(GetDesktopWindow()), framework::Exception);
  TWindow window;
  r.Install(window.handle);
  EXPECT_THROW(r.Install(window.handle), framework::Exception);
}

// ----- Thread hooks

TEST(ThreadHook, CbtHandlersSeeCreationAndMayPreventIt)
{
  std::vector<std::string> calls;
  bool prevent = false;
  auto older = std::make_unique<TThreadHook>(WH_CBT, [&](int code, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (code == HCBT_CREATEWND && IsProbeWindow(wParam))
      calls.push_back("older");
    return std::nullopt;
  });
  TThreadHook newer(WH_CBT, [&](int code, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (code != HCBT_CREATEWND || !IsProbeWindow(wParam))
      return std::nullopt;
    calls.push_back("newer");
    return prevent ? std::optional<LRESULT>(1) : std::nullopt;
  });
  { TWindow created; EXPECT_TRUE(created.handle); }
  EXPECT_EQ(calls, (TNames{"newer", "older"}));

  calls.clear();
  prevent = true;
  { TWindow refused; EXPECT_FALSE(refused.handle); }
  EXPECT_EQ(calls, (TNames{"newer"}));

  calls.clear();
  prevent = false;
  older.reset();
  { TWindow created; EXPECT_TRUE(created.handle); }
  EXPECT_EQ(calls, (TNames{"newer"}));
}

TEST(ThreadHook, TheSystemHookGoesWithTheLastHandler)
{
  int calls = 0;
  {
    TThreadHook hook(WH_CBT, [&](int code, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      calls += code == HCBT_CREATEWND && IsProbeWindow(wParam);
      return std::nullopt;
    });
    TWindow created;
  }
  EXPECT_EQ(calls, 1);
  TWindow unseen;
  EXPECT_EQ(calls, 1);
}

TEST(ThreadHook, AHandlerMayRemoveItselfWhileCalled)
{
  std::unique_ptr<TThreadHook> once;
  int calls = 0;
  once = std::make_unique<TThreadHook>(WH_CBT, [&](int code, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (code == HCBT_CREATEWND && IsProbeWindow(wParam)) {
      ++calls;
      once.reset();
    }
    return std::nullopt;
  });
  TWindow first, second;
  EXPECT_TRUE(first.handle && second.handle);
  EXPECT_EQ(calls, 1);
}

void CALLBACK CloseHookBox(HWND, UINT, UINT_PTR, DWORD)
{
  if (HWND box = FindWindowW(L"#32770", L"hook"))
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// The message box's modal loop asks the message-filter hook about every
// message; the handler closes the box from there.
TEST(ThreadHook, MessageFilterSeesTheModalLoopOfAMessageBox)
{
  int dialogCodes = 0;
  bool closing = false;
  TThreadHook filter(WH_MSGFILTER, [&](int code, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (code != MSGF_DIALOGBOX)
      return std::nullopt;
    ++dialogCodes;
    HWND box = GetAncestor(reinterpret_cast<const MSG*>(lParam)->hwnd, GA_ROOT);
    if (!closing && box && box == FindWindowW(L"#32770", L"hook")) {
      closing = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return std::nullopt;
  });
  // Should the filter never be asked, the box goes after a while anyway.
  UINT_PTR safety = SetTimer(nullptr, 0, 5000, &CloseHookBox);
  EXPECT_EQ(MessageBoxW(nullptr, L"closed by the hook", L"hook", MB_OK), IDOK);
  KillTimer(nullptr, safety);
  EXPECT_GT(dialogCodes, 0);
}

} // namespace
