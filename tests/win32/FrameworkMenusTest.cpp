// Menus on real windows under Wine: a form with a menu bar and a pop-up menu
// read from a form description, driven by the mouse and the keyboard through
// SendInput and by the messages the system's menus send.
#include "framework/FormDescription.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "tests/win32/InputSupport.h"
#include "tests/win32/ScreenProbe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace framework;

namespace {

constexpr const char* kDescription = R"(
TMenuTestForm MenuTestForm {
  Caption = "Menus"
  Left = 60
  Top = 60
  ClientWidth = 420
  ClientHeight = 300
  Menu = MainMenu1
  OnKeyDown = @FormKeyDown
  TPanel Panel1 {
    Align = alClient
    PopupMenu = PopupMenu1
    TEdit Edit1 { Left = 20 Top = 20 Width = 120 }
  }
  TMainMenu MainMenu1 {
    TMenuItem mnuFile {
      Caption = "&File"
      Hint = "What to do with files"
      TMenuItem mnuOpen { Caption = "&Open..." ShortCut = "Ctrl+O" Hint = "Opens a file" OnClick = @ItemClick }
      TMenuItem mnuLine { Caption = "-" }
      TMenuItem mnuDisabled { Caption = "&Disabled" Enabled = False ShortCut = "Ctrl+D" OnClick = @ItemClick }
      TMenuItem mnuHidden { Caption = "&Hidden" Visible = False ShortCut = "Ctrl+H" OnClick = @ItemClick }
      TMenuItem mnuExit { Caption = "E&xit" OnClick = @ItemClick }
    }
    TMenuItem mnuMode {
      Caption = "&Mode"
      TMenuItem mnuFast { Caption = "&Fast" RadioItem = True AutoCheck = True GroupIndex = 1 Checked = True OnClick = @ItemClick }
      TMenuItem mnuSlow { Caption = "&Slow" RadioItem = True AutoCheck = True GroupIndex = 1 OnClick = @ItemClick }
      TMenuItem mnuLoud { Caption = "&Loud" AutoCheck = True ShortCut = "F5" OnClick = @ItemClick }
    }
  }
  TPopupMenu PopupMenu1 {
    OwnerDraw = True
    OnPopup = @PopupOpening
    TMenuItem popFirst { Caption = "&First" OnClick = @ItemClick OnMeasureItem = @MeasureItem OnDrawItem = @DrawItem }
    TMenuItem popSecond { Caption = "&Second" ShortCut = "Ctrl+2" OnClick = @ItemClick }
  }
}
)";

constexpr COLORREF kDrawnColour = RGB(20, 200, 40);
constexpr int kMeasuredHeight = 30;

class TMenuTestForm : public TForm {
public:
  using TForm::TForm;
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TMenuTestForm", &TForm::ClassType());
    static const bool published = [] {
      using F = TMenuTestForm;
      for (auto [name, field] : {std::pair{"mnuFile", &F::mnuFile}, {"mnuOpen", &F::mnuOpen},
                                 {"mnuDisabled", &F::mnuDisabled}, {"mnuHidden", &F::mnuHidden},
                                 {"mnuExit", &F::mnuExit}, {"mnuFast", &F::mnuFast}, {"mnuSlow", &F::mnuSlow},
                                 {"mnuLoud", &F::mnuLoud}, {"popFirst", &F::popFirst}, {"popSecond", &F::popSecond}})
        info.Field(name, field);
      info.Field("MainMenu1", &F::MainMenu1);
      info.Field("PopupMenu1", &F::PopupMenu1);
      info.Field("Panel1", &F::Panel1);
      info.Field("Edit1", &F::Edit1);
      info.Method("ItemClick", &F::ItemClick);
      info.Method("PopupOpening", &F::PopupOpening);
      info.Method("MeasureItem", &F::MeasureItem);
      info.Method("DrawItem", &F::DrawItem);
      info.Method("FormKeyDown", &F::FormKeyDown);
      return true;
    }();
    (void)published;
    return info;
  }
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  void ItemClick(TObject* sender) { clicked.push_back(static_cast<TComponent*>(sender)->Name()); }
  void PopupOpening(TObject*) { ++popups; }
  void MeasureItem(TObject*, TCanvas&, int&, int& height)
  {
    ++measured;
    height = kMeasuredHeight;
  }
  void DrawItem(TObject*, TCanvas& canvas, const gfx::TRect& rect, bool selected)
  {
    drawnSelected = drawnSelected || selected;
    ++drawn;
    canvas.Brush.Color = gfx::TColor(kDrawnColour);
    canvas.FillRect(rect);
  }
  void FormKeyDown(TObject*, uint16_t& key, TShiftState)
  {
    if (swallowKey && key == swallowKey)
      key = 0;
  }

  TMenuItem *mnuFile = nullptr, *mnuOpen = nullptr, *mnuDisabled = nullptr, *mnuHidden = nullptr,
            *mnuExit = nullptr, *mnuFast = nullptr, *mnuSlow = nullptr, *mnuLoud = nullptr, *popFirst = nullptr,
            *popSecond = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TPanel* Panel1 = nullptr;
  TEdit* Edit1 = nullptr;

  std::vector<std::string> clicked;
  int popups = 0, measured = 0, drawn = 0;
  bool drawnSelected = false;
  uint16_t swallowKey = 0;
};

