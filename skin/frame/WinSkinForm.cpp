#include "skin/frame/WinSkinForm.h"

#include "framework/MuteScope.h"
#include "framework/win32/Forms.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinData.h"
#include "skin/controls/ControlAttach.h"
#include "skin/frame/BarMenuTracking.h"
#include "skin/frame/CaptionButtons.h"
#include "skin/frame/CaptionHostFacts.h"
#include "skin/frame/MdiClientHook.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/win32/SkinDataWin32.h"
#include "skin/win32/SkinManage.h"

#include <windowsx.h>

namespace skin {

namespace {

constexpr uint32_t kTimerIntervalMs = 250;
constexpr UINT kThemeCaptionDrawing = 0xAE;
constexpr UINT kThemeCaptionIcon = 0xAF;

enum TBorderPart : int { bpLeft = 0, bpRight = 1, bpTop = 2, bpBottom = 3 };

gfx::TRect WindowBounds(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

gfx::TPoint ClientSize(HWND window)
{
  RECT r{};
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

LONG_PTR Style(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }

bool IsDialogClass(const std::string& className) { return className == "#32770" || className == "TMessageForm"; }

std::wstring WindowText(HWND window)
{
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

COLORREF ToColorRef(gfx::TColor color)
{
  const gfx::TColor rgb = gfx::ColorToRGB(color);
  return RGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

void CopyBitmapTo(HDC dc, int32_t x, int32_t y, const framework::TBitmap& bitmap)
{
  if (!bitmap.NativeHandle())
    return;
  gfx::win32::TBitmapDC source(bitmap.NativeHandle());
  BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), source.Get(), 0, 0, SRCCOPY);
}

} // namespace

// ----- Attaching --------------------------------------------------------------------

TWinSkinForm::TWinSkinForm(TSkinManage& manager, TSkinData& data, HWND window, std::string className,
                           framework::TForm* form)
  : manager_(manager), data_(data), window_(window), className_(std::move(className)), form_(form),
    buttons_(std::make_unique<TCaptionButtons>(*this)), timer_(std::make_unique<framework::TTimer>(nullptr))
{
  timer_->SetEnabled(false);
  timer_->SetInterval(kTimerIntervalMs);
  timer_->OnTimer = framework::TNotifyEvent([this](framework::TObject* sender) { TimerFired(sender); });
  ReadStyle();
  NoteSystemFrame();
  Install(window_);
  if (form_)
    HookForm();
  if (GetMenu(window_) && !mdiChild_)
    menuHeight_ = GetSystemMetrics(SM_CYMENU);
  // An icon button the skin drew no image for takes the icon's.
  MakeIconBitmap();
  RecomputeGeometry();
  if (mdiChild_)
    CorrectMdiChildMenuHeight();
  AttachMdiClient();
  manager_.SetStartState(msRunning);
  if (!frameSkinning_)
    state_ = fsRunning;
}

TWinSkinForm::~TWinSkinForm()
{
  if (Installed())
    Unskin(false);
}

void TWinSkinForm::ReadStyle()
{
  const LONG_PTR style = Style(window_);
  const LONG_PTR exStyle = ExStyle(window_);
  mdiChild_ = exStyle & WS_EX_MDICHILD;
  rightToLeft_ = exStyle & WS_EX_LAYOUTRTL;
  frameSkinning_ = data_.SkinControls() & Bit(xcMainMenu);
  if (mdiChild_ && (data_.Options() & Bit(xoMDIChildBorder)))
    frameSkinning_ = false;
  if ((style & WS_CAPTION) != WS_CAPTION)
    borderKind_ = fbNoCaption;
  else if ((style & DS_MODALFRAME) || (exStyle & WS_EX_DLGMODALFRAME) || IsDialogClass(className_))
    borderKind_ = fbDialog;
  else if (style & WS_THICKFRAME)
    borderKind_ = fbSizeable;
  else
    borderKind_ = fbFixed;
  borderIcons_ = uint8_t(((style & WS_MAXIMIZEBOX) ? fiMaximize : 0) | ((style & WS_MINIMIZEBOX) ? fiMinimize : 0) |
                         ((exStyle & WS_EX_CONTEXTHELP) ? fiHelp : 0) | ((style & WS_SYSMENU) ? fiSystemMenu : 0));
  ReadShowState();
}

void TWinSkinForm::NoteSystemFrame()
{
  const gfx::TRect bounds = WindowBounds(window_);
  const gfx::TPoint client = ClientSize(window_);
  systemFrameExtra_ = {bounds.Width() - client.X, bounds.Height() - client.Y};
}

void TWinSkinForm::HookForm()
{
  data_.OnBeforeSkinForm(&data_, window_, className_);
  if (data_.SkinControls() & Bit(xcMenuItem))
    form_->SetAutoScroll(false);
  HookFormWindowProc();
  formColor_ = form_->Color();
  form_->SetColor(data_.Color(scButtonFace));
}

// A window framed while it was being created (an MDI document) was not yet
// bound to its form, nor given its system frame.
void TWinSkinForm::AdoptForm()
{
  if (form_)
    return;
  form_ = dynamic_cast<framework::TForm*>(framework::TWinControl::FindControl(window_));
  if (form_)
    HookForm();
}

void TWinSkinForm::ReadShowState()
{
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window_, &placement))
    return;
  switch (placement.showCmd) {
  case SW_SHOWMINIMIZED:
  case SW_MINIMIZE:
  case SW_SHOWMINNOACTIVE: showState_ = ssMinimized; break;
  case SW_SHOWMAXIMIZED: showState_ = ssMaximized; break;
  default: showState_ = ssNormal; break;
  }
}

void TWinSkinForm::RecomputeGeometry()
{
  borders_ = BorderMetricsOf(data_, borderKind_);
  for (auto& cache : borderCache_)
    cache = {};
  buttons_->Rebuild();
}

void TWinSkinForm::DropCaptionButtons() { buttons_->Clear(); }

// A form's own procedure chain carries framework notifications that never
// reach the window procedure (the menu-changed notice among them).
void TWinSkinForm::HookFormWindowProc()
{
  formWindowProc_ = form_->WindowProc;
  form_->WindowProc = [this](framework::TMessage& message) {
    if (message.Msg == framework::CM_DIALOGCHAR) {
      formWindowProc_(message);
      if (!message.Result && DialogCharElsewhere(message.WParam, message.LParam))
        message.Result = 1;
      return;
    }
    if (message.Msg != framework::CM_MENUCHANGED) {
      formWindowProc_(message);
      return;
    }
    {
      framework::TMuteScope<bool> mute(data_.FramePainting, false);
      formWindowProc_(message);
    }
    MenuChanged();
  };
}

// The form built its menu anew (an item changed) and put it on the window
// again: the bar reads it and takes it off once more.
void TWinSkinForm::MenuChanged()
{
  if (state_ == fsRunning && (menuBar_ || GetMenu(window_)))
    TakeMenuBar();
  const bool shown = GetMenu(window_) || (menuBar_ && menuBar_->WindowMenu() && form_ && form_->Menu());
  const int32_t menuHeight = shown ? GetSystemMetrics(SM_CYMENU) : 0;
  if (menuHeight != menuHeight_ && state_ == fsRunning) {
    menuHeight_ = menuHeight;
    ApplyFrame();
  }
  RedrawFrame();
}

void TWinSkinForm::UnhookFormWindowProc()
{
  if (form_ && formWindowProc_) {
    form_->WindowProc = std::move(formWindowProc_);
    formWindowProc_ = nullptr;
  }
}

// ----- Starting ---------------------------------------------------------------------

void TWinSkinForm::Start()
{
  if (state_ != fsAttached && frameSkinning_)
    return;
  if (mdiChild_) {
    AdoptForm();
    NoteSystemFrame();
    ReadShowState();
  }
  systemMenu_ = GetSystemMenu(window_, FALSE);
  MakeIconBitmap();
  const bool plainChild = (Style(window_) & WS_CHILD) && !mdiChild_;
  if (frameSkinning_ && !plainChild && borderKind_ != fbNoCaption && showState_ != ssMinimized) {
    if (menuHeight_ > 0)
      TakeMenuBar();
    state_ = fsApplying;
    ApplyFrame();
    state_ = fsRunning;
    if (showState_ == ssMaximized)
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else
      UpdateRegion();
  }
  SkinControls();
  PrepareFrameworkMenus(true);
  SendMessageW(window_, WM_SKIN_AWARE, 0, kSkinAwareTag);
  data_.OnAfterSkinForm(&data_, window_, className_);
  state_ = fsRunning;
  timer_->SetEnabled(active_);
  RedrawFrame();
}

// The controls get their companions once the frame stands; a control that
// cannot be skinned keeps its own look, and the window goes on.
void TWinSkinForm::SkinControls()
{
  try {
    if (form_)
      SkinFormControls(*this, *form_);
    else
      SkinChildWindows(*this, window_);
  } catch (...) {
    // Companions attached before the failure stay; the rest go unskinned.
  }
}

void TWinSkinForm::MakeIconBitmap() { win32::DrawSmallIconOnKey(iconBitmap_, win32::WindowSmallIcon(window_)); }

// The client area keeps its size; the window grows or shrinks around it.
void TWinSkinForm::ApplyFrame()
{
  if (showState_ == ssMaximized) {
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  const gfx::TRect bounds = WindowBounds(window_);
  // A window sized again between attaching and now (a message box fits
  // itself to its text) was sized for the system's frame.
  const gfx::TPoint client = form_ || frameApplied_ ? ClientSize(window_)
                                                    : gfx::TPoint{bounds.Width() - systemFrameExtra_.X,
                                                                  bounds.Height() - systemFrameExtra_.Y};
  gfx::TPoint size = SkinnedWindowSize(client, borders_, menuHeight_);
  if (IsDialogClass(className_))
    WidenDialogForCaption(size.X);
  frameApplied_ = true;
  SetWindowPos(window_, nullptr, 0, 0, size.X, size.Y,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // What the system's frame left where the client area now lies goes too.
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::WidenDialogForCaption(int32_t& width)
{
  const std::wstring text = WindowText(window_);
  framework::TWindowDC dc(window_);
  auto* platform = win32::PlatformOf(data_);
  framework::TSelectObject font(dc.Get(), platform && platform->CaptionFont()
                                            ? static_cast<HGDIOBJ>(platform->CaptionFont())
                                            : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &extent);
  const int32_t needed = DialogWidthForCaption(*data_.CaptionTitle, extent.cx, width);
  if (needed == 0)
    return;
  const int32_t shift = (needed - width) / 2;
  width = needed;
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ----- Un-skinning ------------------------------------------------------------------

void TWinSkinForm::Unskin(bool resize)
{
  const bool destroying = state_ == fsUnskinning || state_ == fsDiscarded;
  if (state_ != fsDiscarded)
    state_ = fsUnskinning;
  StopTimer();
  data_.HideHint();
  if (!destroying)
    Remove();
  UnhookFormWindowProc();
  if (form_ && !destroying)
    form_->SetColor(formColor_);
  if (!destroying)
    FreeCompanions();
  PrepareFrameworkMenus(false);
  GiveMenuBarBack(destroying);
  mdiClient_.reset();
  if (destroying || !IsWindow(window_))
    return;
  if (borderIcons_ & fiSystemMenu)
    SetWindowLongPtrW(window_, GWL_STYLE, Style(window_) | WS_SYSMENU);
  const bool plainChild = (Style(window_) & WS_CHILD) && !mdiChild_;
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  gfx::TPoint size;
  if (resize && frameApplied_ && !plainChild && showState_ == ssNormal) {
    const gfx::TRect bounds = WindowBounds(window_);
    size = {bounds.Width() - borders_.Left - borders_.Right + systemFrameExtra_.X,
            bounds.Height() - borders_.Top - borders_.Bottom - menuHeight_ + systemFrameExtra_.Y};
  } else {
    flags |= SWP_NOSIZE;
  }
  SetWindowPos(window_, nullptr, 0, 0, size.X, size.Y, flags);
  if (regionSet_)
    SetWindowRgn(window_, nullptr, TRUE);
  regionSet_ = false;
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::WindowDestroyed()
{
  state_ = fsDiscarded;
  companions_.clear();
}

// ----- Skin changes -----------------------------------------------------------------

void TWinSkinForm::RepaintAfterSkinChange()
{
  if (form_)
    form_->SetColor(data_.Color(scButtonFace));
  for (auto& companion : companions_)
    companion->SkinChanged();
  state_ = fsRebuild;
  if (frameSkinning_ && borderKind_ != fbNoCaption && !(Style(window_) & WS_CHILD)) {
    ApplyFrame();
    if (form_) {
      // A height change and back makes the form lay its controls out anew.
      form_->SetHeight(form_->Height() + 1);
      form_->SetHeight(form_->Height() - 1);
    }
    UpdateRegion();
  }
  SendMessageW(window_, WM_SKIN_AWARE, 0, kSkinAwareTag);
  data_.OnAfterSkinForm(&data_, window_, className_);
  state_ = fsRunning;
  RedrawFrame();
}

// ----- Companions -------------------------------------------------------------------

bool TWinSkinForm::RegisterCompanion(std::unique_ptr<TFrameCompanion> companion)
{
  for (const auto& listed : companions_)
    if (listed.get() == companion.get()) {
      (void)companion.release(); // already owned by the list
      return true;
    }
  companions_.push_back(std::move(companion));
  return false;
}

void TWinSkinForm::UnregisterCompanion(const TFrameCompanion* companion)
{
  for (auto it = companions_.rbegin(); it != companions_.rend(); ++it)
    if (it->get() == companion) {
      companions_.erase(std::next(it).base());
      return;
    }
}

TFrameCompanion* TWinSkinForm::CompanionFor(HWND control) const
{
  for (const auto& companion : companions_)
    if (companion->Skins(control))
      return companion.get();
  return nullptr;
}

bool TWinSkinForm::ListsCompanion(const TFrameCompanion* companion) const
{
  return std::any_of(companions_.begin(), companions_.end(),
                     [companion](const auto& listed) { return listed.get() == companion; });
}

void TWinSkinForm::DropDiscardedCompanions()
{
  std::erase_if(companions_, [](const auto& companion) { return companion->Discarded(); });
}

void TWinSkinForm::FreeCompanions()
{
  for (auto& companion : companions_)
    if (!companion->Discarded())
      companion->Unskin();
  companions_.clear();
}

// ----- Caption host -----------------------------------------------------------------

void TWinSkinForm::StopTimer() { timer_->SetEnabled(false); }

void TWinSkinForm::SetPopupKind(TPopupKind kind) { manager_.SetPopupKind(kind); }

void TWinSkinForm::SetMdiMenuState(bool on) { manager_.SetMdiMenuState(on); }

void TWinSkinForm::TimerFired(framework::TObject*)
{
  if (!active_ || manager_.PopupSkinnerCount() > 0 || MenuOpen())
    return;
  if (menuBar_ && menuBar_->Hot()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!menuBar_->Hot()->Contains(ScreenToWindowPoint(window_, cursor)))
      menuBar_->LeaveHot();
  }
  buttons_->TimerTick(kTimerIntervalMs);
}

// ----- Messages ---------------------------------------------------------------------

LRESULT TWinSkinForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_SKIN_QUERY:
    return 1;
  case WM_SKIN_START:
    Start();
    return 0;
  case WM_NCDESTROY:
    state_ = fsUnskinning;
    Unskin(false);
    return CallPrevious(message, wParam, lParam);
  default:
    break;
  }
  if (!frameSkinning_)
    return CallPrevious(message, wParam, lParam);
  if (state_ == fsAttached && message == WM_NCACTIVATE && !mdiChild_) {
    // Nothing of the system's frame shows before the skinned one starts, but
    // the frame starts with the window's real activation.
    active_ = wParam != 0;
    return active_ ? 0 : 1;
  }
  if (state_ == fsAttached && message == WM_NCPAINT)
    return 0;
  if (state_ == fsApplying && message == WM_NCCALCSIZE)
    return CalcSize(wParam, lParam);
  if (state_ == fsRunning || state_ == fsRebuild)
    if (const auto handled = RunningMessage(message, wParam, lParam))
      return *handled;
  return CallPrevious(message, wParam, lParam);
}

std::optional<LRESULT> TWinSkinForm::RunningMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCCALCSIZE: return CalcSize(wParam, lParam);
  case WM_NCHITTEST: return HitTest(wParam, lParam);
  case WM_NCPAINT: return NcPaint(wParam, lParam);
  case WM_NCACTIVATE: return NcActivate(wParam, lParam);
  case WM_SETTEXT: return SetText(wParam, lParam);
  case WM_SETICON: {
    const LRESULT result = CallPrevious(message, wParam, lParam);
    MakeIconBitmap();
    RedrawFrame();
    return result;
  }
  case WM_SIZE: {
    const TFrameShowState before = showState_;
    showState_ = wParam == SIZE_MINIMIZED ? ssMinimized : wParam == SIZE_MAXIMIZED ? ssMaximized : ssNormal;
    const LRESULT result = CallPrevious(message, wParam, lParam);
    // A document restored while another shows maximised in the frame's bar
    // is given its region when the menu state turns off.
    if (showState_ != ssMinimized && !(mdiChild_ && showState_ == ssNormal && manager_.MdiMenuState()))
      UpdateRegion();
    if (mdiChild_ && showState_ != before)
      NotifyMdiFrame();
    return result;
  }
  case WM_WINDOWPOSCHANGING:
    if (mdiChild_ && IsZoomed(window_))
      FitMaximizedMdiChild(*reinterpret_cast<WINDOWPOS*>(lParam));
    return std::nullopt;
  case WM_GETMINMAXINFO:
  case WM_WINDOWPOSCHANGED: {
    const LRESULT result = CallPrevious(message, wParam, lParam);
    ReadShowState();
    return result;
  }
  case WM_ERASEBKGND:
    if (form_)
      return std::nullopt;
    {
      RECT client{};
      GetClientRect(window_, &client);
      framework::TGdiBrush brush(CreateSolidBrush(ToColorRef(data_.Color(scButtonFace))));
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush.Get());
    }
    return 1;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    if (form_)
      return std::nullopt;
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    if (message == WM_CTLCOLORBTN)
      return std::nullopt;
    return reinterpret_cast<LRESULT>(ButtonFaceBrush());
  case WM_INITMENUPOPUP:
    manager_.SetPopupKind(HIWORD(lParam) ? pkSystemMenu : pkMenuBar);
    return std::nullopt;
  case WM_COMMAND:
    switch (wParam & 0xFFF0) {
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW: case SC_PREVWINDOW:
    case SC_CLOSE: case SC_RESTORE:
      if (HIWORD(wParam) == 0 && lParam == 0) {
        PostMessageW(window_, WM_SYSCOMMAND, wParam, 0);
        return 0;
      }
      break;
    default: break;
    }
    return std::nullopt;
  case WM_SYSCOMMAND: return SysCommand(wParam, lParam);
  case WM_MEASUREITEM:
    if (wParam != 0)
      return std::nullopt;
    return MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
  case WM_DRAWITEM:
    if (wParam != 0)
      return std::nullopt;
    return DrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  case WM_MENUSELECT:
    if (barTracking_ && barTracking_->Tracked())
      barTracking_->MenuSelected(wParam, lParam);
    return std::nullopt;
  case WM_MDIACTIVATE:
    if (mdiChild_ && reinterpret_cast<HWND>(wParam) == window_ && !lParam)
      LastDocumentDeactivated();
    return std::nullopt;
  case WM_SKIN_NCPOINT:
    if (menuBar_)
      if (TMenuBtn* button = menuBar_->ButtonAt(ScreenToWindowPoint(window_, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})))
        OpenBarMenu(*button);
    return 0;
  case kThemeCaptionDrawing:
  case kThemeCaptionIcon:
    return 0;
  default:
    return MouseMessage(message, wParam, lParam);
  }
}

