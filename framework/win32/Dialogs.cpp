#include "framework/win32/Dialogs.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/Picture.h"
#include "framework/win32/FileCtrl.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

// [SECTION] Message dialogs
// [SECTION] Folder browser
// [SECTION] Colour dialog
// [SECTION] Picture-open dialog

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] Message dialogs

namespace {

// The message text: a static window, so that the text can be read by
// anything that looks at the dialog's windows (the skin, tests, screen readers).
class TMessageText : public TWinControl {
public:
  explicit TMessageText(TComponent* owner) : TWinControl(owner) { parentColor_ = true; }

protected:
  void CreateParams(TCreateParams& p) override
  {
    TWinControl::CreateParams(p);
    p.SystemClass = L"STATIC";
    p.Style |= SS_LEFT | SS_NOPREFIX;
    p.Style &= ~DWORD(WS_TABSTOP);
    p.Style &= ~DWORD(WS_CLIPCHILDREN);
  }
};

class TMessageForm : public TForm {
public:
  TMessageForm(TComponent* owner, LPCWSTR icon) : TForm(owner), icon_(icon) {}
  static const TClassInfo& ClassType()
  {
    static const TClassInfo info("TMessageForm", &TForm::ClassType());
    return info;
  }
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

protected:
  void Paint() override
  {
    TForm::Paint();
    if (!icon_)
      return;
    TCanvasDC dc(Canvas());
    if (dc.DC())
      DrawIconEx(dc.DC(), 12, 12, LoadIconW(nullptr, icon_), 32, 32, 0, nullptr, DI_NORMAL);
  }

private:
  LPCWSTR icon_;
};

} // namespace

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/)
{
  static const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};
  static const LPCWSTR kIcons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION, nullptr};
  static const struct {
    const char* Caption;
    int Result;
  } kButtons[] = {{"&Yes", mrYes}, {"&No", mrNo}, {"OK", mrOk}, {"Cancel", mrCancel}, {"&Abort", mrAbort},
                  {"&Retry", mrRetry}, {"&Ignore", mrIgnore}, {"&All", mrAll}, {"N&o to All", mrNoToAll},
                  {"Yes to &All", mrYesToAll}, {"&Help", 0}};
  if (buttons == 0)
    buttons = MsgButtons({mbOK});

  TMessageForm form(nullptr, kIcons[type]);
  form.SetName("MessageDialog");
  form.SetBorderStyle(bsDialog);
  form.SetPosition(poScreenCenter);
  form.SetCaption(type == mtCustom ? (Application ? Application->Title() : std::string()) : kCaptions[type]);
  form.SetColor(gfx::clBtnFace);

  // Text size decides the dialog's size.
  TCanvas measure;
  measure.Font = form.Font()->Value();
  gfx::TRect textRect(0, 0, 360, 0);
  CanvasDrawText(measure, text, textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  int iconSpace = kIcons[type] ? 56 : 12;
  int count = 0;
  for (int b = 0; b <= mbHelp; ++b)
    if (buttons & (1u << b))
      ++count;
  const int buttonWidth = 75, buttonHeight = 25, gap = 8;
  int buttonsWidth = count * buttonWidth + (count - 1) * gap;
  int clientWidth = std::max(iconSpace + textRect.Width() + 12, buttonsWidth + 24);
  int textHeight = std::max(textRect.Height(), kIcons[type] ? 32 : 0);
  int clientHeight = 12 + textHeight + 16 + buttonHeight + 12;
  form.SetClientSize(clientWidth, clientHeight);

  auto* label = new TMessageText(&form);
  label->SetBounds(iconSpace, 12 + (textHeight - textRect.Height()) / 2, textRect.Width() + 4, textRect.Height());
  label->SetCaption(text);
  label->SetParent(&form);

  int x = (clientWidth - buttonsWidth) / 2;
  bool first = true;
  bool hasCancel = buttons & (1u << mbCancel);
  for (int b = 0; b <= mbHelp; ++b) {
    if (!(buttons & (1u << b)))
      continue;
    auto* button = new TButton(&form);
    button->SetCaption(kButtons[b].Caption);
    button->SetModalResult(kButtons[b].Result);
    button->SetBounds(x, clientHeight - 12 - buttonHeight, buttonWidth, buttonHeight);
    button->SetDefault(first);
    // Escape presses Cancel, or No, or the only button there is.
    button->SetCancel(b == mbCancel || (!hasCancel && (b == mbNo || count == 1)));
    button->SetParent(&form);
    if (first)
      form.OnShow = TNotifyEvent([button](TObject*) { button->SetFocus(); });
    first = false;
    x += buttonWidth + gap;
  }
  return form.ShowModal();
}

