#include "framework/win32/ComCtrls.h"

#include "framework/MuteScope.h"
#include "framework/win32/OffScreenDraw.h"

#include <commctrl.h>

#include <algorithm>

// [SECTION] Up-down
// [SECTION] Track bar
// [SECTION] Status bar
// [SECTION] Page control and tab sheets

namespace framework {

namespace {

const TEnumInfo& UDOrientationInfo()
{
  static const TEnumInfo info{"TUDOrientation", {"udHorizontal", "udVertical"}};
  return info;
}
const TEnumInfo& TrackOrientationInfo()
{
  static const TEnumInfo info{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};
  return info;
}
const TEnumInfo& TickStyleInfo()
{
  static const TEnumInfo info{"TTickStyle", {"tsNone", "tsAuto", "tsManual"}};
  return info;
}
const TEnumInfo& TickMarkInfo()
{
  static const TEnumInfo info{"TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"}};
  return info;
}
const TEnumInfo& PanelBevelInfo()
{
  static const TEnumInfo info{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};
  return info;
}
const TEnumInfo& PanelStyleInfo()
{
  static const TEnumInfo info{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};
  return info;
}
} // namespace

const TEnumInfo& TabStyleInfo()
{
  static const TEnumInfo info{"TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"}};
  return info;
}

const TEnumInfo& TabPositionInfo()
{
  static const TEnumInfo info{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};
  return info;
}

DWORD TabWindowStyle(TTabStyle style, TTabPosition position, bool multiLine)
{
  DWORD bits = 0;
  if (style == tsButtons)
    bits |= TCS_BUTTONS;
  else if (style == tsFlatButtons)
    bits |= TCS_BUTTONS | TCS_FLATBUTTONS;
  if (position == tpBottom)
    bits |= TCS_BOTTOM;
  else if (position == tpLeft)
    bits |= TCS_VERTICAL | TCS_MULTILINE;
  else if (position == tpRight)
    bits |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
  if (multiLine)
    bits |= TCS_MULTILINE;
  return bits;
}

gfx::TRect TabDisplayRect(HWND window, const gfx::TRect& rect)
{
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return gfx::TRect(r.left, r.top, std::max(r.left, LONG(r.right)), std::max(r.top, LONG(r.bottom)));
}

// ---------------------------------------------------------------------------
// [SECTION] Up-down

const TClassInfo& TUpDown::ClassType()
{
  static TClassInfo info("TUpDown", &TWinControl::ClassType(), [](TComponent* o) { return new TUpDown(o); });
  static const bool described = [] {
    TPropInfo& associate = info.Add(TPropInfo{});
    associate.Name = "Associate";
    associate.Kind = TTypeKind::tkClass;
    associate.PropClass = &TWinControl::ClassType();
    associate.GetObj = [](const TObject& o) -> TObject* { return static_cast<const TUpDown&>(o).Associate(); };
    associate.SetObj = [](TObject& o, TObject* v) { static_cast<TUpDown&>(o).SetAssociate(dynamic_cast<TWinControl*>(v)); };
    info.Int("Min", &TUpDown::Min, &TUpDown::SetMin, int64_t(0));
    info.Int("Max", &TUpDown::Max, &TUpDown::SetMax, int64_t(100));
    info.Int("Position", &TUpDown::Position, &TUpDown::SetPosition, int64_t(0));
    info.Int("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, int64_t(1));
    info.Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap, false);
    info.Enum("Orientation", UDOrientationInfo(), &TUpDown::Orientation, &TUpDown::SetOrientation, int64_t(udVertical));
    return true;
  }();
  (void)described;
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner)
{
  width_ = 17;
  height_ = 25;
  controlStyle_ = csCaptureMouse | csDoubleClicks;
}

TUpDown::~TUpDown() { SetAssociate(nullptr); }