// Pumps through the application's own loop, where shortcuts are handled.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 3000)
{
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (!condition()) {
    if (int32_t(GetTickCount() - end) > 0)
      return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void Pump(int milliseconds)
{
  PumpUntil([] { return false; }, milliseconds);
}

// The system's pop-up menu window once it shows.
HWND WaitForMenuWindow(int milliseconds = 3000)
{
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (int32_t(GetTickCount() - end) < 0) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu))
      return menu;
    Sleep(10);
  }
  return nullptr;
}

POINT Centre(const RECT& r)
{
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Keys sent in one go, so that a menu loop the first of them opens finds
// the rest already waiting.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
  for (auto [key, up] : keys)
    ASSERT_TRUE(testsupport::SendKey(key, up));
}

class MenusTest : public ::testing::Test {
protected:
  static void SetUpTestSuite()
  {
    Application->Initialize();
    RegisterComponentClass(TMenuTestForm::ClassType());
  }
  void SetUp() override
  {
    form = new TMenuTestForm(Application);
    form->ReadDescription(kDescription);
    form->Show();
    ASSERT_TRUE(testsupport::BringToFront(form->Handle()));
  }
  void TearDown() override { delete form; }

  [[nodiscard]] HMENU Bar() const { return GetMenu(form->Handle()); }
  [[nodiscard]] std::wstring ItemText(HMENU menu, int index) const
  {
    wchar_t text[128] = {};
    GetMenuStringW(menu, UINT(index), text, 128, MF_BYPOSITION);
    return text;
  }
  [[nodiscard]] UINT ItemState(TMenuItem* item) const
  {
    return GetMenuState(item->Parent()->Handle(), item->Command(), MF_BYCOMMAND);
  }

  testsupport::TCursorRestorer cursor;
  TMenuTestForm* form = nullptr;
};

TEST_F(MenusTest, TheDescriptionBuildsTheBarAndItsDropDowns)
{
  ASSERT_EQ(Bar(), form->MainMenu1->Handle());
  ASSERT_EQ(GetMenuItemCount(Bar()), 2);
  EXPECT_EQ(ItemText(Bar(), 0), L"&File");
  HMENU file = GetSubMenu(Bar(), 0);
  ASSERT_EQ(file, form->mnuFile->Handle());
  // The invisible item is left out of the Win32 menu.
  ASSERT_EQ(GetMenuItemCount(file), 4);
  EXPECT_EQ(ItemText(file, 0), L"&Open...\tCtrl+O");
  EXPECT_EQ(GetMenuItemID(file, 0), form->mnuOpen->Command());
  EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(ItemState(form->mnuDisabled) & MF_GRAYED);
  EXPECT_TRUE(ItemState(form->mnuFast) & MF_CHECKED);
  EXPECT_FALSE(ItemState(form->mnuSlow) & MF_CHECKED);

  EXPECT_EQ(form->MainMenu1->FindItem(form->mnuSlow->Command(), fkCommand), form->mnuSlow);
  EXPECT_EQ(form->MainMenu1->FindItem(UINT_PTR(file), fkHandle), form->mnuFile);
  EXPECT_EQ(form->MainMenu1->FindItem(scCtrl | 'O', fkShortCut), form->mnuOpen);
  EXPECT_EQ(form->mnuFile->Find("Exit"), form->mnuExit);
  EXPECT_EQ(GetStrProp(*form->mnuOpen, "Caption"), "&Open...");
  EXPECT_EQ(GetStrProp(*form->mnuOpen, "ShortCut"), "Ctrl+O");

  // Written back, the tree nests as it was read.
  const std::string written = WriteFormDescription(DescribeComponentTree(*form));
  const TFormObject again = ParseFormDescription(written);
  const TFormObject* exit = again.FindChild("MainMenu1") ? again.FindChild("MainMenu1")->FindChild("mnuExit") : nullptr;
  ASSERT_NE(exit, nullptr) << written;
  EXPECT_NE(again.FindChild("mnuFile")->FindChild("mnuExit"), nullptr);
  EXPECT_NE(written.find("Menu = MainMenu1"), std::string::npos);
  EXPECT_NE(written.find("PopupMenu = PopupMenu1"), std::string::npos);
  EXPECT_NE(written.find("ShortCut = \"F5\""), std::string::npos);
}

