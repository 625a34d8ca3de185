#include "framework/win32/Buttons.h"

#include "framework/win32/ButtonGlyph.h"
#include "framework/win32/Graphics.h"

#include <windowsx.h>

#include <algorithm>

// [SECTION] Glyph properties
// [SECTION] TBitBtn
// [SECTION] TSpeedButton

namespace framework {

namespace {

// The push-button kind in a button's style.
constexpr DWORD kButtonTypeBits = 0xF;

// The published properties of both glyph buttons, for class T.
template <class T>
void DescribeGlyphProperties(TClassInfo& info)
{
  using G = TGlyphButtonProperties;
  info.Object("Glyph", TGlyphBitmap::ClassType(), static_cast<TGlyphBitmap* (T::*)() const>(&G::Glyph));
  info.Int("NumGlyphs", static_cast<int (T::*)() const>(&G::NumGlyphs), static_cast<void (T::*)(int)>(&G::SetNumGlyphs),
           int64_t(1));
  info.Enum("Layout", ButtonLayoutInfo(), static_cast<TButtonLayout (T::*)() const>(&G::Layout),
            static_cast<void (T::*)(TButtonLayout)>(&G::SetLayout), int64_t(blGlyphLeft));
  info.Int("Margin", static_cast<int (T::*)() const>(&G::Margin), static_cast<void (T::*)(int)>(&G::SetMargin),
           int64_t(-1));
  info.Int("Spacing", static_cast<int (T::*)() const>(&G::Spacing), static_cast<void (T::*)(int)>(&G::SetSpacing),
           int64_t(4));
}

// Selects the control's font and caption colour, with text drawn over
// whatever is under it, for the scope.
class TCaptionState {
public:
  TCaptionState(HDC dc, const TControl& control, bool enabled)
    : dc_(dc), font_(dc, control.Font()->Handle()),
      colour_(SetTextColor(dc, enabled ? ColorToCOLORREF(control.Font()->Color()) : GetSysColor(COLOR_GRAYTEXT))),
      mode_(SetBkMode(dc, TRANSPARENT))
  {
  }
  ~TCaptionState()
  {
    SetBkMode(dc_, mode_);
    SetTextColor(dc_, colour_);
  }
  TCaptionState(const TCaptionState&) = delete;
  TCaptionState& operator=(const TCaptionState&) = delete;

private:
  HDC dc_;
  TSelectObject font_;
  COLORREF colour_;
  int mode_;
};

void FillColour(HDC dc, const RECT& rect, gfx::TColor colour)
{
  const TGdiBrush brush(CreateSolidBrush(ColorToCOLORREF(colour)));
  FillRect(dc, &rect, brush.Get());
}

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] Glyph properties

TGlyphButtonProperties::TGlyphButtonProperties() : glyph_(std::make_unique<TGlyphBitmap>())
{
  glyph_->OnChange = [this] { GlyphChanged(); };
}

void TGlyphButtonProperties::SetNumGlyphs(int value)
{
  value = std::clamp(value, 1, 4);
  if (value == numGlyphs_)
    return;
  numGlyphs_ = value;
  GlyphChanged();
}

void TGlyphButtonProperties::SetLayout(TButtonLayout value)
{
  if (value == layout_)
    return;
  layout_ = value;
  GlyphChanged();
}

void TGlyphButtonProperties::SetMargin(int value)
{
  value = std::max(value, -1);
  if (value == margin_)
    return;
  margin_ = value;
  GlyphChanged();
}

void TGlyphButtonProperties::SetSpacing(int value)
{
  value = std::max(value, -1);
  if (value == spacing_)
    return;
  spacing_ = value;
  GlyphChanged();
}

TGlyphButtonGeometry TGlyphButtonProperties::Geometry(gfx::TPoint size) const
{
  TGlyphButtonGeometry g;
  g.Size = size;
  g.Layout = layout_;
  g.Margin = margin_;
  g.Spacing = spacing_;
  return g;
}

// ---------------------------------------------------------------------------
// [SECTION] TBitBtn

const TClassInfo& TBitBtn::ClassType()
{
  static TClassInfo info("TBitBtn", &TButton::ClassType(), [](TComponent* o) { return new TBitBtn(o); });
  static const bool described = [] {
    DescribeGlyphProperties<TBitBtn>(info);
    info.Reference("Images", TCustomImageList::ClassType(), &TBitBtn::Images, &TBitBtn::SetImages);
    info.Int("ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex, int64_t(-1));
    info.Int("DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex, int64_t(-1));
    return true;
  }();
  (void)described;
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& p)
{
  TButton::CreateParams(p);
  // The system's push button knows no glyph: the button draws itself.
  p.Style = (p.Style & ~kButtonTypeBits) | BS_OWNERDRAW;
}

void TBitBtn::SetImages(TCustomImageList* value)
{
  if (value == images_)
    return;
  if (images_)
    images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_)
    images_->FreeNotification(this);
  Invalidate();
}

void TBitBtn::SetImageIndex(int value)
{
  if (value == imageIndex_)
    return;
  imageIndex_ = value;
  Invalidate();
}

void TBitBtn::SetDisabledIndex(int value)
{
  if (value == disabledIndex_)
    return;
  disabledIndex_ = value;
  Invalidate();
}

void TBitBtn::Notification(TComponent* component, TOperation operation)
{
  TButton::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_)
    images_ = nullptr;
}

void TBitBtn::WndProc(TMessage& m)
{
  if (m.Msg == BM_SETSTYLE) {
    // Becoming the default button must not turn it into a plain push button.
    m.WParam = (m.WParam & ~WPARAM(kButtonTypeBits)) | BS_OWNERDRAW;
  } else if (m.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item)
{
  const HDC dc = item.hDC;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool focused = item.itemState & ODS_FOCUS;
  const bool enabled = !(item.itemState & ODS_DISABLED);
  RECT face = item.rcItem;
  // The default button, and the one with the focus, wear a dark frame.
  if (Default() || focused) {
    FillColour(dc, face, gfx::clWindowFrame);
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  TGlyphSource source;
  source.Strip = &Glyph()->Bitmap();
  source.NumGlyphs = NumGlyphs();
  source.Images = images_;
  source.ImageIndex = imageIndex_;
  source.DisabledIndex = disabledIndex_;
  const std::unique_ptr<TBitmap> glyph = GlyphForLook(source, !enabled ? gpDisabled : pressed ? gpPressed : gpUp);
  const TCaptionState caption(dc, *this, enabled);
  TGlyphCaption content;
  content.Glyph = glyph.get();
  content.Text = Utf8ToWide(Caption());
  content.Geometry = Geometry({item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top});
  content.Offset = pressed ? gfx::TPoint{1, 1} : gfx::TPoint{};
  DrawGlyphAndCaption(dc, content);
  if (focused) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

// ---------------------------------------------------------------------------
// [SECTION] TSpeedButton

const TClassInfo& TSpeedButton::ClassType()
{
  static TClassInfo info("TSpeedButton", &TGraphicControl::ClassType(),
                         [](TComponent* o) { return new TSpeedButton(o); });
  static const bool described = [] {
    info.Str("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
    DescribeGlyphProperties<TSpeedButton>(info);
    // The group comes before Down, so that a stored Down finds its group.
    info.Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, int64_t(0));
    info.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false);
    info.Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false);
    info.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false);
    return true;
  }();
  (void)described;
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
  width_ = 23;
  height_ = 22;
  // The button raises its click itself, once Down has settled.
  controlStyle_ &= ~TControlStyle(csClickEvents);
}

template <class F>
void TSpeedButton::ForEachInGroup(F&& f)
{
  if (!parent_ || groupIndex_ == 0)
    return;
  for (int i = 0; i < parent_->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
    if (other && other != this && other->groupIndex_ == groupIndex_)
      f(*other);
  }
}

void TSpeedButton::ReleaseGroup()
{
  ForEachInGroup([](TSpeedButton& other) {
    if (!other.down_)
      return;
    other.down_ = false;
    other.Invalidate();
  });
}

void TSpeedButton::SetDown(bool value)
{
  const bool loading = HasState(csLoading);
  if (groupIndex_ == 0 && !loading)
    value = false;
  if (value == down_)
    return;
  // A group that must keep one button down keeps this one down.
  if (down_ && !allowAllUp_ && !loading)
    return;
  down_ = value;
  if (down_ && !loading)
    ReleaseGroup();
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int value)
{
  if (value == groupIndex_)
    return;
  groupIndex_ = value;
  if (groupIndex_ == 0)
    down_ = false;
  else if (down_)
    ReleaseGroup();
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value)
{
  allowAllUp_ = value;
  ForEachInGroup([value](TSpeedButton& other) { other.allowAllUp_ = value; });
}

void TSpeedButton::SetFlat(bool value)
{
  if (value == flat_)
    return;
  flat_ = value;
  Invalidate();
}

void TSpeedButton::Loaded()
{
  TGraphicControl::Loaded();
  if (groupIndex_ == 0)
    down_ = false;
}

bool TSpeedButton::Inside(const TMessage& m) const
{
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  return x >= 0 && y >= 0 && x < width_ && y < height_;
}

void TSpeedButton::Press()
{
  dragging_ = true;
  pressing_ = true;
  Invalidate();
}

// While the button is held, it looks pressed only with the mouse over it.
void TSpeedButton::Track(const TMessage& m)
{
  if (!dragging_ || Inside(m) == pressing_)
    return;
  pressing_ = !pressing_;
  Invalidate();
}

// A release over the button is a click: a button of a group goes down (or,
// when the group allows it, up again) first.
void TSpeedButton::Release(const TMessage& m)
{
  if (!dragging_)
    return;
  dragging_ = false;
  pressing_ = false;
  const bool click = Inside(m);
  if (click && groupIndex_ != 0)
    SetDown(!down_);
  Invalidate();
  if (click)
    Click();
}

void TSpeedButton::WndProc(TMessage& m)
{
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (enabled_)
      Press();
    break;
  case WM_MOUSEMOVE:
    Track(m);
    break;
  case WM_LBUTTONUP:
    Release(m);
    break;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    mouseInControl_ = m.Msg == CM_MOUSEENTER;
    if (flat_ && enabled_)
      Invalidate();
    break;
  default:
    break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint()
{
  TCanvasDC canvas(Canvas());
  const HDC dc = canvas.DC();
  if (!dc || width_ <= 0 || height_ <= 0)
    return;
  RECT face{0, 0, width_, height_};
  const bool sunk = pressing_ || down_;
  // A flat button lets its parent show through until the mouse is over it.
  if (!flat_)
    FillColour(dc, face, Color());
  if (sunk)
    DrawEdge(dc, &face, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat_ || (mouseInControl_ && enabled_))
    DrawEdge(dc, &face, flat_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);

  TGlyphSource source;
  source.Strip = &Glyph()->Bitmap();
  source.NumGlyphs = NumGlyphs();
  const int32_t part = !enabled_ ? gpDisabled : pressing_ ? gpPressed : down_ ? gpDown : gpUp;
  const std::unique_ptr<TBitmap> glyph = GlyphForLook(source, part);
  const TCaptionState caption(dc, *this, enabled_);
  TGlyphCaption content;
  content.Glyph = glyph.get();
  content.Text = Utf8ToWide(Caption());
  content.Geometry = Geometry({width_, height_});
  content.Offset = sunk ? gfx::TPoint{1, 1} : gfx::TPoint{};
  DrawGlyphAndCaption(dc, content);
}

} // namespace framework
