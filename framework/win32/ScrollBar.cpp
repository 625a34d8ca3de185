#include "framework/win32/ScrollBar.h"

#include <algorithm>

namespace framework {

static_assert(scLineUp == SB_LINEUP && scLineDown == SB_LINEDOWN && scPageUp == SB_PAGEUP &&
                scPageDown == SB_PAGEDOWN && scPosition == SB_THUMBPOSITION && scTrack == SB_THUMBTRACK &&
                scTop == SB_TOP && scBottom == SB_BOTTOM && scEndScroll == SB_ENDSCROLL,
              "a scroll message's code is taken as a TScrollCode by its number");

namespace {

const TEnumInfo& ScrollBarKindInfo()
{
  static const TEnumInfo info{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
  return info;
}

// A line or a page is at least one step and at most what the system's
// 16-bit scroll messages could ever carry.
int StepSize(int value) { return std::clamp(value, 1, 32767); }

} // namespace

const TClassInfo& TScrollBar::ClassType()
{
  static TClassInfo info("TScrollBar", &TWinControl::ClassType(), [](TComponent* o) { return new TScrollBar(o); });
  static const bool described = [] {
    info.Enum("Kind", ScrollBarKindInfo(), &TScrollBar::Kind, &TScrollBar::SetKind, int64_t(sbHorizontal));
    info.Int("Min", &TScrollBar::Min, &TScrollBar::SetMin, int64_t(0));
    info.Int("Max", &TScrollBar::Max, &TScrollBar::SetMax, int64_t(100));
    info.Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, int64_t(0));
    info.Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition, int64_t(0));
    info.Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, int64_t(1));
    info.Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, int64_t(1));
    info.Bool("TabStop", &TScrollBar::TabStop, &TScrollBar::SetTabStop, true);
    info.Event("OnChange", &TScrollBar::OnChange);
    info.Event("OnScroll", &TScrollBar::OnScroll);
    return true;
  }();
  (void)described;
  return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner)
{
  controlStyle_ = csCaptureMouse | csDoubleClicks;
  width_ = 121;
  height_ = GetSystemMetrics(SM_CYHSCROLL);
  tabStop_ = true;
}

void TScrollBar::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"SCROLLBAR";
  p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TScrollBar::CreateWnd()
{
  TWinControl::CreateWnd();
  ShowRange();
}

void TScrollBar::SetKind(TScrollBarKind value)
{
  if (value == kind_)
    return;
  kind_ = value;
  if (!HasState(csLoading))
    SetBounds(left_, top_, height_, width_);
  RecreateWnd();
}

void TScrollBar::SetMin(int value)
{
  min_ = value;
  if (!HasState(csLoading))
    Settle(true);
}

void TScrollBar::SetMax(int value)
{
  max_ = value;
  if (HasState(csLoading))
    return;
  min_ = std::min(min_, max_);
  Settle(true);
}

void TScrollBar::SetPageSize(int value)
{
  pageSize_ = value;
  if (!HasState(csLoading))
    Settle(true);
}

void TScrollBar::SetSmallChange(int value) { smallChange_ = StepSize(value); }

void TScrollBar::SetLargeChange(int value) { largeChange_ = StepSize(value); }

int TScrollBar::LastPosition() const { return pageSize_ > 0 ? max_ - pageSize_ + 1 : max_; }

int TScrollBar::Clamped(int64_t position) const
{
  return int(std::clamp<int64_t>(position, min_, std::max(min_, LastPosition())));
}

void TScrollBar::Settle(bool announce)
{
  max_ = std::max(max_, min_);
  pageSize_ = int(std::clamp<int64_t>(pageSize_, 0, int64_t(max_) - min_ + 1));
  const int position = Clamped(position_);
  const bool moved = position != position_;
  position_ = position;
  ShowRange();
  if (moved && announce)
    Change();
}

void TScrollBar::ShowRange()
{
  if (!HandleAllocated())
    return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = UINT(pageSize_);
  info.nPos = position_;
  SetScrollInfo(handle_, SB_CTL, &info, TRUE);
}

void TScrollBar::SetPosition(int value)
{
  if (HasState(csLoading)) {
    position_ = value;
    return;
  }
  value = Clamped(value);
  if (value == position_)
    return;
  position_ = value;
  if (HandleAllocated())
    SetScrollPos(handle_, SB_CTL, value, TRUE);
  Change();
}

void TScrollBar::Loaded()
{
  TWinControl::Loaded();
  // Read in any order, the values are brought into line once, quietly.
  Settle(false);
}

int TScrollBar::PositionAfter(TScrollCode code) const
{
  switch (code) {
  case scLineUp: return Clamped(int64_t(position_) - smallChange_);
  case scLineDown: return Clamped(int64_t(position_) + smallChange_);
  case scPageUp: return Clamped(int64_t(position_) - largeChange_);
  case scPageDown: return Clamped(int64_t(position_) + largeChange_);
  case scTop: return min_;
  case scBottom: return Clamped(max_);
  case scPosition:
  case scTrack: {
    // The thumb's place in full 32 bits; the message's word would cut it.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    if (HandleAllocated() && GetScrollInfo(handle_, SB_CTL, &info))
      return Clamped(info.nTrackPos);
    return position_;
  }
  case scEndScroll: break;
  }
  return position_;
}

void TScrollBar::UserScrolled(TScrollCode code)
{
  int position = PositionAfter(code);
  Scroll(code, position);
  SetPosition(position);
}

void TScrollBar::WndProc(TMessage& m)
{
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    if (LOWORD(m.WParam) <= scEndScroll)
      UserScrolled(TScrollCode(LOWORD(m.WParam)));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

} // namespace framework
