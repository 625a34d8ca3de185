#include "skin/controls/SkinComBox.h"

#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/frame/WinSkinForm.h"

#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"

#include <windowsx.h>

namespace skin {

namespace {

RECT ToRECT(const gfx::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// Where the system puts a combo box's parts; looked up by name, as not every
// user32 exports it. False when it is missing or the window is no combo box
// of the system's.
using TGetComboBoxInfo = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
bool ComboBoxInfo(HWND window, COMBOBOXINFO& info)
{
  static const auto function = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<TGetComboBoxInfo>(
                      reinterpret_cast<void*>(GetProcAddress(user32, "GetComboBoxInfo")))
                  : nullptr;
  }();
  info = {};
  info.cbSize = sizeof info;
  return function && function(window, &info);
}

TElementMargins MirroredMargins(const TElementMargins& m)
{
  return {m.RightWidth, m.TopHeight, m.LeftWidth, m.BottomHeight};
}

bool HasImage(const TDataSkinObject* element) { return element && !element->Image.Empty(); }

} // namespace

// The edit of a drop-down combo box whose window is not a Unicode one: its
// presses and paints show on the combo's button as the combo's own do.
class TSkinComBox::TEditChildHook final : public framework::TSubclass {
public:
  explicit TEditChildHook(TSkinComBox& owner) : owner_(owner) {}

private:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    const LRESULT result = CallPrevious(message, wParam, lParam);
    if (!owner_.SkinActive())
      return result;
    switch (message) {
    case WM_PAINT:
      owner_.PaintNow(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      owner_.SetPressed(true);
      break;
    case WM_LBUTTONUP:
      owner_.SetPressed(false);
      break;
    default:
      break;
    }
    return result;
  }

  TSkinComBox& owner_;
};

TSkinComBox::TSkinComBox(bool foreign) : foreign_(foreign) {}

TSkinComBox::~TSkinComBox() = default;

// ----- Attaching ----------------------------------------------------------------------

void TSkinComBox::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  AttachParts(true);
}

void TSkinComBox::AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window)
{
  TSkinControl::AttachWindow(form, data, window);
  AttachParts(false);
}

void TSkinComBox::AttachParts(bool frameworkControl)
{
  const uint32_t style = uint32_t(GetWindowLongPtrW(Window(), GWL_STYLE));
  COMBOBOXINFO info{};
  if (frameworkControl && ComboBoxInfo(Window(), info) && info.hwndList) {
    const uint32_t listStyle = uint32_t(GetWindowLongPtrW(info.hwndList, GWL_STYLE));
    const TComboListBar bar = ComboListBar(style, listStyle, GetParent(info.hwndList) == GetDesktopWindow());
    if (bar != clbNone)
      AttachListBar(info.hwndList, bar);
  }
  // Whether the window was a Unicode one when the companion came, before
  // its own subclass made it one.
  if ((style & 0x3) == CBS_SIMPLE || unicode_)
    return;
  const HWND edit = GetWindow(Window(), GW_CHILD);
  if (!edit)
    return;
  editHook_ = std::make_unique<TEditChildHook>(*this);
  try {
    editHook_->Install(edit);
  } catch (const std::exception&) {
    // An edit that cannot be subclassed only misses the pressed look.
    editHook_.reset();
  }
}

// The list's scroll bar: painted in the list's own frame for a dropped-down
// list, overlays for the list of a simple combo box, which scrolls as any
// list does.
void TSkinComBox::AttachListBar(HWND list, TComboListBar kind)
{
  if (!(Data().SkinControls() & Bit(xcScrollbar)) || Form()->HasCompanionFor(list))
    return;
  std::unique_ptr<TSkinControl> bar;
  if (kind == clbDropDownList)
    bar = std::make_unique<TComboxScrollBar>();
  else
    bar = std::make_unique<TSkinScrollbarH>();
  bar->AttachWindow(*Form(), Data(), list);
  Form()->RegisterCompanion(std::move(bar));
}

void TSkinComBox::Unskin()
{
  TSkinControl::Unskin();
  editHook_.reset();
}

// ----- State --------------------------------------------------------------------------

