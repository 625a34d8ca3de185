#include "framework/win32/Forms.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/FormDescription.h"
#include "framework/win32/FormResources.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Menus.h"
#include "gfx/Numeric.h"

// [SECTION] Screen and the global objects
// [SECTION] TForm
// [SECTION] TApplication: loop and errors
// [SECTION] TApplication: mouse tracking and hints

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] Screen and the global objects

int TScreen::PixelsPerInch() const
{
  TWindowDC screen(nullptr);
  int ppi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}

TForm* TScreen::Forms(int index) const
{
  return forms_.at(size_t(index));
}

void TScreen::AddForm(TForm* form)
{
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end())
    forms_.push_back(form);
}

void TScreen::RemoveForm(TForm* form)
{
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

TControlFont* TScreen::MenuFont()
{
  if (!menuFont_) {
    // Made on first use: the screen object exists before any window does.
    auto font = std::make_unique<TControlFont>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      const LOGFONTW& lf = metrics.lfMenuFont;
      TFont value = font->Value();
      value.Name = lf.lfFaceName;
      value.Height = lf.lfHeight;
      value.Size = lf.lfHeight < 0 ? MulDiv(-lf.lfHeight, 72, PixelsPerInch()) : value.Size;
      value.Style = uint8_t((lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
                            (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0));
      value.Charset = lf.lfCharSet;
      value.Color = gfx::clMenuText;
      font->SetValue(value);
    }
    menuFont_ = std::move(font);
  }
  return menuFont_.get();
}

namespace {
TScreen theScreen;
TApplication theApplication(nullptr);

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

const TEnumInfo& BorderStyleInfo()
{
  static const TEnumInfo info{"TFormBorderStyle",
                              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  return info;
}
const TEnumInfo& BorderIconInfo()
{
  static const TEnumInfo info{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
  return info;
}
const TEnumInfo& FormStyleInfo()
{
  static const TEnumInfo info{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
  return info;
}
const TEnumInfo& PositionInfo()
{
  static const TEnumInfo info{"TPosition",
                              {"poDesigned", "poDefault", "poScreenCenter", "poDesktopCenter", "poMainFormCenter"}};
  return info;
}

std::string Upper(std::string text)
{
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return text;
}

} // namespace

TScreen* Screen = &theScreen;
TApplication* Application = &theApplication;

// ---------------------------------------------------------------------------
// [SECTION] TForm

const TClassInfo& TForm::ClassType()
{
  static TClassInfo info("TForm", &TWinControl::ClassType());
  static const bool described = [] {
    info.Str("Caption", &TForm::Caption, &TForm::SetCaption);
    info.Enum("BorderStyle", BorderStyleInfo(), &TForm::BorderStyle, &TForm::SetBorderStyle, int64_t(bsSizeable));
    info.Set("BorderIcons", BorderIconInfo(), &TForm::BorderIcons, &TForm::SetBorderIcons, int64_t(7));
    info.Enum("FormStyle", FormStyleInfo(), &TForm::FormStyle, &TForm::SetFormStyle, int64_t(fsNormal));
    info.Enum("Position", PositionInfo(), &TForm::Position, &TForm::SetPosition, int64_t(poDesigned));
    info.Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview, false);
    info.Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch);
    info.Bool("Scaled", &TForm::Scaled, &TForm::SetScaled, true);
    info.Bool("AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll, false);
    // The client size may be given instead of the outer size; only the outer
    // size is written back.
    info.Int("ClientWidth", &TForm::StoredClientWidth, &TForm::SetClientWidth).Stored = false;
    info.Int("ClientHeight", &TForm::StoredClientHeight, &TForm::SetClientHeight).Stored = false;
    // A form's visibility is decided by the program (Show), not stored.
    info.Bool("Visible", &TForm::Visible, &TForm::SetVisible).Stored = false;
    info.Reference("Menu", TMainMenu::ClassType(), &TForm::Menu, &TForm::SetMenu);
    info.Event("OnCreate", &TForm::OnCreate);
    info.Event("OnDestroy", &TForm::OnDestroy);
    info.Event("OnActivate", &TForm::OnActivate);
    info.Event("OnDeactivate", &TForm::OnDeactivate);
    info.Event("OnShow", &TForm::OnShow);
    info.Event("OnHide", &TForm::OnHide);
    info.Event("OnPaint", &TForm::OnPaint);
    info.Event("OnClose", &TForm::OnClose);
    info.Event("OnCloseQuery", &TForm::OnCloseQuery);
    return true;
  }();
  (void)described;
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner), pixelsPerInch_(Screen->PixelsPerInch())
{
  Screen->AddForm(this);
  visible_ = false;
  parentFont_ = false;
  parentShowHint_ = false;
  width_ = 320;
  height_ = 240;
}

TForm::~TForm()
{
  BeforeDestruction();
  // A document leaves its client's list while it is still a form (the
  // plain window's end would leave the client naming it as active).
  if (formStyle_ == fsMDIChild)
    DestroyHandle();
}

void TForm::BeforeDestruction()
{
  if (destructionBegun_)
    return;
  destructionBegun_ = true;
  Screen->RemoveForm(this);
  Destroying();
  if (initialised_)
    DoDestroy();
  if (Application && Application->MainForm() == this)
    Application->ControlDestroyed(this);
  DestroyComponents();
}

void TForm::DoCreate()
{
  try {
    OnCreate(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TForm::DoDestroy()
{
  try {
    OnDestroy(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TForm::InitForm()
{
  if (initialised_)
    return;
  initialised_ = true;
  std::vector<uint8_t> data;
  if (FindResourceFile(Upper(ClassName()) + ".FORM", data)) {
    std::string text(data.begin(), data.end());
    ReadDescription(text, ResourceLoader());
  }
  DoCreate();
}

void TForm::ReadDescription(std::string_view text, const TBinaryLoader& loader)
{
  ReadComponentTree(*this, ParseFormDescription(text), loader);
}

DWORD TForm::WindowStyle() const
{
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  bool icons = true;
  switch (borderStyle_) {
  case bsNone:
    style |= WS_POPUP;
    icons = false;
    break;
  case bsSingle:
  case bsToolWindow:
    style |= WS_CAPTION | WS_BORDER;
    break;
  case bsSizeable:
  case bsSizeToolWin:
    style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case bsDialog:
    style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    break;
  }
  if (icons && (borderIcons_ & (1u << biSystemMenu))) {
    style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_ & (1u << biMinimize))
        style |= WS_MINIMIZEBOX;
      if (borderIcons_ & (1u << biMaximize))
        style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD TForm::WindowExStyle() const
{
  DWORD ex = 0;
  if (borderStyle_ == bsDialog)
    ex |= WS_EX_DLGMODALFRAME;
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
    ex |= WS_EX_TOOLWINDOW;
  if (formStyle_ == fsStayOnTop)
    ex |= WS_EX_TOPMOST;
  if (borderIcons_ & (1u << biHelp))
    ex |= WS_EX_CONTEXTHELP;
  return ex;
}

void TForm::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.Style = WindowStyle();
  p.ExStyle = WindowExStyle();
  p.WndParent = nullptr;
  // Forms other than the main one belong to it, so they stay above it and
  // share its task-bar button.
  TForm* main = Application ? Application->MainForm() : nullptr;
  if (main && main != this && main->HandleAllocated())
    p.WndParent = main->HandleIfAllocated();
  if (formStyle_ == fsMDIChild) {
    p.ExStyle |= WS_EX_MDICHILD;
    p.WndParent = MDIParentClient();
  }
  if (position_ == poDefault) {
    p.X = CW_USEDEFAULT;
    p.Y = CW_USEDEFAULT;
  }
  // Every form shows the program's icon (the icon resource "MAINICON", when
  // the program has one).
  p.ClassIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
}

void TForm::PlaceOnScreen()
{
  if (placed_)
    return;
  placed_ = true;
  switch (position_) {
  case poScreenCenter:
  case poDesktopCenter:
    SetBounds((Screen->Width() - width_) / 2, (Screen->Height() - height_) / 2, width_, height_);
    break;
  case poMainFormCenter: {
    TForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main != this)
      SetBounds(main->left_ + (main->width_ - width_) / 2, main->top_ + (main->height_ - height_) / 2, width_, height_);
    else
      SetBounds((Screen->Width() - width_) / 2, (Screen->Height() - height_) / 2, width_, height_);
    break;
  }
  default:
    break;
  }
}

void TForm::CreateWnd()
{
  PlaceOnScreen();
  TWinControl::CreateWnd();
  // The program's icon at the caption's and the task bar's sizes, set on
  // every new handle (the class icon alone is scaled from the large one).
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto load = [instance](int metricX, int metricY) {
    return reinterpret_cast<LPARAM>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(metricX),
                                               GetSystemMetrics(metricY), LR_SHARED));
  };
  if (const LPARAM big = load(SM_CXICON, SM_CYICON)) {
    SendMessageW(HandleIfAllocated(), WM_SETICON, ICON_BIG, big);
    SendMessageW(HandleIfAllocated(), WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON));
  }
  // The window was made the stored size without a bar; the bar adds to it.
  if (menu_)
    AttachMenu();
  if (formStyle_ == fsMDIForm)
    CreateMDIClient();
}

void TForm::SetMenu(TMainMenu* value)
{
  if (value == menu_)
    return;
  if (menu_) {
    menu_->RemoveFreeNotification(this);
    menu_->SetWindow(nullptr);
  }
  menu_ = value;
  if (menu_)
    menu_->FreeNotification(this);
  if (!HasState(csLoading))
    AttachMenu();
}

void TForm::Notification(TComponent* component, TOperation operation)
{
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove || component != menu_)
    return;
  // The menu took itself off the window as it went.
  menu_ = nullptr;
  if (!HasState(csDestroying))
    AttachMenu();
}

void TForm::AttachMenu()
{
  if (!HandleAllocated())
    return;
  const gfx::TRect client = ClientRect();
  HMENU bar = menu_ ? menu_->Handle() : nullptr;
  if (menu_)
    menu_->SetWindow(handle_);
  if (GetMenu(handle_) != bar)
    ::SetMenu(handle_, bar);
  else
    DrawMenuBar(handle_);
  // A bar that appears, goes or wraps onto another line takes its height
  // from the window, not from the client area.
  if (!IsZoomed(handle_) && !IsIconic(handle_) && ClientRect() != client)
    SetClientSize(client.Width(), client.Height());
}

TMenu* TForm::ShortCutMenu(TShortCut shortCut, TControl* focused) const
{
  if (menu_ && menu_->FindShortCut(shortCut))
    return menu_;
  for (TControl* c = focused; c; c = c->Parent())
    if (TPopupMenu* popup = c->PopupMenu(); popup && popup->FindShortCut(shortCut))
      return popup;
  return nullptr;
}

bool TForm::OfferDialogChar(TMessage& m)
{
  // Offered to every control of the form; one whose caption has the letter
  // as its accelerator answers.
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (c->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
      m.Result = 1;
      return true;
    }
  m.Result = 0;
  return true;
}

TForm* FormOfWindow(HWND window)
{
  TWinControl* control = nullptr;
  // A system control's inner window (the edit of a combo box) has no
  // control of its own: its parent has.
  for (HWND w = window; w && !control; w = GetAncestor(w, GA_PARENT))
    control = TWinControl::FindControl(w);
  if (!control)
    return nullptr;
  if (TForm* form = control->ParentForm())
    return form;
  HWND owner = GetWindow(GetAncestor(control->HandleIfAllocated(), GA_ROOT), GW_OWNER);
  TWinControl* ownerControl = owner ? TWinControl::FindControl(owner) : nullptr;
  return ownerControl ? ownerControl->ParentForm() : nullptr;
}

gfx::TRect TForm::ClientRect() const
{
  if (HandleAllocated())
    return TWinControl::ClientRect();
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WindowStyle(), FALSE, WindowExStyle());
  return gfx::TRect(0, 0, std::max(0, width_ - int(frame.right - frame.left)),
                    std::max(0, height_ - int(frame.bottom - frame.top)));
}

void TForm::SetClientSize(int width, int height)
{
  if (HasState(csLoading)) {
    // The border style may still change while the description is read;
    // the client size is applied once it is known.
    // ClientWidth and ClientHeight arrive one at a time; keep each.
    if (width != ClientWidth())
      pendingClientWidth_ = width;
    if (height != ClientHeight())
      pendingClientHeight_ = height;
    return;
  }
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, WindowStyle(), FALSE, WindowExStyle());
  SetBounds(left_, top_, frame.right - frame.left, frame.bottom - frame.top);
  if (HandleAllocated()) {
    // Menus or wrapped captions can make the frame differ; correct once.
    gfx::TRect client = ClientRect();
    if (client.Width() != width || client.Height() != height)
      SetBounds(left_, top_, width_ + width - client.Width(), height_ + height - client.Height());
  }
}

void TForm::SetBorderStyle(TFormBorderStyle value)
{
  if (value == borderStyle_)
    return;
  borderStyle_ = value;
  RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons value)
{
  if (value == borderIcons_)
    return;
  borderIcons_ = value;
  RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle value)
{
  if (value == formStyle_)
    return;
  const bool documents = value == fsMDIChild || value == fsMDIForm || formStyle_ == fsMDIChild ||
                         formStyle_ == fsMDIForm;
  formStyle_ = value;
  if (!HandleAllocated())
    return;
  if (documents) {
    RecreateWnd();
    return;
  }
  SetWindowPos(handle_, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetVisible(bool value)
{
  if (HasState(csLoading)) {
    visible_ = value;
    return;
  }
  if (value) {
    bool wasVisible = visible_ && HandleAllocated() && IsWindowVisible(handle_);
    visible_ = true;
    HandleNeeded();
    PlaceOnScreen();
    if (!wasVisible && Screen)
      Screen->OnFormShowing(this);
    ShowWindow(handle_, SW_SHOW);
    if (!wasVisible)
      OnShow(this);
  } else {
    if (!visible_)
      return;
    visible_ = false;
    if (HandleAllocated())
      ShowWindow(handle_, SW_HIDE);
    OnHide(this);
  }
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
}

void TForm::Show()
{
  SetVisible(true);
  if (HandleAllocated())
    SetForegroundWindow(handle_);
}

void TForm::Close()
{
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  bool canClose = true;
  OnCloseQuery(this, canClose);
  if (!canClose)
    return;
  bool isMain = Application && Application->MainForm() == this;
  // A document cannot hide inside its main form: closing one frees it.
  TCloseAction action = isMain || formStyle_ == fsMDIChild ? caFree : caHide;
  OnClose(this, action);
  switch (action) {
  case caNone:
    return;
  case caMinimize:
    if (HandleAllocated())
      ShowWindow(handle_, SW_MINIMIZE);
    return;
  case caHide:
    Hide();
    return;
  case caFree:
    if (isMain) {
      Hide();
      Application->Terminate();
    } else {
      Release();
    }
    return;
  }
}

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list)
{
  if (IsWindowVisible(window) && IsWindowEnabled(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}
} // namespace

TModalResult TForm::ShowModal()
{
  if (modal_ || Visible())
    throw Exception("Cannot make a visible window modal");
  modalResult_ = mrNone;
  HandleNeeded();
  // Every other window of the program is disabled while the form runs.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  disabled.erase(std::remove(disabled.begin(), disabled.end(), handle_), disabled.end());
  for (HWND w : disabled)
    EnableWindow(w, FALSE);
  modal_ = true;
  struct TRestore {
    TForm& form;
    std::vector<HWND>& windows;
    ~TRestore()
    {
      form.modal_ = false;
      for (HWND w : windows)
        if (IsWindow(w))
          EnableWindow(w, TRUE);
      if (form.HandleAllocated())
        form.Hide();
    }
  } restore{*this, disabled};
  Show();
  while (modalResult_ == mrNone && !Application->Terminated() && HandleAllocated())
    Application->HandleMessage();
  if (modalResult_ == mrNone)
    modalResult_ = mrCancel;
  return modalResult_;
}

void TForm::Release()
{
  PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

TWinControl* TForm::ActiveControl() const
{
  TWinControl* focused = FindControl(GetFocus());
  return focused && focused->ParentForm() == this ? focused : nullptr;
}

void TForm::Loaded()
{
  TWinControl::Loaded();
  if (pendingClientWidth_ >= 0 || pendingClientHeight_ >= 0) {
    int w = pendingClientWidth_ >= 0 ? pendingClientWidth_ : ClientWidth();
    int h = pendingClientHeight_ >= 0 ? pendingClientHeight_ : ClientHeight();
    pendingClientWidth_ = pendingClientHeight_ = -1;
    SetClientSize(w, h);
  }
  int screen = Screen->PixelsPerInch();
  if (scaled_ && pixelsPerInch_ != screen) {
    ScaleBy(screen, pixelsPerInch_);
    pixelsPerInch_ = screen;
  }
}

void TForm::ChangeScale(int m, int d)
{
  // A form keeps its place; its client area, font and controls scale.
  int cw = ClientWidth(), ch = ClientHeight();
  DisableAlign();
  try {
    for (TControl* c : controls_)
      c->ChangeScale(m, d);
    if (!parentFont_) {
      TMuteScope following(followingParentFont_);
      font_->SetHeight(gfx::MulDiv(font_->Height(), m, d));
    }
    SetClientSize(gfx::MulDiv(cw, m, d), gfx::MulDiv(ch, m, d));
  } catch (...) {
    EnableAlign();
    throw;
  }
  lastClientWidth_ = ClientWidth();
  lastClientHeight_ = ClientHeight();
  EnableAlign();
}

void TForm::WndProc(TMessage& m)
{
  if (HandleMenuMessage(m.Msg, m.WParam, m.LParam, m.Result))
    return;
  switch (m.Msg) {
  case CM_MENUCHANGED:
    AttachMenu();
    m.Result = 0;
    return;
  case CM_DIALOGCHAR:
    OfferDialogChar(m);
    return;
  case WM_DESTROY:
    // The system destroys the menu a window shows along with the window;
    // the menu is ours to free.
    if (menu_ && menu_->HandleAllocated() && GetMenu(handle_) == menu_->Handle())
      ::SetMenu(handle_, nullptr);
    if (menu_)
      menu_->SetWindow(nullptr);
    break;
  case WM_CLOSE:
    Close();
    m.Result = 0;
    return;
  case WM_ACTIVATE:
    DefaultHandler(m);
    if (LOWORD(m.WParam) == WA_INACTIVE)
      OnDeactivate(this);
    else
      OnActivate(this);
    return;
  case CM_RELEASE:
    delete this;
    return;
  case CM_DIALOGKEY: {
    // Offered to every control of the form: default and cancel buttons answer.
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    for (TWinControl* c : list)
      if (c->Perform(CM_DIALOGKEY, m.WParam, m.LParam)) {
        m.Result = 1;
        return;
      }
    if (m.WParam == VK_TAB) {
      SelectNext(ActiveControl(), GetKeyState(VK_SHIFT) >= 0);
      m.Result = 1;
    }
    return;
  }
  case WM_SIZE:
    TWinControl::WndProc(m);
    PlaceMDIClient();
    return;
  default:
    break;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// [SECTION] TApplication: loop and errors

const TClassInfo& TApplication::ClassType()
{
  static const TClassInfo info("TApplication", &TComponent::ClassType());
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication()
{
  DestroyComponents();
  if (hintWindow_)
    DestroyWindow(hintWindow_);
  if (handle_)
    DestroyWindow(handle_);
  if (Application == this)
    Application = nullptr;
}

void TApplication::Initialize()
{
  if (initialized_)
    return;
  initialized_ = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  InstallSystemColors();
  // The shell's folder browser needs COM on this thread.
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  RegisterStandardClasses();
}

HWND TApplication::Handle()
{
  if (!handle_) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TApplication";
    RegisterWindowClass(wc);
    handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"TApplication", Utf8ToWide(title_).c_str(), WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, wc.hInstance, nullptr);
  }
  return handle_;
}

void TApplication::SetTitle(const std::string& value)
{
  title_ = value;
  if (handle_)
    SetWindowTextW(handle_, Utf8ToWide(value).c_str());
}

LRESULT CALLBACK TApplication::AppWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_TIMER && Application) {
    try {
      if (wParam == kHintShowTimer) {
        Application->HintTimerFired();
        return 0;
      }
      if (wParam == kHintHideTimer) {
        KillTimer(window, kHintHideTimer);
        Application->HideHintWindow();
        return 0;
      }
    } catch (...) {
      Application->HandleException(Application);
    }
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::Run()
{
  TMuteScope running(running_);
  if (mainForm_)
    mainForm_->Show();
  while (!terminated_)
    HandleMessage();
}

void TApplication::HandleMessage()
{
  MSG msg;
  BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got <= 0) {
    terminated_ = true;
    return;
  }
  ProcessMessage(msg);
}

void TApplication::ProcessMessages()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return;
    }
    ProcessMessage(msg);
  }
}

bool TApplication::ProcessMessage(MSG& msg)
{
  switch (msg.message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_NCLBUTTONDOWN:
    CancelHint();
    break;
  default:
    break;
  }
  if (IsShortCutKey(msg) || IsDialogChar(msg) || IsDialogKey(msg))
    return true;
  // The keys of the documents' own system menus (Ctrl+F4, Ctrl+F6).
  if (mainForm_ && mainForm_->ClientHandle() && TranslateMDISysAccel(mainForm_->ClientHandle(), &msg))
    return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

bool TApplication::IsShortCutKey(MSG& msg)
{
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
    return false;
  TForm* form = FormOfWindow(msg.hwnd);
  if (!form || !form->HandleAllocated() || !IsWindowEnabled(form->HandleIfAllocated()))
    return false;
  const TShiftState shift = KeyboardStateToShiftState();
  const TShortCut shortCut = MakeShortCut(uint16_t(msg.wParam), shift);
  TControl* focused = TWinControl::FindControl(msg.hwnd);
  TMenu* menu = form->ShortCutMenu(shortCut, focused);
  if (!menu)
    return false;
  // The form with KeyPreview sees the key before its menus, and may keep it.
  if (form->KeyPreview() && focused != form) {
    auto key = uint16_t(msg.wParam);
    form->OnKeyDown(form, key, shift);
    if (key == 0)
      return true;
  }
  try {
    menu->IsShortCut(shortCut);
  } catch (...) {
    HandleException(form);
  }
  return true;
}

bool TApplication::IsDialogChar(MSG& msg)
{
  // Alt with a letter: the form's controls may claim the accelerator;
  // otherwise the window opens its menu bar as usual.
  if (msg.message != WM_SYSCHAR)
    return false;
  TForm* form = FormOfWindow(msg.hwnd);
  return form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}

void TApplication::SetHint(const std::string& value)
{
  if (value == hint_)
    return;
  hint_ = value;
  OnHint(this);
}

bool TApplication::IsDialogKey(MSG& msg)
{
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE))
    return false;
  TWinControl* target = TWinControl::FindControl(msg.hwnd);
  if (!target)
    return false;
  TForm* form = target->ParentForm();
  if (!form || !form->HandleAllocated())
    return false;
  // A control that wants the key (a multi-line edit) keeps it.
  LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if ((msg.wParam == VK_TAB && (code & DLGC_WANTTAB)) || (code & DLGC_WANTALLKEYS))
    return false;
  // The form with KeyPreview sees the key first, and may consume it.
  if (form->KeyPreview() && form != target) {
    auto key = uint16_t(msg.wParam);
    form->OnKeyDown(form, key, KeyboardStateToShiftState());
    if (key == 0)
      return true;
  }
  return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
}

void TApplication::Terminate()
{
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender)
{
  std::exception_ptr current = std::current_exception();
  if (!current)
    return;
  auto report = [&](const std::exception& e) {
    try {
      if (OnException)
        OnException(sender, e);
      else
        ShowException(e);
    } catch (...) {
      // A failing error handler must not take the program down.
    }
  };
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& e) {
    report(e);
  } catch (...) {
    report(std::runtime_error("An unknown error occurred"));
  }
}

