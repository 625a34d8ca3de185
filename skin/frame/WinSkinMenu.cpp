#include "skin/frame/WinSkinMenu.h"

#include "framework/ShortCut.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Menus.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int32_t kPlainStart = 6;
constexpr int32_t kNarrowStart = 12;
constexpr int32_t kCaptionPadding = 10;
constexpr size_t kMaxItemText = 80;
constexpr int32_t kMdiButtonsGap = 5;

HFONT MenuFont() { return framework::Screen ? framework::Screen->MenuFont()->Handle() : nullptr; }

TMenuBtnInfo ReadSystemItem(HMENU menu, UINT position)
{
  wchar_t text[kMaxItemText + 1] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = UINT(kMaxItemText);
  TMenuBtnInfo button;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info))
    return button;
  button.Caption = text;
  button.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
  button.Command = info.wID;
  button.DropDown = info.hSubMenu;
  return button;
}

// A form's own item knows better than the system menu built from it.
void TakeFrameworkItem(TMenuBtnInfo& button, framework::TMenuItem& item)
{
  button.Item = &item;
  button.Caption = framework::Utf8ToWide(item.Caption());
  button.Enabled = item.Enabled();
  button.DropDown = item.Count() > 0 ? item.Handle() : nullptr;
}

int32_t TextWidth(HDC dc, const std::wstring& text)
{
  if (text.empty())
    return 0;
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
  return r.right - r.left;
}

COLORREF Colour(const TSkinData& data, TSkinColorIndex which) { return framework::ColorToCOLORREF(data.Color(which)); }

// The left and right parts at their width, the middle columns repeated
// between them; every part stretched to the bar's height.
void PaintInThreeParts(HDC dc, HDC source, const gfx::TRect& frame, const TDataSkinObject& element, int32_t width,
                       int32_t height)
{
  const int32_t left = std::clamp(element.LeftWidth, 0, frame.Width());
  const int32_t right = std::clamp(element.RightWidth, 0, frame.Width() - left);
  const int32_t middle = frame.Width() - left - right;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, left, height, source, frame.Left, frame.Top, left, frame.Height(), SRCCOPY);
  if (middle > 0)
    for (int32_t x = left; x < width - right; x += middle)
      StretchBlt(dc, x, 0, std::min(middle, width - right - x), height, source, frame.Left + left, frame.Top,
                 std::min(middle, width - right - x), frame.Height(), SRCCOPY);
  StretchBlt(dc, width - right, 0, right, height, source, frame.Right - right, frame.Top, right, frame.Height(),
             SRCCOPY);
}

} // namespace

int32_t MenuBarStart(const TDataSkinObject* menuBar, int32_t barWidth, bool rightToLeft)
{
  if (!menuBar || menuBar->Image.Empty())
    return kPlainStart;
  const int32_t start = rightToLeft ? menuBar->RightWidth + 8 : menuBar->LeftWidth + 4;
  return barWidth < start ? kNarrowStart : start;
}

TWinSkinMenu::TWinSkinMenu(TCaptionHost& host, framework::TMainMenu* menu) : host_(host), menu_(menu) {}

TWinSkinMenu::~TWinSkinMenu() = default;

// ----- Building ---------------------------------------------------------------------

void TWinSkinMenu::Build() { ReadButtons(GetMenu(host_.Window()), false); }

void TWinSkinMenu::BuildAfterMdiSetMenu() { ReadButtons(GetMenu(host_.Window()), true); }

void TWinSkinMenu::Rebuild()
{
  if (windowMenu_ && IsMenu(windowMenu_))
    ReadButtons(windowMenu_, false);
}

void TWinSkinMenu::ReadButtons(HMENU menu, bool textFirst)
{
  if (!menu)
    return;
  HWND window = host_.Window();
  hot_ = nullptr;
  buttons_.clear();
  windowMenu_ = menu;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    TMenuBtnInfo info = ReadSystemItem(menu, UINT(i));
    framework::TMenuItem* item = menu_ ? menu_->FindItem(info.Command, framework::fkCommand) : nullptr;
    if (item && (!textFirst || info.Caption.empty()))
      TakeFrameworkItem(info, *item);
    buttons_.push_back(std::make_unique<TMenuBtn>(*this, i, std::move(info)));
  }
  // From now on the system has no bar to draw or to hit-test.
  if (GetMenu(window))
    SetMenu(window, nullptr);
}

void TWinSkinMenu::GiveBack()
{
  hot_ = nullptr;
  buttons_.clear();
  HWND window = host_.Window();
  if (windowMenu_ && IsWindow(window) && !GetMenu(window))
    SetMenu(window, windowMenu_);
  windowMenu_ = nullptr;
}

// ----- Finding buttons --------------------------------------------------------------