void TUpDown::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = UPDOWN_CLASSW;
  p.Style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS | (wrap_ ? UDS_WRAP : 0) | (orientation_ == udHorizontal ? UDS_HORZ : 0);
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TUpDown::CreateWnd()
{
  TWinControl::CreateWnd();
  SendMessageW(handle_, UDM_SETRANGE32, WPARAM(min_), LPARAM(max_));
  UDACCEL accel{0, UINT(increment_)};
  SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SendMessageW(handle_, UDM_SETPOS32, 0, LPARAM(position_));
}

void TUpDown::Notification(TComponent* component, TOperation operation)
{
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == associate_)
    associate_ = nullptr;
}

void TUpDown::SetAssociate(TWinControl* value)
{
  if (value == associate_)
    return;
  if (associate_)
    associate_->RemoveFreeNotification(this);
  associate_ = value;
  if (!value)
    return;
  value->FreeNotification(this);
  if (!HasState(csLoading)) {
    PlaceBesideAssociate();
    ShowPositionInAssociate();
  }
}

void TUpDown::PlaceBesideAssociate()
{
  if (associate_ && associate_->Parent() == parent_)
    SetBounds(associate_->Left() + associate_->Width(), associate_->Top(), width_, associate_->Height());
}

void TUpDown::ShowPositionInAssociate()
{
  if (associate_)
    associate_->SetText(std::to_string(position_));
}

void TUpDown::SetMin(int value)
{
  min_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, UDM_SETRANGE32, WPARAM(min_), LPARAM(max_));
}

void TUpDown::SetMax(int value)
{
  max_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, UDM_SETRANGE32, WPARAM(min_), LPARAM(max_));
}

void TUpDown::SetIncrement(int value)
{
  increment_ = std::max(1, value);
  if (HandleAllocated()) {
    UDACCEL accel{0, UINT(increment_)};
    SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TUpDown::SetOrientation(TUDOrientation value)
{
  if (value == orientation_)
    return;
  orientation_ = value;
  RecreateWnd();
}

int TUpDown::Position() const
{
  // The user may have typed a number into the associated edit.
  if (associate_ && !HasState(csLoading)) {
    if (auto typed = ParseInteger(associate_->Text()))
      position_ = int(std::clamp<int64_t>(*typed, std::min(min_, max_), std::max(min_, max_)));
  }
  return position_;
}

void TUpDown::SetPosition(int value)
{
  if (!HasState(csLoading))
    value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  bool changed = value != position_;
  position_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, UDM_SETPOS32, 0, LPARAM(value));
  if (!HasState(csLoading) && (changed || (associate_ && associate_->Text() != std::to_string(value))))
    ShowPositionInAssociate();
}

void TUpDown::Loaded()
{
  TWinControl::Loaded();
  position_ = std::clamp(position_, std::min(min_, max_), std::max(min_, max_));
  PlaceBesideAssociate();
  ShowPositionInAssociate();
}

void TUpDown::WndProc(TMessage& m)
{
  if (const NMHDR* header = ReflectedNotifyHeader(m); header && header->code == UDN_DELTAPOS) {
    // Steps are applied here so the associated edit follows, range and
    // wrapping included.
    const auto* delta = reinterpret_cast<const NMUPDOWN*>(header);
    int current = Position();
    int next = current + delta->iDelta * increment_;
    int lo = std::min(min_, max_), hi = std::max(min_, max_);
    if (next > hi)
      next = wrap_ ? lo : hi;
    if (next < lo)
      next = wrap_ ? hi : lo;
    m.Result = 1; // the control itself changes nothing
    if (next != current) {
      SetPosition(next);
      Click();
    }
    return;
  }
  if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL)
    return;
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// [SECTION] Track bar

const TClassInfo& TTrackBar::ClassType()
{
  static TClassInfo info("TTrackBar", &TWinControl::ClassType(), [](TComponent* o) { return new TTrackBar(o); });
  static const bool described = [] {
    info.Int("Min", &TTrackBar::Min, &TTrackBar::SetMin, int64_t(0));
    info.Int("Max", &TTrackBar::Max, &TTrackBar::SetMax, int64_t(10));
    info.Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition, int64_t(0));
    info.Int("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize, int64_t(2));
    info.Int("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize, int64_t(1));
    info.Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency, int64_t(1));
    info.Enum("Orientation", TrackOrientationInfo(), &TTrackBar::Orientation, &TTrackBar::SetOrientation,
              int64_t(trHorizontal));
    info.Enum("TickStyle", TickStyleInfo(), &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, int64_t(tsAuto));
    info.Enum("TickMarks", TickMarkInfo(), &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, int64_t(tmBottomRight));
    info.Event("OnChange", &TTrackBar::OnChange);
    return true;
  }();
  (void)described;
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
  width_ = 150;
  height_ = 45;
  tabStop_ = true;
  controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
}

void TTrackBar::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = TRACKBAR_CLASSW;
  p.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
  if (tickStyle_ == tsNone)
    p.Style |= TBS_NOTICKS;
  else if (tickStyle_ == tsAuto)
    p.Style |= TBS_AUTOTICKS;
  if (tickMarks_ == tmBoth)
    p.Style |= TBS_BOTH;
  else if (tickMarks_ == tmTopLeft)
    p.Style |= TBS_TOP;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TTrackBar::CreateWnd()
{
  TWinControl::CreateWnd();
  SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(handle_, TBM_SETPAGESIZE, 0, pageSize_);
  SendMessageW(handle_, TBM_SETLINESIZE, 0, lineSize_);
  if (tickStyle_ == tsAuto)
    SendMessageW(handle_, TBM_SETTICFREQ, WPARAM(frequency_), 0);
  SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::Changed()
{
  if (!HasState(csLoading))
    OnChange(this);
}

void TTrackBar::SetMin(int value)
{
  min_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, TBM_SETRANGEMIN, TRUE, min_);
  if (!HasState(csLoading) && position_ < min_)
    SetPosition(min_);
}

void TTrackBar::SetMax(int value)
{
  max_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, max_);
  if (!HasState(csLoading) && position_ > max_)
    SetPosition(max_);
}