std::optional<LRESULT> TWinSkinForm::SysCommand(WPARAM wParam, LPARAM lParam)
{
  switch (wParam & 0xFFF0) {
  case SC_MINIMIZE: showState_ = ssMinimized; break;
  case SC_MAXIMIZE: showState_ = ssMaximized; break;
  case SC_RESTORE:
    showState_ = ssNormal;
    if (mdiChild_)
      manager_.SetMdiMenuState(false);
    break;
  case SC_KEYMENU: return KeyMenu(wParam, lParam);
  default: break;
  }
  return std::nullopt;
}

// Alt alone or F10 opens the first bar menu, Alt with a letter its own, and
// Alt with the space bar the skinned system menu. Alt with a hyphen is a
// document's own system menu, left to the system.
std::optional<LRESULT> TWinSkinForm::KeyMenu(WPARAM wParam, LPARAM lParam)
{
  if (lParam == '-' || MenuOpen() || GetCapture())
    return std::nullopt;
  if (lParam == ' ') {
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    buttons_->OpenSystemMenu(origin);
    return 1;
  }
  if (menuBar_) {
    TMenuBtn* button = lParam ? menuBar_->ButtonByAccel(wchar_t(lParam)) : menuBar_->Neighbour(-1, 1);
    if (button)
      PostBarPress(*button);
    return 1;
  }
  // A document has no bar of its own: the MDI frame's answers.
  if (HWND frame = MdiFrameWindow())
    return SendMessageW(frame, WM_SYSCOMMAND, wParam, lParam);
  return std::nullopt;
}

