#pragma once
// Shared pieces of the framework's Win32 suites: a form class matching
// forms/TLayoutForm.form, a self-painting control, message pumping, pixel
// read-back, and a watcher that finds and answers the process's dialogs.
#include <windows.h>

#include <functional>
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

// Watches the thread's windows from a timer (which runs inside any modal
// loop): when a dialog shows up, the answer function gets it and may press
// a button. Records every dialog seen.
class TDialogWatcher {
public:
  using TAnswer = std::function<void(HWND dialog)>;
  explicit TDialogWatcher(TAnswer answer) : answer_(std::move(answer))
  {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &TDialogWatcher::Tick);
  }
  ~TDialogWatcher()
  {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  TDialogWatcher(const TDialogWatcher&) = delete;
  TDialogWatcher& operator=(const TDialogWatcher&) = delete;

  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;

  // The texts of a dialog's child windows, in order.
  static std::vector<std::pair<std::wstring, std::wstring>> Children(HWND dialog)
  {
    std::vector<std::pair<std::wstring, std::wstring>> list;
    EnumChildWindows(dialog, &TDialogWatcher::CollectChild, reinterpret_cast<LPARAM>(&list));
    return list;
  }
  // Presses the button of the dialog whose caption is given.
  static bool PressButton(HWND dialog, const std::wstring& caption)
  {
    TSearch search{caption, nullptr};
    EnumChildWindows(dialog, &TDialogWatcher::FindButton, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
      return false;
    PostMessageW(search.found, BM_CLICK, 0, 0);
    return true;
  }

private:
  struct TSearch {
    std::wstring caption;
    HWND found;
  };
  static BOOL CALLBACK CollectChild(HWND child, LPARAM data)
  {
    reinterpret_cast<std::vector<std::pair<std::wstring, std::wstring>>*>(data)->emplace_back(WindowClass(child),
                                                                                           WindowText(child));
    return TRUE;
  }
  static BOOL CALLBACK FindButton(HWND child, LPARAM data)
  {
    auto* s = reinterpret_cast<TSearch*>(data);
    if (_wcsicmp(WindowClass(child).c_str(), L"Button") == 0 && WindowText(child) == s->caption) {
      s->found = child;
      return FALSE;
    }
    return TRUE;
  }
  static BOOL CALLBACK CheckDialog(HWND window, LPARAM)
  {
    if (!IsWindowVisible(window))
      return TRUE;
    std::wstring cls = WindowClass(window);
    if (cls != L"#32770" && cls != L"TMessageForm")
      return TRUE;
    TDialogWatcher* self = current_;
    self->captions.push_back(WindowText(window));
    for (const auto& child : Children(window))
      if (_wcsicmp(child.first.c_str(), L"Static") == 0 && !child.second.empty())
        self->texts.push_back(child.second);
    self->answer_(window);
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
  {
    if (!current_ || current_->busy_)
      return;
    current_->busy_ = true;
    EnumThreadWindows(GetCurrentThreadId(), &TDialogWatcher::CheckDialog, 0);
    current_->busy_ = false;
  }

  static inline TDialogWatcher* current_ = nullptr;
  TAnswer answer_;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
};

} // namespace frameworktest
