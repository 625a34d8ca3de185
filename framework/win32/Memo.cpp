#include "framework/win32/Memo.h"

#include "framework/MuteScope.h"

namespace framework {

namespace {

const TEnumInfo& ScrollStyleInfo()
{
  static const TEnumInfo info{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
  return info;
}

// n line breaks (CR LF, LF or CR) make n + 1 lines and empty text none, so
// that joining the lines with CR LF gives the text back.
void SplitInto(TStringList& lines, std::string_view text)
{
  lines.BeginUpdate();
  lines.Clear();
  for (size_t start = 0; !text.empty();) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.Add(std::string(text.substr(start)));
      break;
    }
    lines.Add(std::string(text.substr(start, end - start)));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  lines.EndUpdate();
}

std::string Joined(const TStringList& lines)
{
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i > 0)
      text += "\r\n";
    text += lines[i];
  }
  return text;
}

} // namespace

const TClassInfo& TMemo::ClassType()
{
  static TClassInfo info("TMemo", &TEdit::ClassType(), [](TComponent* o) { return new TMemo(o); });
  static const bool described = [] {
    info.Hide("Text");
    info.Object("Lines", TStringList::ClassType(), &TMemo::Lines);
    info.Enum("ScrollBars", ScrollStyleInfo(), &TMemo::ScrollBars, &TMemo::SetScrollBars, int64_t(ssNone));
    info.Bool("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap, true);
    info.Bool("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns, true);
    info.Bool("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs, false);
    return true;
  }();
  (void)described;
  return info;
}

TMemo::TMemo(TComponent* owner) : TEdit(owner), lines_(std::make_unique<TStringList>())
{
  width_ = 185;
  height_ = 89;
  lines_->OnChange = TNotifyEvent([this](TObject*) { LinesChanged(); });
}

void TMemo::CreateParams(TCreateParams& p)
{
  TEdit::CreateParams(p);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (wordWrap_)
    p.Style &= ~DWORD(ES_AUTOHSCROLL);
  if (wantReturns_)
    p.Style |= ES_WANTRETURN;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
    p.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
    p.Style |= WS_VSCROLL;
}

void TMemo::SetScrollBars(TScrollStyle value)
{
  if (value == scrollBars_)
    return;
  scrollBars_ = value;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool value)
{
  if (value == wordWrap_)
    return;
  wordWrap_ = value;
  RecreateWnd();
}

void TMemo::SetWantReturns(bool value)
{
  if (value == wantReturns_)
    return;
  wantReturns_ = value;
  // The style matters to the window only inside dialogs; the keys are kept
  // or let go here (Wants).
  if (HandleAllocated()) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = value ? (style | ES_WANTRETURN) : (style & ~LONG_PTR(ES_WANTRETURN));
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
  }
}

void TMemo::SetCaption(const std::string& value)
{
  if (value != Joined(*lines_))
    SplitInto(*lines_, value);
}

void TMemo::LinesChanged()
{
  if (syncing_)
    return;
  caption_ = Joined(*lines_);
  if (HandleAllocated()) {
    TMuteScope<bool> syncing(syncing_);
    SetWindowTextW(handle_, Utf8ToWide(caption_).c_str());
  }
  if (!HasState(csLoading))
    Change();
}

void TMemo::TextChangedInWindow()
{
  caption_ = Caption();
  {
    TMuteScope<bool> syncing(syncing_);
    SplitInto(*lines_, caption_);
  }
  if (!HasState(csLoading))
    Change();
}

bool TMemo::Wants(WPARAM key) const
{
  switch (key) {
  case VK_RETURN: return wantReturns_;
  case VK_TAB: return wantTabs_;
  default: return true;
  }
}

void TMemo::WndProc(TMessage& m)
{
  switch (m.Msg) {
  case WM_SETTEXT:
    // Text set on the window by others reaches Lines; the window's own
    // change notice while it takes the text is not counted twice.
    if (syncing_)
      break;
    {
      TMuteScope<bool> syncing(syncing_);
      TEdit::WndProc(m);
    }
    TextChangedInWindow();
    return;
  case CN_COMMAND:
    if (HIWORD(m.WParam) != EN_CHANGE)
      break;
    if (!syncing_)
      TextChangedInWindow();
    return;
  case WM_GETDLGCODE:
    // A key the memo does not want goes to the form: Enter to its default
    // button, Tab to the next control.
    TEdit::WndProc(m);
    if (!Wants(m.WParam))
      m.Result &= ~LRESULT(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return;
  case WM_CHAR:
    // Enter and Tab (the characters carry the keys' codes) type nothing then.
    if (!Wants(m.WParam))
      return;
    // A window asked for its dialog code takes itself for part of a dialog,
    // and some then leave the tab to the dialog: a wanted tab is typed here.
    if (m.WParam == VK_TAB && !ReadOnly()) {
      SendMessageW(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
      return;
    }
    break;
  default:
    break;
  }
  TEdit::WndProc(m);
}

} // namespace framework