std::optional<LRESULT> TWinSkinForm::MouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCMOUSEMOVE:
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONUP:
  case WM_NCLBUTTONDBLCLK:
  case WM_NCRBUTTONDOWN:
  case WM_NCRBUTTONUP:
    if (borderKind_ == fbNoCaption)
      return std::nullopt;
    if (menuBar_) {
      const gfx::TPoint at = ScreenToWindowPoint(window_, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      // The caption buttons come first: a maximised document's lie in the bar.
      if (menuBar_->Rect().Contains(at) && !buttons_->Over(at)) {
        buttons_->LeaveHot();
        return MenuBarMouse(message, at);
      }
      menuBar_->LeaveHot();
    }
    return buttons_->HandleMouse(message, wParam, lParam);
  default:
    return std::nullopt;
  }
}

LRESULT TWinSkinForm::CalcSize(WPARAM wParam, LPARAM lParam)
{
  auto* rect = reinterpret_cast<RECT*>(lParam);
  const RECT proposed = *rect;
  const LRESULT result = CallPrevious(WM_NCCALCSIZE, wParam, lParam);
  // A window without a caption keeps the frame the system gave it.
  if (borderKind_ == fbNoCaption)
    return result;
  if (mdiChild_ && showState_ != ssNormal) {
    *rect = proposed;
    return wParam ? WVR_REDRAW : 0;
  }
  const gfx::TRect client = SkinnedClientRect({proposed.left, proposed.top, proposed.right, proposed.bottom},
                                              borders_, menuHeight_);
  *rect = {client.Left, client.Top, std::max(client.Left, client.Right), std::max(client.Top, client.Bottom)};
  return wParam ? WVR_REDRAW : 0;
}