TMenuBtn* TWinSkinMenu::ButtonAt(gfx::TPoint windowPoint) const
{
  for (const auto& button : buttons_)
    if (button->Visible() && !button->Caption().empty() && button->Contains(windowPoint))
      return button.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonByAccel(wchar_t key) const
{
  for (const auto& button : buttons_)
    if (button->Visible() && button->Enabled() &&
        framework::IsAccel(char32_t(key), framework::WideToUtf8(button->Caption())))
      return button.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::Neighbour(int index, int step) const
{
  const int count = int(buttons_.size());
  for (int n = 1; n <= count; ++n) {
    TMenuBtn& candidate = *buttons_[size_t(((index + step * n) % count + count) % count)];
    if (candidate.Visible() && !candidate.Caption().empty())
      return &candidate;
  }
  return nullptr;
}

// ----- The hot button ---------------------------------------------------------------

void TWinSkinMenu::SetHot(TMenuBtn* button)
{
  if (hot_ == button)
    return;
  if (hot_)
    hot_->Leave();
  hot_ = button;
}

bool TWinSkinMenu::MouseMove(gfx::TPoint windowPoint)
{
  TMenuBtn* button = ButtonAt(windowPoint);
  SetHot(button);
  if (button)
    button->Enter();
  return button != nullptr;
}

void TWinSkinMenu::LeaveHot() { SetHot(nullptr); }

// ----- Painting ---------------------------------------------------------------------

void TWinSkinMenu::Paint(HDC dc, const gfx::TRect& rect)
{
  const int32_t width = rect.Width();
  const int32_t height = rect.Height();
  if (width <= 0 || height <= 0)
    return;
  rect_ = rect;
  for (framework::TBitmap* bitmap : {&work_, &background_})
    if (bitmap->Width() != width || bitmap->Height() != height) {
      bitmap->SetPixelFormat(framework::pf24bit);
      bitmap->SetSize(width, height);
    }
  if (!work_.NativeHandle() || !background_.NativeHandle())
    return;
  gfx::win32::TBitmapDC work(work_.NativeHandle());
  PaintBackground(work.Get(), width, height);
  {
    gfx::win32::TBitmapDC saved(background_.NativeHandle());
    BitBlt(saved.Get(), 0, 0, width, height, work.Get(), 0, 0, SRCCOPY);
  }
  LayOut(work.Get(), width);
  // A maximised MDI child's caption buttons are drawn into the bar by the
  // MDI frame's skinning, which this bar leaves to it.
  const framework::TUnmirroredDC unmirrored(dc);
  BitBlt(dc, rect.Left, rect.Top, width, height, work.Get(), 0, 0, SRCCOPY);
}

void TWinSkinMenu::PaintBackground(HDC dc, int32_t width, int32_t height) const
{
  const TSkinData& data = host_.SkinData();
  const TDataSkinObject* element = data.MenuBar.get();
  if (!element || element->Image.Empty() || !element->Image.NativeHandle()) {
    framework::TGdiBrush brush(CreateSolidBrush(Colour(data, scMenubar)));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush.Get());
    return;
  }
  const int32_t frame = host_.Active() ? 1 : 2;
  if (element->Tile == 1) {
    win32::ElementDraw(dc, {0, 0, width, height}, element->Image, true, true, false, element->FrameCount(), frame,
                       element->Margins());
    return;
  }
  const gfx::TRect source =
    StripFrameRect(element->Image.Width(), element->Image.Height(), true, element->FrameCount(), frame);
  gfx::win32::TBitmapDC image(element->Image.NativeHandle());
  PaintInThreeParts(dc, image.Get(), source, *element, width, height);
}

void TWinSkinMenu::LayOut(HDC dc, int32_t width)
{
  framework::TSelectObject font(dc, MenuFont() ? static_cast<HGDIOBJ>(MenuFont()) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const bool rightToLeft = host_.RightToLeft();
  const int32_t start = MenuBarStart(host_.SkinData().MenuBar.get(), width, rightToLeft);
  int32_t x = rightToLeft ? width - start : start;
  // A maximised document's buttons sit at the bar's right end.
  if (const auto buttons = host_.MenuBarButtonsLeft(); rightToLeft && buttons)
    x = std::min(x, *buttons - kMdiButtonsGap - rect_.Left);
  for (auto& button : buttons_) {
    if (!button->Visible()) {
      button->SetRect({});
      continue;
    }
    const int32_t cell = button->Caption().empty() ? 0 : TextWidth(dc, button->Caption()) + kCaptionPadding;
    const RECT r = rightToLeft ? RECT{x - cell, 0, x, rect_.Height() - 1} : RECT{x, 0, x + cell, rect_.Height() - 1};
    x += rightToLeft ? -cell : cell;
    DrawCaption(dc, *button, r);
    button->SetRect({rect_.Left + r.left, rect_.Top + r.top, rect_.Left + r.right, rect_.Top + r.bottom});
  }
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& button, const RECT& cell) const
{
  const TSkinData& data = host_.SkinData();
  SetTextColor(dc, Colour(data, button.Enabled() ? scMenuBarText : scButtonShadow));
  RECT r = cell;
  DrawTextW(dc, button.Caption().c_str(), int(button.Caption().size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TWinSkinMenu::RedrawButton(const TMenuBtn& button)
{
  const gfx::TRect& r = button.Rect();
  if (r.IsEmpty() || !background_.NativeHandle())
    return;
  framework::TWindowDC dc = framework::TWindowDC::WholeWindow(host_.Window());
  if (!dc.Get())
    return;
  const framework::TUnmirroredDC unmirrored(dc.Get());
  {
    gfx::win32::TBitmapDC saved(background_.NativeHandle());
    BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), saved.Get(), r.Left - rect_.Left, r.Top - rect_.Top,
           SRCCOPY);
  }
  const RECT cell{r.Left, r.Top, r.Right, r.Bottom};
  if (button.DrawState() == dsPressed || button.DrawState() == dsHot) {
    framework::TGdiBrush frame(CreateSolidBrush(Colour(host_.SkinData(), scButtonHilight)));
    FrameRect(dc.Get(), &cell, frame.Get());
  }
  framework::TSelectObject font(dc.Get(),
                                MenuFont() ? static_cast<HGDIOBJ>(MenuFont()) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc.Get(), TRANSPARENT);
  DrawCaption(dc.Get(), button, cell);
}

void TMenuBtn::Redraw() { bar_.RedrawButton(*this); }

} // namespace skin