// ---------------------------------------------------------------------------
// [SECTION] Folder browser

namespace {

BOOL CALLBACK FindTreeView(HWND child, LPARAM data)
{
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (_wcsicmp(name, WC_TREEVIEWW) != 0)
    return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

// The folder to open the browser on. The shell may not reach it at the first
// try while it is still filling the tree (the first browser of a process,
// slow drives): the request is repeated for a short while until the tree's
// selection is that folder.
struct TBrowseStart {
  std::wstring Folder;
  bool Reached = false;
  int TriesLeft = 8;
};

constexpr UINT_PTR kBrowseRetryTimer = 1;
constexpr wchar_t kBrowseStartProp[] = L"TSelectDirectoryStart";

void CALLBACK BrowseRetry(HWND window, UINT, UINT_PTR id, DWORD)
{
  auto* start = static_cast<TBrowseStart*>(GetPropW(window, kBrowseStartProp));
  if (!start || start->Reached || start->TriesLeft-- <= 0) {
    KillTimer(window, id);
    return;
  }
  SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->Folder.c_str()));
}

int CALLBACK BrowseCallback(HWND window, UINT msg, LPARAM lParam, LPARAM data)
{
  auto* start = reinterpret_cast<TBrowseStart*>(data);
  if (msg == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH] = {};
    if (start && lParam && SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path) &&
        lstrcmpiW(path, start->Folder.c_str()) == 0)
      start->Reached = true;
    return 0;
  }
  if (msg != BFFM_INITIALIZED)
    return 0;
  if (start) {
    SetPropW(window, kBrowseStartProp, start);
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->Folder.c_str()));
    if (!start->Reached)
      SetTimer(window, kBrowseRetryTimer, 250, BrowseRetry);
    return 0;
  }
  // Nothing to preselect: the root is chosen, so that OK answers it rather
  // than whatever the shell falls back on when nothing is selected.
  HWND tree = nullptr;
  EnumChildWindows(window, FindTreeView, reinterpret_cast<LPARAM>(&tree));
  if (tree) {
    LPARAM root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    if (root)
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, root);
  }
  return 0;
}

} // namespace

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory, HWND owner)
{
  std::wstring title = Utf8ToWide(caption);
  TBrowseStart start;
  if (DirectoryExists(directory)) {
    start.Folder = Utf8ToWide(directory);
    // The shell answers folders without a trailing separator.
    while (start.Folder.size() > 3 && (start.Folder.back() == L'\\' || start.Folder.back() == L'/'))
      start.Folder.pop_back();
  }
  PIDLIST_ABSOLUTE rootList = nullptr;
  if (!root.empty())
    SHParseDisplayName(Utf8ToWide(root).c_str(), nullptr, &rootList, 0, nullptr);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner ? owner : (Application ? Application->Handle() : nullptr);
  info.pidlRoot = rootList;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = start.Folder.empty() ? 0 : reinterpret_cast<LPARAM>(&start);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (rootList)
    CoTaskMemFree(rootList);
  if (!chosen)
    return false;
  wchar_t path[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  if (!ok)
    return false;
  directory = WideToUtf8(path);
  return true;
}

// ---------------------------------------------------------------------------
// [SECTION] Colour dialog

const TClassInfo& TColorDialog::ClassType()
{
  static TClassInfo info("TColorDialog", &TComponent::ClassType(), [](TComponent* o) { return new TColorDialog(o); });
  static const bool described = [] {
    info.Int("Color", &TColorDialog::Color, &TColorDialog::SetColor, int64_t(gfx::clBlack), &ColorIdents());
    return true;
  }();
  (void)described;
  return info;
}

TColorDialog::TColorDialog(TComponent* owner) : TComponent(owner)
{
  std::fill(std::begin(custom_), std::end(custom_), RGB(255, 255, 255));
}

bool TColorDialog::Execute(HWND owner)
{
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner ? owner : (Application ? Application->Handle() : nullptr);
  cc.rgbResult = ColorToCOLORREF(color_);
  cc.lpCustColors = custom_;
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!ChooseColorW(&cc))
    return false;
  color_ = gfx::TColor(cc.rgbResult & 0xFFFFFF);
  return true;
}