LRESULT TWinSkinForm::HitTest(WPARAM wParam, LPARAM lParam)
{
  const LRESULT system = CallPrevious(WM_NCHITTEST, wParam, lParam);
  if (borderKind_ == fbNoCaption)
    return system;
  const gfx::TRect bounds = WindowBounds(window_);
  const gfx::TPoint point{GET_X_LPARAM(lParam) - bounds.Left, GET_Y_LPARAM(lParam) - bounds.Top};
  return ReviseHitTest(int32_t(system), point, borders_.Top, menuHeight_ > 0);
}

LRESULT TWinSkinForm::NcActivate(WPARAM wParam, LPARAM lParam)
{
  active_ = wParam != 0;
  timer_->SetEnabled(active_);
  // The frame's default would tell the client's active document; the
  // document's own default keeps the client's idea of it.
  if (mdiClient_)
    SendMessageW(mdiClient_->Client(), WM_NCACTIVATE, wParam, lParam);
  if (mdiChild_)
    CallPrevious(WM_NCACTIVATE, wParam, lParam);
  if (!active_) {
    buttons_->LeaveHot();
    if (menuBar_ && !MenuOpen())
      menuBar_->LeaveHot();
  }
  RedrawFrame();
  return 1;
}

// The system repaints its own caption when the text changes; with the dialog
// frame bit off for the moment it finds no caption to paint, and the skinned
// title follows.
LRESULT TWinSkinForm::SetText(WPARAM wParam, LPARAM lParam)
{
  const LONG_PTR style = Style(window_);
  SetWindowLongPtrW(window_, GWL_STYLE, style & ~LONG_PTR(WS_DLGFRAME));
  const LRESULT result = CallPrevious(WM_SETTEXT, wParam, lParam);
  SetWindowLongPtrW(window_, GWL_STYLE, Style(window_) | (style & WS_DLGFRAME));
  RedrawFrame();
  return result;
}