void TApplication::ShowException(const std::exception& e)
{
  std::string text = e.what();
  if (!text.empty() && text.back() != '.')
    text += '.';
  // The message box runs its own loop, in which timers keep ticking and
  // handlers keep running; a handler that fails each time would otherwise
  // stack a new box on every tick and never let the first one return. Such
  // a report waits for the box on screen, and a text already waiting or on
  // screen is not queued twice.
  constexpr size_t kMaxPendingReports = 16;
  if (reporting_) {
    if (std::find(pendingReports_.begin(), pendingReports_.end(), text) == pendingReports_.end() &&
        pendingReports_.size() < kMaxPendingReports)
      pendingReports_.push_back(std::move(text));
    return;
  }
  struct TReportingGuard {
    TApplication& app;
    ~TReportingGuard()
    {
      app.reporting_ = false;
      app.pendingReports_.clear();
    }
  } guard{*this};
  reporting_ = true;
  for (;;) {
    HWND owner = nullptr;
    if (mainForm_ && mainForm_->HandleAllocated() && IsWindowVisible(mainForm_->HandleIfAllocated()))
      owner = mainForm_->HandleIfAllocated();
    MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(title_).c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    // The text just shown is no longer news.
    std::erase(pendingReports_, text);
    if (pendingReports_.empty())
      break;
    text = std::move(pendingReports_.front());
    pendingReports_.erase(pendingReports_.begin());
  }
}