TEST_F(MenusTest, TheBarAddsToTheWindowNotToTheClientArea)
{
  EXPECT_EQ(form->ClientWidth(), 420);
  EXPECT_EQ(form->ClientHeight(), 300);
  const int height = form->Height();
  form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(form->ClientHeight(), 300);
  EXPECT_LT(form->Height(), height);
  form->SetMenu(form->MainMenu1);
  EXPECT_EQ(form->ClientHeight(), 300);
  EXPECT_EQ(form->Height(), height);
}

TEST_F(MenusTest, ClicksWithTheMouseReachTheItems)
{
  RECT fileRect{};
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), Bar(), 0, &fileRect));
  HMENU file = form->mnuFile->Handle();
  std::atomic<bool> clickedItem{false};
  std::string hintWhileOpen;
  form->mnuExit->OnClick = TNotifyEvent([&](TObject*) { hintWhileOpen = Application->Hint(); });
  // The menu loop runs inside the press on the bar; the item is clicked
  // from another thread once the drop-down shows.
  std::thread user([&] {
    testsupport::Click(Centre(fileRect));
    if (!WaitForMenuWindow())
      return;
    RECT item{};
    if (GetMenuItemRect(nullptr, file, 0, &item) && testsupport::MoveMouse(Centre(item))) {
      Sleep(100);
      clickedItem = testsupport::Click(Centre(item));
    }
  });
  const bool opened = PumpUntil([&] { return !form->clicked.empty(); }, 8000);
  user.join();
  ASSERT_TRUE(clickedItem);
  ASSERT_TRUE(opened);
  EXPECT_EQ(form->clicked, std::vector<std::string>{"mnuOpen"});
  // The menu closed: no hint stays behind.
  EXPECT_EQ(Application->Hint(), "");
}

TEST_F(MenusTest, AltWithALetterOpensTheBarAndALetterChoosesTheItem)
{
  form->Edit1->SetFocus();
  SendKeys({{VK_MENU, false}, {'M', false}, {'M', true}, {VK_MENU, true}, {'S', false}, {'S', true}});
  ASSERT_TRUE(PumpUntil([&] { return !form->clicked.empty(); }));
  EXPECT_EQ(form->clicked, std::vector<std::string>{"mnuSlow"});
  EXPECT_TRUE(form->mnuSlow->Checked());
  EXPECT_FALSE(form->mnuFast->Checked());

  // A control claiming the letter keeps the bar shut.
  int claimed = 0;
  const TWndMethod previous = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR && (m.WParam == 'f' || m.WParam == 'F')) {
      ++claimed;
      m.Result = 1;
      return;
    }
    previous(m);
  };
  SendKeys({{VK_MENU, false}, {'F', false}, {'F', true}, {VK_MENU, true}, {'O', false}, {'O', true}});
  Pump(300);
  form->WindowProc = previous;
  EXPECT_EQ(claimed, 1);
  EXPECT_EQ(form->clicked.size(), 1u);
}