// ----- Painting ---------------------------------------------------------------------

HBRUSH TWinSkinForm::ButtonFaceBrush()
{
  const gfx::TColor color = data_.Color(scButtonFace);
  if (!buttonFaceBrush_ || buttonFaceColor_ != color) {
    buttonFaceBrush_.Reset(CreateSolidBrush(ToColorRef(color)));
    buttonFaceColor_ = color;
  }
  return buttonFaceBrush_.Get();
}

LRESULT TWinSkinForm::NcPaint(WPARAM wParam, LPARAM lParam)
{
  // Without the system-menu bit the system draws no caption buttons of its own.
  if (!(borderIcons_ & fiKeepStyle) && (Style(window_) & WS_SYSMENU))
    SetWindowLongPtrW(window_, GWL_STYLE, Style(window_) & ~LONG_PTR(WS_SYSMENU));
  if (!data_.FramePainting)
    return 0;
  if (borderKind_ == fbNoCaption || (mdiChild_ && showState_ == ssMaximized))
    return CallPrevious(WM_NCPAINT, wParam, lParam);
  RedrawFrame();
  return 0;
}

void TWinSkinForm::RedrawFrame()
{
  if ((state_ != fsRunning && state_ != fsRebuild) || !frameSkinning_ || borderKind_ == fbNoCaption || painting_)
    return;
  if (!FrameVisible())
    return;
  if (!data_.FramePainting)
    return;
  framework::TMuteScope<bool> guard(painting_);
  try {
    framework::TWindowDC dc = framework::TWindowDC::WholeWindow(window_);
    // The frame is laid out from the window's left edge, as its mouse
    // handling counts, also for a right-to-left window.
    const framework::TUnmirroredDC unmirrored(dc.Get());
    if (dc.Get())
      PaintFrame(dc.Get());
  } catch (...) {
    // A frame that cannot be painted stays as it was; the window goes on.
  }
}