// ---------------------------------------------------------------------------
// [SECTION] TApplication: mouse tracking and hints

bool TApplication::EffectiveShowHint(const TControl* control)
{
  return control && control->ShowHint() && !control->Hint().empty();
}

void TApplication::SetShowHint(bool value)
{
  showHint_ = value;
  if (!value)
    CancelHint();
}

void TApplication::MouseOver(TControl* control)
{
  if (control != mouseControl_) {
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (old)
      old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (control) {
      control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
      auto* windowed = dynamic_cast<TWinControl*>(control);
      HWND window = windowed ? windowed->HandleIfAllocated()
                             : (control->Parent() ? control->Parent()->HandleIfAllocated() : nullptr);
      if (window) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
      }
    }
  }
  if (control != hintControl_) {
    HideHintWindow();
    hintControl_ = control;
    if (showHint_ && EffectiveShowHint(control))
      SetTimer(Handle(), kHintShowTimer, UINT(std::max(hintPause_, 1)), nullptr);
    else if (handle_)
      KillTimer(handle_, kHintShowTimer);
  }
}

void TApplication::MouseLeftWindow(TWinControl* control)
{
  if (!mouseControl_)
    return;
  if (mouseControl_ == control ||
      (mouseControl_->Parent() == control && !dynamic_cast<TWinControl*>(mouseControl_))) {
    TControl* old = mouseControl_;
    mouseControl_ = nullptr;
    old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    CancelHint();
  }
}