// ---------------------------------------------------------------------------
// [SECTION] Picture-open dialog

namespace {

const TEnumInfo& OpenOptionInfo()
{
  static const TEnumInfo info{
    "TOpenOption",
    {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
     "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt",
     "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
     "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"}};
  return info;
}

constexpr int kPreviewWidth = 180;

// The preview pane: draws the picture of the file selected in the dialog,
// scaled to fit, with its size below.
struct TPreviewState {
  HWND pane = nullptr;
  std::unique_ptr<TBitmap> image;
  std::wstring caption;
};

LRESULT CALLBACK PreviewPaneProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_PAINT) {
    auto* state = reinterpret_cast<TPreviewState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    TPaintScope paint(window);
    HDC dc = paint.DC();
    RECT r;
    GetClientRect(window, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT box{4, 4, r.right - 4, r.bottom - 24};
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    if (state && state->image && !state->image->Empty()) {
      int bw = box.right - box.left - 4, bh = box.bottom - box.top - 4;
      int w = state->image->Width(), h = state->image->Height();
      if (w > bw || h > bh) {
        if (int64_t(w) * bh > int64_t(h) * bw) {
          h = std::max(1, MulDiv(h, bw, w));
          w = bw;
        } else {
          w = std::max(1, MulDiv(w, bh, h));
          h = bh;
        }
      }
      // Nothing may leave a window procedure: without a DC the picture is
      // left out.
      try {
        TMemoryDC memory(dc);
        TSelectObject selected(memory.Get(), static_cast<HBITMAP>(state->image->NativeHandle()));
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, box.left + 2 + (bw - w) / 2, box.top + 2 + (bh - h) / 2, w, h, memory.Get(), 0, 0,
                   state->image->Width(), state->image->Height(), SRCCOPY);
      } catch (const std::bad_alloc&) {
      }
    }
    if (state) {
      RECT text{4, r.bottom - 20, r.right - 4, r.bottom};
      SetBkMode(dc, TRANSPARENT);
      TSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
      DrawTextW(dc, state->caption.c_str(), int(state->caption.size()), &text, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void LoadPreview(TPreviewState& state, const std::wstring& path)
{
  state.image.reset();
  state.caption.clear();
  if (FileExists(WideToUtf8(path))) {
    try {
      TPicture picture;
      picture.LoadFromFile(WideToUtf8(path));
      if (!picture.Empty()) {
        auto image = std::make_unique<TBitmap>(picture.Width(), picture.Height());
        gfx::TRect all(0, 0, picture.Width(), picture.Height());
        image->Canvas().Brush.Color = gfx::clBtnFace;
        image->Canvas().FillRect(all);
        picture.Draw(image->Canvas(), all);
        state.caption = std::to_wstring(picture.Width()) + L" x " + std::to_wstring(picture.Height());
        state.image = std::move(image);
      }
    } catch (const std::exception&) {
      // A file that is not a picture simply shows no preview.
      state.caption = L"(no preview)";
    }
  }
  if (state.pane) {
    // The caption is the pane's text too, for anything that reads windows.
    SetWindowTextW(state.pane, state.caption.c_str());
    InvalidateRect(state.pane, nullptr, TRUE);
  }
}

UINT_PTR CALLBACK OpenHook(HWND hook, UINT msg, WPARAM /*wParam*/, LPARAM lParam)
{
  HWND dialog = GetParent(hook);
  auto* state = reinterpret_cast<TPreviewState*>(GetWindowLongPtrW(hook, GWLP_USERDATA));
  switch (msg) {
  case WM_INITDIALOG: {
    auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
    state = reinterpret_cast<TPreviewState*>(ofn->lCustData);
    SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    // Room for the pane at the right of the dialog.
    RECT r;
    GetWindowRect(dialog, &r);
    SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left + kPreviewWidth, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PreviewPaneProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TPicturePreview";
    try {
      RegisterWindowClass(wc);
    } catch (const Exception&) {
      // A dialog hook must not throw; the dialog goes on without its pane.
      return 0;
    }
    RECT client;
    GetClientRect(dialog, &client);
    state->pane = CreateWindowExW(0, L"TPicturePreview", L"", WS_CHILD | WS_VISIBLE, client.right - kPreviewWidth, 8,
                                  kPreviewWidth - 8, std::max(LONG(100), client.bottom - 60), dialog, nullptr,
                                  wc.hInstance, nullptr);
    SetWindowLongPtrW(state->pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return 0;
  }
  case WM_SIZE:
    if (state && state->pane) {
      RECT client;
      GetClientRect(dialog, &client);
      SetWindowPos(state->pane, nullptr, client.right - kPreviewWidth, 8, kPreviewWidth - 8,
                   std::max(LONG(100), client.bottom - 60), SWP_NOZORDER);
    }
    return 0;
  case WM_NOTIFY: {
    auto* notify = reinterpret_cast<OFNOTIFYW*>(lParam);
    if (state && notify->hdr.code == CDN_SELCHANGE) {
      wchar_t path[MAX_PATH * 2] = {};
      SendMessageW(dialog, CDM_GETFILEPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(path));
      LoadPreview(*state, path);
    }
    return 0;
  }
  default:
    return 0;
  }
}

} // namespace

const TClassInfo& TOpenPictureDialog::ClassType()
{
  static TClassInfo info("TOpenPictureDialog", &TComponent::ClassType(),
                         [](TComponent* o) { return new TOpenPictureDialog(o); });
  static const bool described = [] {
    info.Str("Title", &TOpenPictureDialog::Title, &TOpenPictureDialog::SetTitle);
    info.Str("FileName", &TOpenPictureDialog::FileName, &TOpenPictureDialog::SetFileName);
    info.Str("InitialDir", &TOpenPictureDialog::InitialDir, &TOpenPictureDialog::SetInitialDir);
    info.Str("Filter", &TOpenPictureDialog::Filter, &TOpenPictureDialog::SetFilter);
    info.Set("Options", OpenOptionInfo(), &TOpenPictureDialog::Options, &TOpenPictureDialog::SetOptions,
             int64_t((1u << ofHideReadOnly) | (1u << ofEnableSizing)));
    return true;
  }();
  (void)described;
  return info;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TComponent(owner)
{
  // Every registered picture format, so a format added later is offered too.
  filter_ = GraphicFilter();
}

bool TOpenPictureDialog::Execute(HWND owner)
{
  std::wstring filter = Utf8ToWide(filter_);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring initial = Utf8ToWide(fileName_);
  std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());
  std::wstring title = Utf8ToWide(title_);
  std::wstring folder = Utf8ToWide(initialDir_);
  TPreviewState state;

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner ? owner : (Application ? Application->Handle() : nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK;
  static const struct {
    TOpenOption Option;
    DWORD Flag;
  } kFlags[] = {{ofReadOnly, OFN_READONLY}, {ofOverwritePrompt, OFN_OVERWRITEPROMPT}, {ofHideReadOnly, OFN_HIDEREADONLY},
                {ofNoChangeDir, OFN_NOCHANGEDIR}, {ofShowHelp, OFN_SHOWHELP}, {ofNoValidate, OFN_NOVALIDATE},
                {ofAllowMultiSelect, OFN_ALLOWMULTISELECT}, {ofPathMustExist, OFN_PATHMUSTEXIST},
                {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofCreatePrompt, OFN_CREATEPROMPT},
                {ofShareAware, OFN_SHAREAWARE}, {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
                {ofNoTestFileCreate, OFN_NOTESTFILECREATE}, {ofNoNetworkButton, OFN_NONETWORKBUTTON},
                {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS}, {ofEnableSizing, OFN_ENABLESIZING}};
  for (const auto& f : kFlags)
    if (options_ & (1u << f.Option))
      ofn.Flags |= f.Flag;
  ofn.lpfnHook = OpenHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&state);
  if (!GetOpenFileNameW(&ofn))
    return false;
  fileName_ = WideToUtf8(file.data());
  return true;
}

} // namespace framework