TEST_F(MenusTest, ShortCutsWorkWithTheFocusAnywhere)
{
  form->Edit1->SetFocus();
  SendKeys({{VK_CONTROL, false}, {'O', false}, {'O', true}, {VK_CONTROL, true}});
  ASSERT_TRUE(PumpUntil([&] { return form->clicked.size() == 1; }));
  // The pop-up menu of the edit's parent panel has shortcuts too.
  SendKeys({{VK_CONTROL, false}, {'2', false}, {'2', true}, {VK_CONTROL, true}});
  ASSERT_TRUE(PumpUntil([&] { return form->clicked.size() == 2; }));
  SendKeys({{VK_F5, false}, {VK_F5, true}});
  ASSERT_TRUE(PumpUntil([&] { return form->clicked.size() == 3; }));
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"mnuOpen", "popSecond", "mnuLoud"}));
  EXPECT_TRUE(form->mnuLoud->Checked());
  EXPECT_TRUE(ItemState(form->mnuLoud) & MF_CHECKED);

  // Disabled and invisible items keep still; the key reaches the edit.
  SendKeys({{VK_CONTROL, false}, {'D', false}, {'D', true}, {'H', false}, {'H', true}, {VK_CONTROL, true}});
  Pump(200);
  EXPECT_EQ(form->clicked.size(), 3u);

  // A form that previews keys sees a shortcut first and may keep it.
  form->SetKeyPreview(true);
  form->swallowKey = 'O';
  SendKeys({{VK_CONTROL, false}, {'O', false}, {'O', true}, {VK_CONTROL, true}});
  Pump(200);
  EXPECT_EQ(form->clicked.size(), 3u);
  form->swallowKey = 0;
  SendKeys({{VK_CONTROL, false}, {'O', false}, {'O', true}, {VK_CONTROL, true}});
  EXPECT_TRUE(PumpUntil([&] { return form->clicked.size() == 4; }));
}

TEST_F(MenusTest, RadioItemsOfAGroupExcludeEachOther)
{
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->mnuSlow->Command(), 0), 0);
  EXPECT_TRUE(form->mnuSlow->Checked());
  EXPECT_FALSE(form->mnuFast->Checked());
  EXPECT_TRUE(ItemState(form->mnuSlow) & MF_CHECKED);
  EXPECT_FALSE(ItemState(form->mnuFast) & MF_CHECKED);
  // Not in the group: untouched.
  form->mnuLoud->SetChecked(true);
  form->mnuFast->SetChecked(true);
  EXPECT_FALSE(form->mnuSlow->Checked());
  EXPECT_TRUE(form->mnuLoud->Checked());
  // A disabled item's command does nothing.
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->mnuDisabled->Command(), 0), 0);
  EXPECT_TRUE(form->clicked == std::vector<std::string>{"mnuSlow"});
}

TEST_F(MenusTest, ChangingAnItemKeepsTheWin32MenuInStep)
{
  int changes = 0;
  const TWndMethod previous = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    changes += m.Msg == CM_MENUCHANGED ? 1 : 0;
    previous(m);
  };
  form->mnuOpen->SetCaption("&Open folder...");
  EXPECT_EQ(ItemText(form->mnuFile->Handle(), 0), L"&Open folder...\tCtrl+O");
  form->mnuExit->SetEnabled(false);
  EXPECT_TRUE(ItemState(form->mnuExit) & MF_GRAYED);
  form->mnuHidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(form->mnuFile->Handle()), 5);
  auto* added = new TMenuItem(form);
  added->SetCaption("&Help");
  form->MainMenu1->Items()->Add(added);
  EXPECT_EQ(GetMenuItemCount(Bar()), 3);
  EXPECT_EQ(ItemText(Bar(), 2), L"&Help");
  EXPECT_EQ(Bar(), form->MainMenu1->Handle());
  delete added;
  EXPECT_EQ(GetMenuItemCount(Bar()), 2);
  form->WindowProc = previous;
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(form->ClientHeight(), 300);
}

TEST_F(MenusTest, TheSelectedItemsHintBecomesTheApplicationsHint)
{
  std::vector<std::string> hints;
  Application->OnHint = TNotifyEvent([&](TObject*) { hints.push_back(Application->Hint()); });
  HMENU file = form->mnuFile->Handle();
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), LPARAM(Bar()));
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(form->mnuOpen->Command(), MF_STRING), LPARAM(file));
  // An item without a hint clears it; closing the menu leaves it clear.
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(form->mnuExit->Command(), MF_STRING), LPARAM(file));
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(form->mnuOpen->Command(), MF_STRING), LPARAM(file));
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  Application->OnHint = TNotifyEvent();
  EXPECT_EQ(hints, (std::vector<std::string>{"What to do with files", "Opens a file", "", "Opens a file", ""}));
  EXPECT_EQ(Application->Hint(), "");
}