void TWinSkinForm::PaintFrame(HDC dc)
{
  const gfx::TRect bounds = WindowBounds(window_);
  const int32_t w = bounds.Width();
  const int32_t h = bounds.Height();
  if (w <= 0 || h <= 0)
    return;
  if (showState_ == ssMinimized) {
    RECT all{0, 0, w, h};
    FillRect(dc, &all, ButtonFaceBrush());
    PaintCaptionBand(dc, w);
    return;
  }
  const TBorderMetrics& b = borders_;
  CopyBitmapTo(dc, 0, 0, BorderImage(bpLeft, {w, h}));
  CopyBitmapTo(dc, w - b.Right, 0, BorderImage(bpRight, {w, h}));
  CopyBitmapTo(dc, b.Left, h - b.Bottom, BorderImage(bpBottom, {w, h}));
  PaintCaptionBand(dc, w);
  if (menuHeight_ > 0)
    PaintMenuBand(dc, w);
}

void TWinSkinForm::PaintMenuBand(HDC dc, int32_t width)
{
  const gfx::TRect band{borders_.Left, borders_.Top, width - borders_.Right, borders_.Top + menuHeight_};
  if (menuBar_) {
    menuBar_->Paint(dc, band);
    // A maximised document's buttons sit in the frame's bar.
    buttons_->PaintInMenuBar(dc);
    return;
  }
  RECT r{band.Left, band.Top, band.Right, band.Bottom};
  FillRect(dc, &r, ButtonFaceBrush());
}

