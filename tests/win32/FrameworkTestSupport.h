#pragma once
// Shared pieces of the framework's Win32 suites: a form class matching
// forms/TLayoutForm.form, a self-painting control, message pumping, pixel
// read-back, and a watcher that finds and answers the process's dialogs.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "framework/win32/Timer.h"

namespace frameworktest {

using namespace framework;

// Paints itself in its Color and keeps a blob of binary data.
class TPaintBox : public TCustomControl {
public:
  explicit TPaintBox(TComponent* owner) : TCustomControl(owner) { controlStyle_ |= csOpaque; }
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TPaintBox", &TCustomControl::ClassType(), [](TComponent* o) { return new TPaintBox(o); });
    static const bool described = [] {
      TPropInfo& data = info.Add(TPropInfo{});
      data.Name = "Data";
      data.Kind = TTypeKind::tkBinary;
      data.GetBytes = [](const TObject& o) { return static_cast<const TPaintBox&>(o).data; };
      data.SetBytes = [](TObject& o, const std::vector<uint8_t>& b) { static_cast<TPaintBox&>(o).data = b; };
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }

  void Paint() override
  {
    ++paints;
    Canvas().Brush.Color = Color();
    Canvas().FillRect(gfx::TRect(0, 0, Width(), Height()));
    Canvas().Brush.Color = gfx::clWhite;
    Canvas().FillRect(gfx::TRect(0, 0, 10, 10));
  }
  void WndProc(TMessage& m) override
  {
    if (m.Msg == CM_MOUSEENTER)
      ++enters;
    if (m.Msg == CM_MOUSELEAVE)
      ++leaves;
    TCustomControl::WndProc(m);
  }

  std::vector<uint8_t> data;
  int paints = 0;
  int enters = 0;
  int leaves = 0;
};

class TLayoutForm : public TForm {
public:
  explicit TLayoutForm(TComponent* owner) : TForm(owner) {}
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TLayoutForm", &TForm::ClassType());
    static const bool described = [] {
      info.Method("FormCreate", &TLayoutForm::FormCreate);
      info.Method("FormKeyDown", &TLayoutForm::FormKeyDown);
      info.Method("Button1Click", &TLayoutForm::Button1Click);
      info.Method("cbStyleChange", &TLayoutForm::cbStyleChange);
      info.Method("edtStepChange", &TLayoutForm::edtStepChange);
      info.Method("ckExactClick", &TLayoutForm::ckExactClick);
      info.Method("tbProgressChange", &TLayoutForm::tbProgressChange);
      info.Method("DisplayDblClick", &TLayoutForm::DisplayDblClick);
      info.Method("TimerTimer", &TLayoutForm::TimerTimer);
      info.Field("SidePanel", &TLayoutForm::SidePanel);
      info.Field("Button1", &TLayoutForm::Button1);
      info.Field("Pages", &TLayoutForm::Pages);
      info.Field("cbStyle", &TLayoutForm::cbStyle);
      info.Field("edtStep", &TLayoutForm::edtStep);
      info.Field("udStep", &TLayoutForm::udStep);
      info.Field("ckExact", &TLayoutForm::ckExact);
      info.Field("tbProgress", &TLayoutForm::tbProgress);
      info.Field("StatusBar1", &TLayoutForm::StatusBar1);
      info.Field("Display", &TLayoutForm::Display);
      info.Field("Timer", &TLayoutForm::Timer);
      info.Field("lblStyleNo", &TLayoutForm::lblStyleNo);
      info.Field("rgStyleControl", &TLayoutForm::rgStyleControl);
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }

  void FormCreate(TObject*) { ++created; }
  void FormKeyDown(TObject*, uint16_t& key, TShiftState)
  {
    keys.push_back(key);
    if (key == VK_ESCAPE || key == VK_F2)
      key = 0;
  }
  void Button1Click(TObject*) { ++buttonClicks; }
  void cbStyleChange(TObject*) { ++styleChanges; }
  void edtStepChange(TObject*) { stepTexts.push_back(edtStep->Text()); }
  void ckExactClick(TObject*) { ++exactClicks; }
  void tbProgressChange(TObject*) { progress.push_back(tbProgress->Position()); }
  void DisplayDblClick(TObject*) { ++doubleClicks; }
  void TimerTimer(TObject*)
  {
    ++ticks;
    if (throwOnTick)
      throw Exception("The tick failed");
  }

  TPanel* SidePanel = nullptr;
  TButton* Button1 = nullptr;
  TPageControl* Pages = nullptr;
  TComboBox* cbStyle = nullptr;
  TEdit* edtStep = nullptr;
  TUpDown* udStep = nullptr;
  TCheckBox* ckExact = nullptr;
  TTrackBar* tbProgress = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TPaintBox* Display = nullptr;
  TTimer* Timer = nullptr;
  TLabel* lblStyleNo = nullptr;
  TRadioGroup* rgStyleControl = nullptr;