TEST_F(MenusTest, ARightClickOpensTheOwnerDrawnPopupMenu)
{
  RECT panel{};
  GetWindowRect(form->Panel1->Handle(), &panel);
  const POINT at{panel.right - 60, panel.bottom - 60};
  uint32_t firstColour = 0;
  int firstHeight = 0;
  std::thread user([&] {
    testsupport::Click(at, testsupport::TMouseButton::Right);
    if (!WaitForMenuWindow())
      return;
    Sleep(200);
    RECT item{};
    if (!GetMenuItemRect(nullptr, form->PopupMenu1->Handle(), 0, &item))
      return;
    firstHeight = item.bottom - item.top;
    firstColour = testsupport::CaptureScreen(item).At(2, 2);
    testsupport::Click(Centre(item));
  });
  const bool clicked = PumpUntil([&] { return !form->clicked.empty(); }, 8000);
  user.join();
  ASSERT_TRUE(clicked);
  EXPECT_EQ(form->popups, 1);
  EXPECT_EQ(form->PopupMenu1->PopupComponent(), form->Panel1);
  EXPECT_EQ(form->clicked, std::vector<std::string>{"popFirst"});
  EXPECT_GE(form->measured, 1);
  EXPECT_GE(form->drawn, 1);
  EXPECT_EQ(firstHeight, kMeasuredHeight);
  EXPECT_EQ(firstColour, testsupport::RgbOf(kDrawnColour));
  // The second item has no handlers: it measures itself from its caption.
  TCanvas canvas;
  canvas.Font = Screen->MenuFont()->Value();
  int width = 0, height = 0;
  form->popSecond->MeasureItem(canvas, width, height);
  EXPECT_GT(width, CanvasTextWidth(canvas, "Second") + CanvasTextWidth(canvas, "Ctrl+2"));
  EXPECT_GE(height, 16);
}

// An item's own look, drawn on a bitmap in the menu's coordinates as
// WM_DRAWITEM has it drawn.
class MenuItemLook : public ::testing::Test {
protected:
  static void SetUpTestSuite() { Application->Initialize(); }
  void SetUp() override
  {
    images.SetWidth(16);
    images.SetHeight(16);
    TBitmap glyph(16, 16);
    glyph.Canvas().Brush.Color = gfx::clFuchsia;
    glyph.Canvas().FillRect(gfx::TRect(0, 0, 16, 16));
    glyph.Canvas().Brush.Color = kGlyph;
    glyph.Canvas().FillRect(gfx::TRect(4, 4, 12, 12));
    images.Add(glyph);
    menu.SetImages(&images);
    menu.Items()->Add(item);
    item->SetCaption("&Item");
  }
  // Draws the item at (10, 40) in a bitmap with the origin moved there, as
  // the framework draws every item; answers the colour at a point of the item.
  gfx::TColor Draw(TOwnerDrawState state, int x, int y)
  {
    TBitmap bitmap(kWidth, kHeight);
    bitmap.Context().OffsetViewportOrg(-10, -40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font = Screen->MenuFont()->Value();
    item->DrawItem(canvas, gfx::TRect(10, 40, 10 + kWidth, 40 + kHeight), state);
    GdiFlush();
    return gfx::PixelToColor(bitmap.ScanLine(y)[x]);
  }
  int CountColour(TOwnerDrawState state, gfx::TColor colour, gfx::TRect area)
  {
    TBitmap bitmap(kWidth, kHeight);
    bitmap.Context().OffsetViewportOrg(-10, -40);
    bitmap.Canvas().Font = Screen->MenuFont()->Value();
    item->DrawItem(bitmap.Canvas(), gfx::TRect(10, 40, 10 + kWidth, 40 + kHeight), state);
    GdiFlush();
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        n += gfx::PixelToColor(bitmap.ScanLine(y)[x]) == gfx::ColorToRGB(colour) ? 1 : 0;
    return n;
  }

  static constexpr int kWidth = 160, kHeight = 22;
  static constexpr gfx::TColor kGlyph = gfx::RGBColor(200, 30, 60);
  TImageList images{nullptr};
  TPopupMenu menu{nullptr};
  TMenuItem* item = new TMenuItem(nullptr);
};

TEST_F(MenuItemLook, SelectionDisablingAndGlyphsShow)
{
  const gfx::TRect glyphBox(3, 3, 19, 19);
  EXPECT_EQ(Draw(0, kWidth - 2, 1), gfx::ColorToRGB(gfx::clMenu));
  EXPECT_EQ(Draw(odSelected, kWidth - 2, 1), gfx::ColorToRGB(gfx::clHighlight));
  // No image yet: a checked item shows a mark in the glyph column.
  item->SetChecked(true);
  EXPECT_GT(CountColour(0, gfx::clMenuText, glyphBox), 4);
  EXPECT_EQ(CountColour(0, gfx::clMenuText, gfx::TRect(0, 0, 3, kHeight)), 0);
  // The menu's image replaces the mark, fuchsia left out.
  item->SetImageIndex(0);
  EXPECT_EQ(CountColour(0, kGlyph, glyphBox), 64);
  EXPECT_EQ(Draw(0, 3, 3), gfx::ColorToRGB(gfx::clMenu));
  item->SetEnabled(false);
  EXPECT_EQ(CountColour(0, kGlyph, glyphBox), 0);
  EXPECT_EQ(CountColour(0, gfx::clBtnShadow, glyphBox), 64);
  // The caption is written after the glyph column, greyed when disabled.
  EXPECT_GT(CountColour(0, gfx::clGrayText, gfx::TRect(25, 0, kWidth, kHeight)), 10);
}

TEST_F(MenuItemLook, AdvancedDrawingComesBeforePlainDrawing)
{
  std::vector<std::string> calls;
  item->OnDrawItem = TMenuDrawItemEvent([&](TObject*, TCanvas&, const gfx::TRect&, bool) { calls.push_back("plain"); });
  (void)Draw(0, 0, 0);
  item->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(
      [&](TObject*, TCanvas&, const gfx::TRect& rect, TOwnerDrawState state) {
        calls.push_back("advanced " + std::to_string(rect.Left) + "," + std::to_string(rect.Top) + " " +
                        std::to_string(state));
      });
  (void)Draw(odSelected | odChecked, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"plain", "advanced 10,40 9"}));
}