void TSkinComBox::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    // The control repaints what focus changes itself.
    break;
  case WM_COMMAND:
    // A drop-down combo's focus is in its edit, and the control does not
    // repaint its button when the focus comes or goes.
    if (HIWORD(message.WParam) == EN_SETFOCUS || HIWORD(message.WParam) == EN_KILLFOCUS)
      Repaint();
    break;
  case WM_MOUSEMOVE:
    FollowMouse(message.LParam);
    break;
  case WM_DRAWITEM:
  case WM_NCPAINT:
    Repaint();
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    SetPressed(true);
    break;
  case WM_LBUTTONUP:
    SetPressed(false);
    break;
  case WM_MOUSELEAVE:
  case framework::CM_MOUSELEAVE:
    if (look_ & lbHot)
      SetHot(false);
    break;
  case framework::CN_COMMAND:
    if (HIWORD(message.WParam) == CBN_DROPDOWN)
      droppedDown_ = true;
    else if (HIWORD(message.WParam) == CBN_CLOSEUP)
      droppedDown_ = false;
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinComBox::FollowMouse(LPARAM position)
{
  const gfx::TPoint origin = ClientOrigin();
  const gfx::TPoint at(GET_X_LPARAM(position) + origin.X, GET_Y_LPARAM(position) + origin.Y);
  const bool over = hotRect_.Contains(at) && !HasStyle(WS_DISABLED);
  if (over != bool(look_ & lbHot))
    SetHot(over);
}

void TSkinComBox::SetHot(bool hot)
{
  if (hot) {
    look_ |= lbHot;
    AskForLeaveNotice(Window());
  } else {
    look_ &= uint8_t(~lbHot);
  }
  Repaint();
}

void TSkinComBox::SetPressed(bool pressed)
{
  if (pressed)
    look_ |= lbPressed;
  else
    look_ &= uint8_t(~lbPressed);
  Repaint();
}

TPartLook TSkinComBox::Look() const
{
  return ComboLook(!enabledLook_, (look_ & lbPressed) != 0, (look_ & lbHot) != 0 || focused_);
}

