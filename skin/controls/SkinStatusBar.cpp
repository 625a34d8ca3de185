#include "skin/controls/SkinStatusBar.h"

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/ControlLooks.h"
#include "skin/controls/LabelDrawing.h"
#include "skin/win32/SkinDataWin32.h"

#include <commctrl.h>

namespace skin {

namespace {

// One bitmap for every status bar of the program, sized to each as it paints.
framework::TBitmap& SharedStatusBitmap()
{
  static framework::TBitmap bitmap;
  return bitmap;
}

UINT AlignmentFormat(framework::TAlignment alignment, bool rightToLeft)
{
  if (alignment == framework::taCenter)
    return DT_CENTER;
  const bool right = alignment == framework::taRightJustify;
  return right != rightToLeft ? DT_RIGHT : DT_LEFT;
}

} // namespace

bool TSkinStatusBar::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND:
    message.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

std::vector<TSkinStatusBar::TPart> TSkinStatusBar::ReadParts(const framework::TStatusBar& bar,
                                                             const gfx::TRect& rect) const
{
  const bool rightToLeft = RightToLeft();
  if (bar.SimplePanel() || bar.Panels()->Count() == 0) {
    const std::string text = bar.SimpleText().empty() ? " " : bar.SimpleText();
    return {TPart{rect, 1, UINT(rightToLeft ? DT_RIGHT : DT_LEFT), framework::Utf8ToWide(text), true}};
  }
  std::vector<gfx::TRect> reported;
  for (int i = 0; i < bar.Panels()->Count(); ++i) {
    RECT r{};
    const bool has = SendMessageW(Window(), SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    reported.push_back(has ? gfx::TRect(r.left, r.top, r.right, r.bottom) : gfx::TRect());
  }
  const std::vector<gfx::TRect> panels = StatusPanelRects(reported, rect.Width());
  std::vector<TPart> parts;
  for (int i = 0; i < bar.Panels()->Count(); ++i) {
    if (panels[size_t(i)].IsEmpty())
      continue;
    const framework::TStatusPanel& panel = *bar.Panel(i);
    const std::string text = panel.Text().empty() ? " " : panel.Text();
    parts.push_back(TPart{panels[size_t(i)], StatusEdgeFrame(panel.Bevel()),
                          AlignmentFormat(panel.Alignment(), rightToLeft), framework::Utf8ToWide(text),
                          panel.Style() == framework::psText});
  }
  return parts;
}

void TSkinStatusBar::DrawEdge(HDC dc, const TPart& part) const
{
  if (const TDataSkinObject* edges = Data().StatusBarEdges.get(); edges && !edges->Image.Empty()) {
    win32::ElementDraw(dc, part.Rect, edges->Image, false, edges->Tile == 1, false, 3, part.Look, edges->Margins());
    return;
  }
  if (part.Look == 3)
    return;
  const bool lowered = part.Look == 1;
  const gfx::TRect& r = part.Rect;
  const auto line = [dc](gfx::TColor colour, std::initializer_list<POINT> points) {
    const framework::TGdiPen pen(CreatePen(PS_SOLID, 1, ColourRef(colour)));
    const framework::TSelectObject selected(dc, pen.Get());
    Polyline(dc, std::data(points), int(points.size()));
  };
  line(lowered ? gfx::clBtnShadow : gfx::clBtnHighlight, {{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right, r.Top}});
  line(lowered ? gfx::clBtnHighlight : gfx::clBtnShadow,
       {{r.Right - 1, r.Top + 1}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}});
}

void TSkinStatusBar::DrawText(HDC dc, const TPart& part) const
{
  if (!part.HasText)
    return;
  RECT box{part.Rect.Left + 2, part.Rect.Top, part.Rect.Right - 2, part.Rect.Bottom};
  RECT measured = box;
  DrawUnicodeText(dc, part.Text, measured, part.Alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const int32_t height = measured.bottom - measured.top;
  box.top = StatusTextTop(part.Rect, height);
  box.bottom = box.top + height;
  DrawUnicodeText(dc, part.Text, box, part.Alignment | DT_EXPANDTABS);
}

void TSkinStatusBar::DrawGrip(HDC dc, const gfx::TRect& rect) const
{
  const TDataSkinObject* extra = Data().ExtraImages.get();
  if (!HasStyle(SBARS_SIZEGRIP) || !extra || extra->Image.Empty())
    return;
  const gfx::TRect frame =
    StripFrameRect(extra->Image.Width(), extra->Image.Height(), false, extra->FrameCount(), 5);
  const auto grip =
    ElementImage(frame.Width(), frame.Height(), extra->Image, {}, false, false, extra->FrameCount(), 5);
  const gfx::TRect at(rect.Right - 1 - frame.Width(), rect.Bottom - 1 - frame.Height(), rect.Right - 1,
                      rect.Bottom - 1);
  win32::TransparentBlit(dc, at, *grip, gfx::clFuchsia);
}

void TSkinStatusBar::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  auto* bar = dynamic_cast<framework::TStatusBar*>(Control());
  if (!bar)
    return;
  const std::vector<TPart> parts = ReadParts(*bar, rect);
  const TDataSkinObject* edges = Data().StatusBarEdges.get();
  const gfx::TColor textColour = edges ? edges->NormalColour2 : FontColour();
  DrawThroughBitmap(
    SharedStatusBitmap(), dc, rect,
    [&](HDC face) {
      FillSkinColour(face, rect);
      // Panels never show bold or italic text.
      const framework::TGdiFont font = PlainFontOf(CaptionFont());
      const framework::TSelectObject selected(face, font.Get());
      SetTextColor(face, ColourRef(textColour));
      SetBkMode(face, TRANSPARENT);
      for (const TPart& part : parts) {
        DrawEdge(face, part);
        DrawText(face, part);
      }
      DrawGrip(face, rect);
    },
    [&](framework::TBitmap& face) {
      bar->PaintControls(face.Canvas());
      if (!bar->OnDrawPanel || bar->SimplePanel())
        return;
      for (int i = 0; i < bar->Panels()->Count(); ++i) {
        RECT r{};
        if (SendMessageW(Window(), SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r)))
          bar->DrawPanel(bar->Panel(i), face.Canvas(), gfx::TRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2));
      }
    });
}

} // namespace skin