void TApplication::ControlDestroyed(TControl* control)
{
  if (mouseControl_ == control)
    mouseControl_ = nullptr;
  if (hintControl_ == control) {
    hintControl_ = nullptr;
    HideHintWindow();
    if (handle_)
      KillTimer(handle_, kHintShowTimer);
  }
  if (mainForm_ == control)
    mainForm_ = nullptr;
}

void TApplication::WindowGone(TWinControl* /*control*/) {}

void TApplication::CancelHint()
{
  if (handle_)
    KillTimer(handle_, kHintShowTimer);
  HideHintWindow();
  hintControl_ = nullptr;
}

void TApplication::HintTimerFired()
{
  KillTimer(Handle(), kHintShowTimer);
  if (!hintControl_ || !EffectiveShowHint(hintControl_))
    return;
  ShowHintWindow();
}

namespace {

LRESULT CALLBACK HintWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_PAINT) {
    TPaintScope paint(window);
    HDC dc = paint.DC();
    RECT r;
    GetClientRect(window, &r);
    TGdiBrush back(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
    FillRect(dc, &r, back.Get());
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    int n = GetWindowTextLengthW(window);
    std::wstring text(size_t(n) + 1, L'\0');
    GetWindowTextW(window, text.data(), n + 1);
    text.resize(size_t(n));
    TSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&r, -3, -2);
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace

void TApplication::ShowHintWindow()
{
  if (!hintWindow_) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HintWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"THintWindow";
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterWindowClass(wc);
    hintWindow_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"THintWindow", L"", WS_POPUP,
                                  0, 0, 0, 0, Handle(), nullptr, wc.hInstance, nullptr);
  }
  hintText_ = Utf8ToWide(hintControl_->Hint());
  SetWindowTextW(hintWindow_, hintText_.c_str());
  RECT size{0, 0, 300, 0};
  {
    TWindowDC dc(hintWindow_);
    TSelectObject font(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc.Get(), hintText_.c_str(), int(hintText_.size()), &size,
              DT_CALCRECT | DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  }
  POINT cursor;
  GetCursorPos(&cursor);
  SetWindowPos(hintWindow_, HWND_TOPMOST, cursor.x, cursor.y + 20, size.right + 6, size.bottom + 4,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hintWindow_, nullptr, TRUE);
  hintShown_ = true;
  SetTimer(Handle(), kHintHideTimer, UINT(std::max(hintHidePause_, 1)), nullptr);
}

void TApplication::HideHintWindow()
{
  if (hintWindow_ && hintShown_)
    ShowWindow(hintWindow_, SW_HIDE);
  hintShown_ = false;
  if (handle_)
    KillTimer(handle_, kHintHideTimer);
}

} // namespace framework