TEST_F(MenuItemLook, ASystemDrawnItemCarriesItsGlyphAndLettersFindOwnerDrawnItems)
{
  auto* second = new TMenuItem(nullptr);
  second->SetCaption("&Second");
  menu.Items()->Add(second);
  item->SetImageIndex(0);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP;
  ASSERT_TRUE(GetMenuItemInfoW(menu.Handle(), item->Command(), FALSE, &info));
  EXPECT_NE(info.hbmpItem, nullptr);
  ASSERT_TRUE(GetMenuItemInfoW(menu.Handle(), second->Command(), FALSE, &info));
  EXPECT_EQ(info.hbmpItem, nullptr);
  // An item's own bitmap serves where the menu has no image for it.
  second->Bitmap().SetSize(12, 12);
  second->BitmapChanged();
  ASSERT_TRUE(GetMenuItemInfoW(menu.Handle(), second->Command(), FALSE, &info));
  EXPECT_NE(info.hbmpItem, nullptr);
  EXPECT_EQ(menu.Items()->IndexOf(second), 1);
  // Owner-drawn items have no text: the typed letter is matched here.
  EXPECT_EQ(MenuCharToItem(L's', menu.Handle()), 0);
  menu.SetOwnerDraw(true);
  EXPECT_EQ(MenuCharToItem(L's', menu.Handle()), MAKELRESULT(1, MNC_EXECUTE));
  EXPECT_EQ(MenuCharToItem(L'I', menu.Handle()), MAKELRESULT(0, MNC_EXECUTE));
  EXPECT_EQ(MenuCharToItem(L'z', menu.Handle()), 0);
}

TEST(MenusLifetime, AMenuFreedWithItsFormLeavesNoHandleBehind)
{
  Application->Initialize();
  auto* form = new TMenuTestForm(Application);
  form->ReadDescription(kDescription);
  form->Show();
  std::vector<HMENU> menus{GetMenu(form->Handle()), form->mnuFile->Handle(), form->PopupMenu1->Handle()};
  // A change builds new handles; the old ones are freed at once.
  form->mnuOpen->SetCaption("Again");
  menus.push_back(form->mnuFile->Handle());
  menus.push_back(form->MainMenu1->Handle());
  HMENU before = menus[0];
  EXPECT_FALSE(IsMenu(before));
  const UINT command = form->mnuOpen->Command();
  delete form;
  for (HMENU menu : menus)
    EXPECT_FALSE(IsMenu(menu));
  EXPECT_EQ(FindMenuItem(command), nullptr);

  // A menu freed before its form takes itself off the window.
  form = new TMenuTestForm(Application);
  form->ReadDescription(kDescription);
  form->Show();
  const int clientHeight = form->ClientHeight();
  HMENU bar = GetMenu(form->Handle());
  delete form->MainMenu1;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(form->ClientHeight(), clientHeight);
  delete form;
}

} // namespace