void TTrackBar::SetPosition(int value)
{
  if (!HasState(csLoading))
    value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  if (value == position_)
    return;
  position_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
  Changed();
}

void TTrackBar::SetPageSize(int value)
{
  pageSize_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, TBM_SETPAGESIZE, 0, pageSize_);
}

void TTrackBar::SetLineSize(int value)
{
  lineSize_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, TBM_SETLINESIZE, 0, lineSize_);
}

void TTrackBar::SetFrequency(int value)
{
  frequency_ = std::max(1, value);
  if (HandleAllocated())
    SendMessageW(handle_, TBM_SETTICFREQ, WPARAM(frequency_), 0);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
  if (value == orientation_)
    return;
  orientation_ = value;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value)
{
  if (value == tickStyle_)
    return;
  tickStyle_ = value;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark value)
{
  if (value == tickMarks_)
    return;
  tickMarks_ = value;
  RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m)
{
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    int pos = int(SendMessageW(handle_, TBM_GETPOS, 0, 0));
    if (pos != position_) {
      position_ = pos;
      Changed();
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// [SECTION] Status bar

const TClassInfo& TStatusPanel::ClassType()
{
  static TClassInfo info("TStatusPanel", &TCollectionItem::ClassType());
  static const bool described = [] {
    info.Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth, int64_t(50));
    info.Str("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    info.Enum("Alignment", AlignmentInfo(), &TStatusPanel::Alignment, &TStatusPanel::SetAlignment,
              int64_t(taLeftJustify));
    info.Enum("Bevel", PanelBevelInfo(), &TStatusPanel::Bevel, &TStatusPanel::SetBevel, int64_t(pbLowered));
    info.Enum("Style", PanelStyleInfo(), &TStatusPanel::Style, &TStatusPanel::SetStyle, int64_t(psText));
    return true;
  }();
  (void)described;
  return info;
}

void TStatusPanel::SetWidth(int value)
{
  if (value == width_)
    return;
  width_ = value;
  Changed();
}

void TStatusPanel::SetText(const std::string& value)
{
  if (value == text_)
    return;
  text_ = value;
  Changed();
}

void TStatusPanel::SetAlignment(TAlignment value)
{
  if (value == alignment_)
    return;
  alignment_ = value;
  Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel value)
{
  if (value == bevel_)
    return;
  bevel_ = value;
  Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle value)
{
  if (value == style_)
    return;
  style_ = value;
  Changed();
}

const TClassInfo& TStatusBar::ClassType()
{
  static TClassInfo info("TStatusBar", &TWinControl::ClassType(), [](TComponent* o) { return new TStatusBar(o); });
  static const bool described = [] {
    info.Object("Panels", TCollection::ClassType(), &TStatusBar::Panels);
    info.Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false);
    info.Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    info.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip, true);
    info.Enum("Align", AlignInfo(), &TStatusBar::Align, &TStatusBar::SetAlign, int64_t(alBottom));
    info.Event("OnDrawPanel", &TStatusBar::OnDrawPanel);
    return true;
  }();
  (void)described;
  return info;
}

