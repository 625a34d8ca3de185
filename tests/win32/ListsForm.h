#pragma once
// A form read from a description with one of each list-like control (list
// box, memo, scroll bars, date picker) beside the common controls, shown on
// the screen and in front, for the suites that drive them with real input.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/FormDescription.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/DateTimePicker.h"
#include "framework/win32/Forms.h"
#include "framework/win32/ListBox.h"
#include "framework/win32/Memo.h"
#include "framework/win32/ScrollBar.h"
#include "framework/win32/StdCtrls.h"
#include "tests/win32/InputSupport.h"

namespace liststest {

using namespace framework;

inline constexpr const char* kListsDescription = R"(
TListsForm ListsForm {
  Caption = "Lists"
  Left = 40
  Top = 40
  ClientWidth = 520
  ClientHeight = 400
  TListBox lbFruit {
    Left = 8 Top = 8 Width = 150 Height = 120
    Sorted = True
    Items = ["pear", "apple", "fig", "quince", "banana"]
    ItemIndex = 1
    OnClick = @FruitClick
    OnDblClick = @FruitDblClick
  }
  TMemo memoNotes {
    Left = 170 Top = 8 Width = 220 Height = 120
    ScrollBars = ssBoth
    WordWrap = False
    Lines = ["first line", "second line", ""]
    OnChange = @NotesChange
  }
  TScrollBar sbZoom {
    Left = 8 Top = 140 Width = 300 Height = 20
    Min = 10 Max = 60 PageSize = 5 Position = 20
    SmallChange = 2 LargeChange = 10
    OnChange = @ZoomChange
    OnScroll = @ZoomScroll
  }
  TScrollBar sbSide {
    Left = 480 Top = 8 Width = 20 Height = 200
    Kind = sbVertical
    Max = 1000
  }
  TDateTimePicker dtpDay {
    Left = 8 Top = 170 Width = 220
    DateFormat = dfLong
    Date = "2024-05-17"
    Time = "08:30:15"
    OnChange = @DayChange
  }
  TButton btnDefault { Left = 240 Top = 170 Caption = "OK" Default = True OnClick = @DefaultClick }
  TUpDown udCount { Left = 8 Top = 200 Min = 0 Max = 9 Position = 4 }
  TTrackBar tbLevel { Left = 40 Top = 200 Position = 3 }
  TPageControl Pages {
    Left = 200 Top = 200 Width = 200 Height = 120
    ActivePage = TabTwo
    TTabSheet TabOne { Caption = "One" }
    TTabSheet TabTwo { Caption = "Two" }
  }
  TStatusBar Status { SimplePanel = True SimpleText = "ready" }
}
)";

class TListsForm : public TForm {
public:
  using TForm::TForm;
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TListsForm", &TForm::ClassType());
    static const bool published = [] {
      using F = TListsForm;
      info.Field("lbFruit", &F::lbFruit);
      info.Field("memoNotes", &F::memoNotes);
      info.Field("sbZoom", &F::sbZoom);
      info.Field("sbSide", &F::sbSide);
      info.Field("dtpDay", &F::dtpDay);
      info.Field("btnDefault", &F::btnDefault);
      info.Field("udCount", &F::udCount);
      info.Field("tbLevel", &F::tbLevel);
      info.Field("Pages", &F::Pages);
      info.Field("Status", &F::Status);
      info.Method("FruitClick", &F::FruitClick);
      info.Method("FruitDblClick", &F::FruitDblClick);
      info.Method("NotesChange", &F::NotesChange);
      info.Method("ZoomChange", &F::ZoomChange);
      info.Method("ZoomScroll", &F::ZoomScroll);
      info.Method("DayChange", &F::DayChange);
      info.Method("DefaultClick", &F::DefaultClick);
      return true;
    }();
    (void)published;
    return info;
  }
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  void FruitClick(TObject*) { fruitClicks.push_back(lbFruit->ItemIndex()); }
  void FruitDblClick(TObject*) { ++fruitDoubleClicks; }
  void NotesChange(TObject*) { notes.push_back(memoNotes->Lines()->Count()); }
  void ZoomChange(TObject*) { zoomChanges.push_back(sbZoom->Position()); }
  void ZoomScroll(TObject*, TScrollCode code, int& position)
  {
    scrollCodes.push_back(code);
    if (code == scLineDown && lineDownGoesTo >= 0)
      position = lineDownGoesTo;
  }
  void DayChange(TObject*) { ++dayChanges; }
  void DefaultClick(TObject*) { ++defaultClicks; }

  TListBox* lbFruit = nullptr;
  TMemo* memoNotes = nullptr;
  TScrollBar* sbZoom = nullptr;
  TScrollBar* sbSide = nullptr;
  TDateTimePicker* dtpDay = nullptr;
  TButton* btnDefault = nullptr;
  TUpDown* udCount = nullptr;
  TTrackBar* tbLevel = nullptr;
  TPageControl* Pages = nullptr;
  TStatusBar* Status = nullptr;

  std::vector<int> fruitClicks;
  int fruitDoubleClicks = 0;
  std::vector<int> notes; // the number of lines at each change
  std::vector<int> zoomChanges;
  std::vector<TScrollCode> scrollCodes;
  int lineDownGoesTo = -1;
  int dayChanges = 0;
  int defaultClicks = 0;
};

// Every event seen so far, so that a test can tell that none came.
inline size_t EventCount(const TListsForm& form)
{
  return form.fruitClicks.size() + size_t(form.fruitDoubleClicks) + form.notes.size() + form.zoomChanges.size() +
         form.scrollCodes.size() + size_t(form.dayChanges) + size_t(form.defaultClicks);
}

class ListsFormTest : public ::testing::Test {
protected:
  static void SetUpTestSuite()
  {
    Application->Initialize();
    RegisterComponentClass(TListsForm::ClassType());
  }
  void SetUp() override
  {
    form = new TListsForm(Application);
    form->ReadDescription(kListsDescription);
    form->Show();
    ASSERT_TRUE(testsupport::BringToFront(form->Handle()));
  }
  void TearDown() override { delete form; }

  testsupport::TCursorRestorer cursor;
  TListsForm* form = nullptr;
};

// Pumps through the application's own loop, where the form's dialog keys
// (Enter for the default button, Tab to the next control) are handled.
inline bool AppPumpUntil(const std::function<bool()>& condition, int milliseconds = 3000)
{
  const DWORD start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    if (condition())
      return true;
    if (int(GetTickCount() - start) >= milliseconds)
      return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Presses and releases each key in turn and lets the application's loop
// handle them, as a user's typing reaches it.
inline void TypeKeys(std::initializer_list<WORD> keys)
{
  for (WORD key : keys) {
    ASSERT_TRUE(testsupport::SendKey(key, false));
    ASSERT_TRUE(testsupport::SendKey(key, true));
    AppPumpUntil([] { return false; }, 40);
  }
}

// The strings a list box window holds, in its order.
inline std::vector<std::string> WindowItems(HWND list)
{
  std::vector<std::string> items;
  const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring text(size_t(SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    items.push_back(WideToUtf8(text));
  }
  return items;
}

inline std::vector<std::string> Strings(const TStringList& list)
{
  std::vector<std::string> strings;
  for (int i = 0; i < list.Count(); ++i)
    strings.push_back(list[i]);
  return strings;
}

inline std::string WindowTextOf(HWND window)
{
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  GetWindowTextW(window, text.data(), int(text.size()));
  text.resize(text.size() - 1);
  return WideToUtf8(text);
}

inline LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

// A point of a window's client area on the screen.
inline POINT OnScreen(HWND window, int x, int y)
{
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

} // namespace liststest