void TWinSkinForm::PaintCaptionBand(HDC dc, int32_t width)
{
  const int32_t top = borders_.Top;
  if (top <= 0 || width <= 0)
    return;
  if (captionBitmap_.Width() != width || captionBitmap_.Height() != top) {
    captionBitmap_.SetSize(width, top);
    captionBitmap_.SetPixelFormat(framework::pf24bit);
  }
  if (!captionBitmap_.NativeHandle())
    return;
  gfx::win32::TBitmapDC band(captionBitmap_.NativeHandle());
  BitBlt(band.Get(), 0, 0, width, top, dc, 0, 0, SRCCOPY);
  CopyBitmapTo(band.Get(), borders_.Left, 0, BorderImage(bpTop, {width, 0}));
  PaintTitle(band.Get(), width);
  buttons_->PaintInCaption(band.Get(), width);
  BitBlt(dc, 0, 0, width, top, band.Get(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintTitle(HDC dc, int32_t width)
{
  const std::wstring text = CaptionText(WindowText(window_));
  auto* platform = win32::PlatformOf(data_);
  framework::TSelectObject font(dc, platform && platform->CaptionFont() ? static_cast<HGDIOBJ>(platform->CaptionFont())
                                                                        : GetStockObject(DEFAULT_GUI_FONT));
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const TDataSkinTitle& title = *data_.CaptionTitle;
  TTitleSituation situation;
  situation.BandWidth = width;
  situation.BandHeight = borders_.Top;
  situation.TextSize = {measured.right - measured.left, measured.bottom - measured.top};
  situation.Popup = Style(window_) & WS_POPUP;
  situation.DialogKind = borderKind_ == fbDialog;
  situation.RightToLeft = rightToLeft_;
  situation.RightButtonsReach = buttons_->RightButtonsReach();
  const TTitleLayout layout = LayoutTitle(title, situation);
  titleRect_ = layout.Rect;
  if (!title.Image.Empty())
    win32::ElementDraw(dc, layout.Rect, title.Image, false, false, true, 2, active_ ? 1 : 2,
                       {title.TXTBackleft, 0, title.TXTBackRight, 0});
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(data_.Color(active_ ? scTitleTextActive : scTitleTextNoActive)));
  RECT r{layout.TextRect.Left, layout.TextRect.Top, layout.TextRect.Right, layout.TextRect.Bottom};
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (rightToLeft_)
    format |= DT_RIGHT | DT_RTLREADING;
  DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
}

const framework::TBitmap& TWinSkinForm::BorderImage(int part, gfx::TPoint windowSize)
{
  const TDataSkinObject* elements[] = {data_.BorderLeft.get(), data_.BorderRight.get(), data_.BorderTop.get(),
                                       data_.BorderBottom.get()};
  const TDataSkinObject& element = *elements[part];
  const TBorderMetrics& b = borders_;
  const int32_t middle = windowSize.X - b.Left - b.Right;
  const gfx::TPoint sizes[] = {{b.Left, windowSize.Y}, {b.Right, windowSize.Y}, {middle, b.Top}, {middle, b.Bottom}};
  const gfx::TPoint size = sizes[part];
  const int32_t frame = active_ || element.FrameCount() == 1 ? 1 : 2;
  TBorderCache& cache = borderCache_[part];
  if (!cache.Image || cache.Size != size || cache.Frame != frame) {
    const bool stacked = part == bpTop || part == bpBottom;
    cache.Image = ElementImage(std::max(size.X, 0), std::max(size.Y, 0), element.Image, element.Margins(), stacked,
                               element.Tile != 1, element.FrameCount(), frame);
    cache.Size = size;
    cache.Frame = frame;
  }
  return *cache.Image;
}

// ----- Region -----------------------------------------------------------------------

void TWinSkinForm::UpdateRegion()
{
  if (state_ == fsDiscarded || !frameSkinning_ || borderKind_ == fbNoCaption)
    return;
  if (mdiChild_ && showState_ != ssNormal) {
    // A maximised document covers the client; the cut of its normal size
    // would hide most of it.
    if (regionSet_)
      SetWindowRgn(window_, nullptr, TRUE);
    regionSet_ = false;
    regionSize_ = {-1, -1};
    return;
  }
  const gfx::TRect bounds = WindowBounds(window_);
  const gfx::TPoint size{bounds.Width(), bounds.Height()};
  if (size.X <= 0 || size.Y <= 0)
    return;
  if (size == regionSize_ && !mdiChild_ && state_ != fsRebuild)
    return;
  const gfx::TRegion region = FrameRegion(size);
  SetWindowRgn(window_, gfx::win32::RegionToHRGN(region), TRUE);
  regionSize_ = size;
  regionSet_ = true;
}

gfx::TRegion TWinSkinForm::FrameRegion(gfx::TPoint size)
{
  const TBorderMetrics& b = borders_;
  const int32_t w = size.X;
  const int32_t h = size.Y;
  if (!data_.BorderLeft->Trans && !data_.BorderRight->Trans && !data_.BorderTop->Trans)
    return gfx::TRegion(gfx::TRect{0, 0, w, h});
  struct TPart {
    int Part;
    gfx::TRect Rect;
    bool Cut;
  };
  const TPart parts[] = {
    {bpLeft, {0, 0, b.Left, h}, data_.BorderLeft->Trans == 1},
    {bpRight, {w - b.Right, 0, w, h}, data_.BorderRight->Trans == 1},
    {bpTop, {b.Left, 0, w - b.Right, b.Top}, data_.BorderTop->Trans == 1 && b.Top > 1},
    {bpBottom, {b.Left, h - b.Bottom, w - b.Right, h}, data_.BorderBottom->Trans == 1 && b.Bottom >= 2},
  };
  std::vector<gfx::TRegion> pieces;
  pieces.emplace_back(gfx::TRect{b.Left, b.Top, w - b.Right, h - b.Bottom});
  for (const TPart& part : parts) {
    if (part.Rect.IsEmpty())
      continue;
    if (part.Cut)
      pieces.push_back(RegionFromBitmap(BorderImage(part.Part, size), part.Rect.Left, part.Rect.Top, kKeyColor));
    else
      pieces.emplace_back(part.Rect);
  }
  return gfx::TRegion::FromUnion(pieces);
}

} // namespace skin