bool TSkinComBox::LeftButton() const
{
  return (GetWindowLongPtrW(Window(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
}

gfx::TPoint TSkinComBox::ClientOrigin() const
{
  POINT origin{0, 0};
  RECT window{};
  ClientToScreen(Window(), &origin);
  GetWindowRect(Window(), &window);
  return {origin.x - window.left, origin.y - window.top};
}

gfx::TRect TSkinComBox::InWindow(const RECT& client) const
{
  const gfx::TPoint origin = ClientOrigin();
  return gfx::TRect(client.left, client.top, client.right, client.bottom).Translated(origin.X, origin.Y);
}

// ----- Painting -----------------------------------------------------------------------

void TSkinComBox::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  const TDataSkinBorder* button = Data().ComboButton.get();
  if (!HasImage(button))
    return;
  ReadWindowState();
  // A drop-down combo's focus is in its edit.
  const HWND focus = GetFocus();
  focused_ = focus && (focus == Window() || IsChild(Window(), focus));
  COMBOBOXINFO info{};
  const bool system = ComboBoxInfo(Window(), info);
  gfx::TRect systemButton;
  if (system) {
    if (info.stateButton & STATE_SYSTEM_INVISIBLE)
      return;
    systemButton = InWindow(info.rcButton);
    hotRect_ = systemButton;
  }
  // The flat style stands on the system's button; a combo of another family
  // has none, and shows its own button window instead.
  if (button->Style == 1 && system)
    DrawFlat(dc, rect, systemButton);
  else if (foreign_)
    DrawForeign(dc, rect);
  else if (button->Style == 2)
    DrawWhole(dc, rect);
  else if (button->Style != 1)
    DrawSunk(dc, rect);
}

void TSkinComBox::DrawButtonFrame(HDC dc, const gfx::TRect& target) const
{
  const TDataSkinBorder& button = *Data().ComboButton;
  const int32_t frames = button.FrameCount();
  const TPartLook look = Look();
  if (LeftButton() && !button.Image2.Empty())
    win32::ElementDraw(dc, target, button.Image2, false, button.Tile == 1, true, frames, MirroredFrame(look, frames),
                       MirroredMargins(button.Margins()));
  else
    win32::ElementDraw(dc, target, button.Image, false, button.Tile == 1, true, frames, look, button.Margins());
}

void TSkinComBox::DrawFlat(HDC dc, const gfx::TRect& rect, const gfx::TRect& systemButton)
{
  // The ring inside the shadow and the column under the button take the
  // DC's brush, the colour the control's own area is filled with.
  const auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  const RECT ring = ToRECT(Deflated(rect, 1));
  FrameRect(dc, &ring, brush);
  const RECT column = ToRECT(FlatComboColumn(rect, GetSystemMetrics(SM_CYVTHUMB), LeftButton()));
  FillRect(dc, &column, brush);
  FrameColour(dc, rect, Data().Color(scButtonShadow));
  const TDataSkinBorder& button = *Data().ComboButton;
  const gfx::TRect frame = StripFrameRect(button.Image.Width(), button.Image.Height(), false, button.FrameCount(), 1);
  const gfx::TRect target = FlatComboButton(systemButton, frame.Width(), button.Image.Height(), LeftButton());
  DrawButtonFrame(dc, target);
  hotRect_ = target;
}

void TSkinComBox::DrawForeign(HDC dc, const gfx::TRect& rect) const
{
  RECT client{};
  GetClientRect(Window(), &client);
  if (HasBorder({client.right - client.left, client.bottom - client.top}, {rect.Width(), rect.Height()}))
    FrameSkinBorder(dc, rect, 2);
  const HWND child = GetWindow(Window(), GW_CHILD);
  RECT childRect{}, window{};
  if (!child || !GetWindowRect(child, &childRect) || !GetWindowRect(Window(), &window))
    return;
  const gfx::TRect target =
    gfx::TRect(childRect.left, childRect.top, childRect.right, childRect.bottom).Translated(-window.left, -window.top);
  FillSkinColour(dc, target);
  const TDataSkinObject* arrow = Data().ComboxArrow.get();
  if (HasImage(arrow))
    win32::ElementDraw(dc, target, arrow->Image, false, false, false, arrow->FrameCount(), Look(), {});
}

void TSkinComBox::DrawWhole(HDC dc, const gfx::TRect& rect) const
{
  // The skin keeps the whole control mirrored in its sunken edge.
  const bool left = LeftButton() && HasImage(Data().SunkEdge.get());
  const TDataSkinObject& element = left ? *Data().SunkEdge : *Data().ComboButton;
  const int32_t frames = element.FrameCount();
  win32::ElementDraw(dc, rect, element.Image, false, element.Tile == 1, true, frames,
                     left ? MirroredFrame(Look(), frames) : int32_t(Look()), element.Margins());
}

void TSkinComBox::DrawSunk(HDC dc, const gfx::TRect& rect)
{
  const TSunkComboLayout layout =
    SunkComboLayout(rect.Width(), rect.Height(), GetSystemMetrics(SM_CXHSCROLL), LeftButton());
  const TPartLook look = Look();
  const win32::TSavedDC saved(dc);
  ExcludeClipRect(dc, layout.Text.Left, layout.Text.Top, layout.Text.Right, layout.Text.Bottom);
  if (const TDataSkinObject* edge = Data().SunkEdge.get(); HasImage(edge))
    win32::ElementDraw(dc, rect, edge->Image, false, edge->Tile == 1, edge->Trans == 1, edge->FrameCount(), look,
                       edge->Margins());
  DrawButtonFrame(dc, layout.Button);
  hotRect_ = layout.Button;
  const TDataSkinObject* extra = Data().ExtraImages.get();
  if (!HasImage(extra))
    return;
  const gfx::TRect glyph = StripFrameRect(extra->Image.Width(), extra->Image.Height(), false, extra->FrameCount(), look);
  win32::ElementDraw(dc, CentredIn(layout.Glyph, glyph.Width(), glyph.Height()), extra->Image, false, false, true,
                     extra->FrameCount(), look, {});
}

} // namespace skin