TStatusBar::TStatusBar(TComponent* owner)
  : TWinControl(owner), panels_(std::make_unique<TCollection>([] { return std::make_unique<TStatusPanel>(); }))
{
  width_ = 200;
  height_ = 19;
  align_ = alBottom;
  controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
  panels_->OnChange = TNotifyEvent([this](TObject*) { UpdatePanels(); });
}

void TStatusBar::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = STATUSCLASSNAMEW;
  // Our alignment places the bar; the window must not move itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TStatusBar::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::UpdatePanels()
{
  if (!HandleAllocated())
    return;
  SendMessageW(handle_, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
  if (simplePanel_) {
    SendMessageW(handle_, SB_SETTEXTW, 255, reinterpret_cast<LPARAM>(Utf8ToWide(simpleText_).c_str()));
    return;
  }
  int count = std::max(panels_->Count(), 1);
  std::vector<int> edges(size_t(count), -1);
  int right = 0;
  for (int i = 0; i < panels_->Count(); ++i) {
    right += Panel(i)->Width();
    // The last panel takes what is left of the bar.
    edges[size_t(i)] = i == panels_->Count() - 1 ? -1 : right;
  }
  SendMessageW(handle_, SB_SETPARTS, WPARAM(count), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < panels_->Count(); ++i) {
    TStatusPanel* panel = Panel(i);
    const WPARAM bevel = panel->Bevel() == pbNone ? SBT_NOBORDERS : panel->Bevel() == pbRaised ? SBT_POPOUT : 0;
    if (panel->Style() == psOwnerDraw) {
      // The item data of an owner-drawn part is the panel's index.
      SendMessageW(handle_, SB_SETTEXTW, WPARAM(i) | bevel | SBT_OWNERDRAW, LPARAM(i));
      continue;
    }
    // Centred and right-aligned text is marked by leading tabs.
    std::wstring text = Utf8ToWide(panel->Text());
    if (panel->Alignment() == taCenter)
      text = L"\t" + text;
    else if (panel->Alignment() == taRightJustify)
      text = L"\t\t" + text;
    SendMessageW(handle_, SB_SETTEXTW, WPARAM(i) | bevel, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TStatusBar::DrawPanel(TStatusPanel* panel, TCanvas& canvas, const gfx::TRect& rect)
{
  // Canvas() answers the panel's canvas while the event draws.
  const TMuteScope<TCanvas*> lent(paintCanvas_);
  paintCanvas_ = &canvas;
  OnDrawPanel(this, panel, rect);
}

void TStatusBar::WndProc(TMessage& m)
{
  if (m.Msg == CN_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    const int index = int(draw.itemData);
    if (index >= 0 && index < panels_->Count()) {
      const gfx::TRect rect(draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom);
      DrawOffScreen(draw.hDC, rect, font_->Value(), [&](TCanvas& canvas) {
        canvas.Brush.Color = color_;
        canvas.Brush.Style = bsSolid;
        canvas.FillRect(rect);
        DrawPanel(Panel(index), canvas, rect);
      });
    }
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}

std::string TStatusBar::PanelTextShown(int index) const
{
  if (!HandleAllocated())
    return {};
  auto length = LOWORD(SendMessageW(handle_, SB_GETTEXTLENGTHW, WPARAM(index), 0));
  std::wstring text(size_t(length) + 1, L'\0');
  SendMessageW(handle_, SB_GETTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return WideToUtf8(text);
}

void TStatusBar::SetSimplePanel(bool value)
{
  simplePanel_ = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& value)
{
  simpleText_ = value;
  UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value)
{
  if (value == sizeGrip_)
    return;
  sizeGrip_ = value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------
// [SECTION] Page control and tab sheets

const TClassInfo& TTabSheet::ClassType()
{
  static TClassInfo info("TTabSheet", &TWinControl::ClassType(), [](TComponent* o) { return new TTabSheet(o); });
  static const bool described = [] {
    info.Str("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
    info.Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);
    // A sheet is shown when it is the active page, not by a stored flag.
    info.Hide("Visible");
    info.Hide("Align");
    info.Hide("Left");
    info.Hide("Top");
    info.Hide("Width");
    info.Hide("Height");
    return true;
  }();
  (void)described;
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
  align_ = alClient;
  visible_ = false;
  controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(parent_); }

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

int TTabSheet::PageIndex() const
{
  TPageControl* pc = PageControl();
  if (!pc)
    return -1;
  std::vector<TTabSheet*> sheets = pc->Sheets();
  auto it = std::find(sheets.begin(), sheets.end(), this);
  return it == sheets.end() ? -1 : int(it - sheets.begin());
}

void TTabSheet::SetPageIndex(int value)
{
  if (TPageControl* pc = PageControl()) {
    SetTabOrder(value);
    pc->UpdateTabs();
  }
}

void TTabSheet::SetTabVisible(bool value)
{
  if (value == tabVisible_)
    return;
  tabVisible_ = value;
  if (TPageControl* pc = PageControl())
    pc->UpdateTabs();
}

void TTabSheet::TextChanged()
{
  if (TPageControl* pc = PageControl())
    pc->UpdateTabs();
}

const TClassInfo& TPageControl::ClassType()
{
  static TClassInfo info("TPageControl", &TWinControl::ClassType(), [](TComponent* o) { return new TPageControl(o); });
  static const bool described = [] {
    info.Enum("Style", TabStyleInfo(), &TPageControl::Style, &TPageControl::SetStyle, int64_t(tsTabs));
    info.Enum("TabPosition", TabPositionInfo(), &TPageControl::TabPosition, &TPageControl::SetTabPosition,
              int64_t(tpTop));
    TPropInfo& active = info.Add(TPropInfo{});
    active.Name = "ActivePage";
    active.Kind = TTypeKind::tkClass;
    active.PropClass = &TTabSheet::ClassType();
    active.GetObj = [](const TObject& o) -> TObject* { return static_cast<const TPageControl&>(o).ActivePage(); };
    active.SetObj = [](TObject& o, TObject* v) {
      static_cast<TPageControl&>(o).SetActivePage(dynamic_cast<TTabSheet*>(v));
    };
    info.Int("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex).Stored = false;
    info.Bool("TabStop", &TPageControl::TabStop, &TPageControl::SetTabStop, true);
    info.Event("OnChange", &TPageControl::OnChange);
    info.Event("OnChanging", &TPageControl::OnChanging);
    return true;
  }();
  (void)described;
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner)
{
  width_ = 289;
  height_ = 193;
  tabStop_ = true;
  controlStyle_ = csAcceptsControls | csCaptureMouse | csDoubleClicks;
}

void TPageControl::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = WC_TABCONTROLW;
  p.Style |= WS_CLIPCHILDREN | TabWindowStyle(style_, tabPosition_, false);
}

void TPageControl::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdateTabs();
  AlignControls();
}

std::vector<TTabSheet*> TPageControl::Sheets() const
{
  std::vector<TTabSheet*> sheets;
  for (TControl* c : controls_)
    if (auto* sheet = dynamic_cast<TTabSheet*>(c))
      sheets.push_back(sheet);
  return sheets;
}

int TPageControl::PageCount() const { return int(Sheets().size()); }

TTabSheet* TPageControl::Pages(int index) const
{
  std::vector<TTabSheet*> sheets = Sheets();
  return index >= 0 && size_t(index) < sheets.size() ? sheets[size_t(index)] : nullptr;
}

gfx::TRect TPageControl::AdjustClientRect(gfx::TRect rect) const
{
  if (HandleAllocated())
    return TabDisplayRect(handle_, rect);
  return gfx::TRect(rect.Left + 4, rect.Top + 24, rect.Right - 4, rect.Bottom - 4);
}

void TPageControl::UpdateTabs()
{
  if (!HandleAllocated())
    return;
  SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
  int tab = 0, selected = -1;
  for (TTabSheet* sheet : Sheets()) {
    if (!sheet->TabVisible())
      continue;
    std::wstring text = Utf8ToWide(sheet->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(handle_, TCM_INSERTITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    if (sheet == activePage_)
      selected = tab;
    ++tab;
  }
  SendMessageW(handle_, TCM_SETCURSEL, WPARAM(selected), 0);
  AlignControls();
}

void TPageControl::SetActivePage(TTabSheet* page)
{
  if (page && page->PageControl() != this)
    return;
  if (page == activePage_) {
    if (page && !page->Visible() && !HasState(csLoading))
      page->SetVisible(true);
    return;
  }
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (HasState(csLoading))
    return;
  if (page) {
    // Raised on the screen only: the order of the sheets is the order of the tabs.
    page->SetVisible(true);
    if (page->HandleAllocated())
      SetWindowPos(page->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (old)
    old->SetVisible(false);
  if (HandleAllocated()) {
    int tab = 0, selected = -1;
    for (TTabSheet* sheet : Sheets()) {
      if (!sheet->TabVisible())
        continue;
      if (sheet == page)
        selected = tab;
      ++tab;
    }
    SendMessageW(handle_, TCM_SETCURSEL, WPARAM(selected), 0);
  }
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value) { SetActivePage(Pages(value)); }

void TPageControl::SetStyle(TTabStyle value)
{
  if (value == style_)
    return;
  style_ = value;
  RecreateWnd();
}

void TPageControl::SetTabPosition(TTabPosition value)
{
  if (value == tabPosition_)
    return;
  tabPosition_ = value;
  RecreateWnd();
}

void TPageControl::Loaded()
{
  TWinControl::Loaded();
  TTabSheet* page = activePage_ ? activePage_ : Pages(0);
  activePage_ = nullptr;
  for (TTabSheet* sheet : Sheets())
    sheet->SetVisible(false);
  SetActivePage(page);
  UpdateTabs();
}

void TPageControl::Notification(TComponent* component, TOperation operation)
{
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == activePage_)
    activePage_ = nullptr;
}

void TPageControl::WndProc(TMessage& m)
{
  switch (m.Msg) {
  case CN_NOTIFY: {
    const NMHDR* header = ReflectedNotifyHeader(m);
    if (!header)
      break;
    if (header->code == TCN_SELCHANGING) {
      bool allow = true;
      OnChanging(this, allow);
      m.Result = allow ? 0 : 1;
      return;
    }
    if (header->code == TCN_SELCHANGE) {
      // Tabs are the sheets whose tab is visible, in order.
      int tab = int(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
      for (TTabSheet* sheet : Sheets())
        if (sheet->TabVisible() && tab-- == 0) {
          SetActivePage(sheet);
          break;
        }
      OnChange(this);
      return;
    }
    break;
  }
  case CM_CONTROLLISTCHANGE: {
    auto* control = reinterpret_cast<TControl*>(m.WParam);
    if (m.LParam == 0 && control == activePage_)
      activePage_ = nullptr;
    if (dynamic_cast<TTabSheet*>(control) && !HasState(csLoading) && !HasState(csDestroying)) {
      if (m.LParam != 0 && !activePage_)
        SetActivePage(static_cast<TTabSheet*>(control));
      UpdateTabs();
    }
    break;
  }
  default:
    break;
  }
  TWinControl::WndProc(m);
}

} // namespace framework
