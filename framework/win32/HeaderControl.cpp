#include "framework/win32/HeaderControl.h"

#include "framework/MuteScope.h"

#include <commctrl.h>

#include <algorithm>

namespace framework {

namespace {

int HeaderFormat(TAlignment alignment)
{
  switch (alignment) {
  case taRightJustify: return HDF_RIGHT;
  case taCenter: return HDF_CENTER;
  default: return HDF_LEFT;
  }
}

} // namespace

const TClassInfo& THeaderSection::ClassType()
{
  static TClassInfo info("THeaderSection", &TCollectionItem::ClassType());
  static const bool described = [] {
    info.Str("Text", &THeaderSection::Text, &THeaderSection::SetText);
    info.Int("Width", &THeaderSection::Width, &THeaderSection::SetWidth, int64_t(50));
    info.Int("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth, int64_t(0));
    info.Int("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth, int64_t(10000));
    info.Enum("Alignment", AlignmentInfo(), &THeaderSection::Alignment, &THeaderSection::SetAlignment,
              int64_t(taLeftJustify));
    return true;
  }();
  (void)described;
  return info;
}

void THeaderSection::SetText(const std::string& value)
{
  if (value == text_)
    return;
  text_ = value;
  Changed();
}

void THeaderSection::SetWidth(int value)
{
  value = std::clamp(value, minWidth_, std::max(minWidth_, maxWidth_));
  if (value == width_)
    return;
  width_ = value;
  Changed();
}

void THeaderSection::SetMinWidth(int value)
{
  minWidth_ = std::max(value, 0);
  SetWidth(width_);
}

void THeaderSection::SetMaxWidth(int value)
{
  maxWidth_ = std::max(value, minWidth_);
  SetWidth(width_);
}

void THeaderSection::SetAlignment(TAlignment value)
{
  if (value == alignment_)
    return;
  alignment_ = value;
  Changed();
}

int THeaderSection::Left() const
{
  int left = 0;
  for (int i = 0; i < Index(); ++i)
    left += Collection()->ItemAs<THeaderSection>(i)->Width();
  return left;
}

const TClassInfo& THeaderControl::ClassType()
{
  static TClassInfo info("THeaderControl", &TWinControl::ClassType(),
                         [](TComponent* o) { return new THeaderControl(o); });
  static const bool described = [] {
    info.Object("Sections", TCollection::ClassType(), &THeaderControl::Sections);
    info.Bool("HotTrack", &THeaderControl::HotTrack, &THeaderControl::SetHotTrack, false);
    info.Enum("Align", AlignInfo(), &THeaderControl::Align, &THeaderControl::SetAlign, int64_t(alTop));
    info.Event("OnSectionClick", &THeaderControl::OnSectionClick);
    info.Event("OnSectionResize", &THeaderControl::OnSectionResize);
    return true;
  }();
  (void)described;
  return info;
}

THeaderControl::THeaderControl(TComponent* owner)
  : TWinControl(owner), sections_(std::make_unique<TCollection>([] { return std::make_unique<THeaderSection>(); }))
{
  width_ = 200;
  height_ = 17;
  align_ = alTop;
  controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
  sections_->OnChange = TNotifyEvent([this](TObject*) { FillSections(); });
}

void THeaderControl::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = WC_HEADERW;
  p.Style |= HDS_BUTTONS | HDS_FULLDRAG | (hotTrack_ ? HDS_HOTTRACK : 0);
}

void THeaderControl::CreateWnd()
{
  TWinControl::CreateWnd();
  FillSections();
}

void THeaderControl::FillSections()
{
  if (!HandleAllocated() || filling_)
    return;
  const TMuteScope<bool> filling(filling_);
  while (SendMessageW(handle_, HDM_GETITEMCOUNT, 0, 0) > 0)
    SendMessageW(handle_, HDM_DELETEITEM, 0, 0);
  for (int i = 0; i < sections_->Count(); ++i) {
    const THeaderSection* section = Section(i);
    std::wstring text = Utf8ToWide(section->Text());
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text.data();
    item.cxy = section->Width();
    item.fmt = HDF_STRING | HeaderFormat(section->Alignment());
    SendMessageW(handle_, HDM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::SetHotTrack(bool value)
{
  if (value == hotTrack_)
    return;
  hotTrack_ = value;
  RecreateWnd();
}

// The user dragged a divider: the section takes the width within its limits,
// and the window shows what the section took.
void THeaderControl::SectionResized(int index, int width)
{
  THeaderSection* section = Section(index);
  {
    const TMuteScope<bool> filling(filling_);
    section->SetWidth(width);
    if (section->Width() != width) {
      HDITEMW item{};
      item.mask = HDI_WIDTH;
      item.cxy = section->Width();
      SendMessageW(handle_, HDM_SETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    }
  }
  OnSectionResize(this, section);
}

void THeaderControl::WndProc(TMessage& m)
{
  if (const NMHDR* header = ReflectedNotifyHeader(m)) {
    const auto* notify = reinterpret_cast<const NMHEADERW*>(header);
    const int index = notify->iItem;
    const bool known = index >= 0 && index < sections_->Count();
    switch (notify->hdr.code) {
    case HDN_ITEMCLICKW:
      if (known)
        OnSectionClick(this, Section(index));
      return;
    case HDN_ITEMCHANGEDW:
      if (known && !filling_ && notify->pitem && (notify->pitem->mask & HDI_WIDTH))
        SectionResized(index, notify->pitem->cxy);
      return;
    default:
      break;
    }
  }
  TWinControl::WndProc(m);
}

} // namespace framework