  int created = 0;
  std::vector<uint16_t> keys;
  int buttonClicks = 0;
  int styleChanges = 0;
  std::vector<std::string> stepTexts;
  int exactClicks = 0;
  std::vector<int> progress;
  int doubleClicks = 0;
  int ticks = 0;
  bool throwOnTick = false;
};

inline void InitApplication()
{
  Application->Initialize();
  RegisterComponentClass(TPaintBox::ClassType());
  Application->SetTitle("Framework test");
}

// Handles messages for a while, through the application's own loop.
inline void Pump(int milliseconds = 100)
{
  DWORD end = GetTickCount() + DWORD(milliseconds);
  do {
    Application->ProcessMessages();
    Sleep(5);
  } while (int(end - GetTickCount()) > 0);
}

// Pumps until the condition holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 3000)
{
  DWORD end = GetTickCount() + DWORD(milliseconds);
  while (!condition()) {
    if (int(end - GetTickCount()) <= 0)
      return false;
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

// The colour of a window's client pixel as it is on the screen, 0x00RRGGBB.
inline uint32_t ScreenPixel(HWND window, int x, int y)
{
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, 1, 1, screen, x, y, SRCCOPY);
  GdiFlush();
  uint32_t pixel = *static_cast<uint32_t*>(bits) & 0xFFFFFFu;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixel;
}

inline LPARAM Point(int x, int y) { return LPARAM(MAKELONG(uint16_t(x), uint16_t(y))); }

// Sends a left click as posted mouse messages, handled by the message loop.
inline void PostClick(HWND window, int x, int y)
{
  PostMessageW(window, WM_MOUSEMOVE, 0, Point(x, y));
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, Point(x, y));
  Pump(50);
}

inline std::wstring WindowText(HWND window)
{
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

inline std::wstring WindowClass(HWND window)
{
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// Runs a function on the thread that made this object (the test's thread),
// from any other thread, also while that thread is inside a modal loop: a
// message-only window receives the call as a sent message.
class TGuiThreadCall {
public:
  TGuiThreadCall()
  {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TGuiThreadCall::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TGuiThreadCall";
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, L"TGuiThreadCall", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
  ~TGuiThreadCall() { DestroyWindow(window_); }
  TGuiThreadCall(const TGuiThreadCall&) = delete;
  TGuiThreadCall& operator=(const TGuiThreadCall&) = delete;

  // Waits at most a few seconds; answers whether the function ran.
  bool Run(const std::function<void()>& function) const
  {
    DWORD_PTR done = 0;
    return SendMessageTimeoutW(window_, WM_APP, 0, reinterpret_cast<LPARAM>(&function), SMTO_NORMAL, 5000, &done) &&
           done == 1;
  }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
  {
    if (msg == WM_APP) {
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      return 1;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  HWND window_ = nullptr;
};

// Watches the process's top-level windows from a thread of its own: when a
// dialog shows up (the framework's message form, or the "#32770" class of
// message boxes and the system's dialogs), the answer function gets it, once
// per dialog, and may press a button. A thread rather than a timer, because
// the dialogs run modal loops of their own and a box may be up before any
// timer of the test could tick.
//
// The answer runs on the watcher's thread: it may send messages to the
// dialog's windows, but drawing on them (device contexts) belongs on the
// test's thread, through TGuiThreadCall.
//
// No test waits for ever: after the time limit the watcher closes every
// dialog it sees with Cancel (or WM_CLOSE), so the modal call returns and the
// test fails on its checks instead of hanging.
class TDialogWatcher {
public:
  using TAnswer = std::function<void(HWND dialog)>;
  explicit TDialogWatcher(TAnswer answer, int limitMilliseconds = 10000)
    : answer_(std::move(answer)), limit_(DWORD(limitMilliseconds))
  {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &TDialogWatcher::Run, this, 0, nullptr);
  }
  ~TDialogWatcher()
  {
    SetEvent(stop_);
    // The thread may be sending to a window of this thread (reading a text):
    // keep handling messages while it finishes.
    DWORD end = GetTickCount() + 30000;
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           int(end - GetTickCount()) > 0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    CloseHandle(thread_);
    CloseHandle(stop_);
  }
  TDialogWatcher(const TDialogWatcher&) = delete;
  TDialogWatcher& operator=(const TDialogWatcher&) = delete;

  // The captions and static texts of the dialogs answered so far.
  std::vector<std::wstring> Captions() const
  {
    std::lock_guard<std::mutex> lock(mutex_);
    return captions_;
  }
  std::vector<std::wstring> Texts() const
  {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }
  // How many dialogs of the process are on screen now.
  static int VisibleDialogs()
  {
    std::vector<HWND> dialogs;
    EnumWindows(&TDialogWatcher::CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return int(dialogs.size());
  }
  // Whether the time limit ran out and dialogs were closed by force.
  bool TimedOut() const { return timedOut_; }

  // The classes and texts of a dialog's child windows, in order.
  static std::vector<std::pair<std::wstring, std::wstring>> Children(HWND dialog)
  {
    std::vector<std::pair<std::wstring, std::wstring>> list;
    EnumChildWindows(dialog, &TDialogWatcher::CollectChild, reinterpret_cast<LPARAM>(&list));
    return list;
  }
  // A child window of the dialog with the class and, when given, the text.
  static HWND FindChild(HWND dialog, const std::wstring& className, const std::wstring& text = {})
  {
    TSearch search{className, text, nullptr};
    EnumChildWindows(dialog, &TDialogWatcher::FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  // Presses the button of the dialog whose caption is given.
  static bool PressButton(HWND dialog, const std::wstring& caption)
  {
    HWND button = FindChild(dialog, L"Button", caption);
    if (!button)
      return false;
    PostMessageW(button, BM_CLICK, 0, 0);
    return true;
  }
  // Presses the dialog's OK or Cancel button by its identifier, as the
  // keyboard would.
  static void PressCommand(HWND dialog, int id)
  {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }

private:
  struct TSearch {
    std::wstring className;
    std::wstring text;
    HWND found;
  };
  static BOOL CALLBACK CollectChild(HWND child, LPARAM data)
  {
    reinterpret_cast<std::vector<std::pair<std::wstring, std::wstring>>*>(data)->emplace_back(WindowClass(child),
                                                                                           WindowText(child));
    return TRUE;
  }
  static BOOL CALLBACK FindWindowOf(HWND child, LPARAM data)
  {
    auto* s = reinterpret_cast<TSearch*>(data);
    if (_wcsicmp(WindowClass(child).c_str(), s->className.c_str()) == 0 &&
        (s->text.empty() || WindowText(child) == s->text)) {
      s->found = child;
      return FALSE;
    }
    return TRUE;
  }
  static bool IsDialog(HWND window)
  {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window))
      return false;
    std::wstring cls = WindowClass(window);
    return cls == L"#32770" || cls == L"TMessageForm";
  }
  static BOOL CALLBACK CollectDialog(HWND window, LPARAM data)
  {
    if (IsDialog(window))
      reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
  }
  void Answer(HWND dialog)
  {
    std::wstring caption = WindowText(dialog);
    std::vector<std::wstring> texts;
    for (const auto& child : Children(dialog))
      if (_wcsicmp(child.first.c_str(), L"Static") == 0 && !child.second.empty())
        texts.push_back(child.second);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      captions_.push_back(caption);
      texts_.insert(texts_.end(), texts.begin(), texts.end());
    }
    answer_(dialog);
  }
  static void CloseByForce(HWND dialog)
  {
    if (GetDlgItem(dialog, IDCANCEL))
      PressCommand(dialog, IDCANCEL);
    else
      PostMessageW(dialog, WM_CLOSE, 0, 0);
  }
  static DWORD WINAPI Run(LPVOID self) { return static_cast<TDialogWatcher*>(self)->Watch(); }
  DWORD Watch()
  {
    DWORD start = GetTickCount();
    std::vector<HWND> answered;
    while (WaitForSingleObject(stop_, 25) == WAIT_TIMEOUT) {
      // Every top-level window of the desktop: a box may belong to any
      // thread of the process and have any owner, or none.
      std::vector<HWND> dialogs;
      EnumWindows(&TDialogWatcher::CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
      bool late = GetTickCount() - start > limit_;
      for (HWND dialog : dialogs) {
        if (late) {
          timedOut_ = true;
          CloseByForce(dialog);
          continue;
        }
        if (std::find(answered.begin(), answered.end(), dialog) != answered.end())
          continue;
        // A dialog being built may not have its buttons yet.
        if (!FindChild(dialog, L"Button"))
          continue;
        answered.push_back(dialog);
        Answer(dialog);
      }
      // A closed dialog's handle may be reused by the next one.
      std::erase_if(answered, [](HWND w) { return !IsWindow(w) || !IsWindowVisible(w); });
    }
    return 0;
  }

  TAnswer answer_;
  DWORD limit_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::wstring> captions_;
  std::vector<std::wstring> texts_;
  std::atomic<bool> timedOut_ = false;
};

} // namespace frameworktest
