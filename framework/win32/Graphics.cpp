#include "framework/win32/Graphics.h"

#include "framework/Bitmap.h"
#include "framework/TypeInfo.h"

namespace framework {

COLORREF ColorToCOLORREF(gfx::TColor color)
{
  return COLORREF(uint32_t(gfx::ColorToRGB(color)) & 0xFFFFFFu);
}

namespace {
gfx::TColor PlatformSystemColor(int index) { return gfx::TColor(GetSysColor(index)); }
} // namespace

void InstallSystemColors() { gfx::SetSystemColorSource(&PlatformSystemColor); }

TGdiBrush ButtonFacePatternBrush()
{
  // The system repeats an 8 by 8 pattern; the brush keeps its own copy.
  constexpr int32_t kPatternSize = 8;
  TBitmap pattern(kPatternSize, kPatternSize);
  const gfx::TPixel face = gfx::ColorToPixel(gfx::ColorToRGB(gfx::clBtnFace));
  const gfx::TPixel highlight = gfx::ColorToPixel(gfx::ColorToRGB(gfx::clBtnHighlight));
  for (int32_t y = 0; y < kPatternSize; ++y)
    for (int32_t x = 0; x < kPatternSize; ++x)
      pattern.ScanLine(y)[x] = (x + y) % 2 ? highlight : face;
  return TGdiBrush(CreatePatternBrush(static_cast<HBITMAP>(pattern.NativeHandle())));
}

const TEnumInfo& FontStyleInfo()
{
  static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}

const TIdentMap& ColorIdents()
{
  using namespace gfx;
  static const TIdentMap map{{
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clNone", clNone}, {"clDefault", clDefault},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground}, {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu}, {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText},
    {"clBtnText", clBtnText}, {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk}, {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption}, {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
  }};
  return map;
}

const TIdentMap& CursorIdents()
{
  static const TIdentMap map{{
    {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4},
    {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20}, {"crHandPoint", -21},
    {"crSizeAll", -22},
  }};
  return map;
}

// ---------------------------------------------------------------------------

TControlFont::TControlFont()
{
  font_.Name = L"Tahoma";
  font_.Height = -11;
  font_.Color = gfx::clWindowText;
}

TControlFont::~TControlFont() = default;

const TClassInfo& TControlFont::ClassType()
{
  static TClassInfo info("TFont", &TPersistent::ClassType());
  static const bool described = [] {
    info.Str("Name", &TControlFont::Name, &TControlFont::SetName, "Tahoma");
    info.Int("Height", &TControlFont::Height, &TControlFont::SetHeight, int64_t(-11));
    info.Int("Color", &TControlFont::Color, &TControlFont::SetColor, int64_t(gfx::clWindowText), &ColorIdents());
    info.Set("Style", FontStyleInfo(), &TControlFont::Style, &TControlFont::SetStyle, int64_t(0));
    // Size is another view of Height; only Height is stored.
    info.Int("Size", &TControlFont::Size, &TControlFont::SetSize).Stored = false;
    return true;
  }();
  (void)described;
  return info;
}

namespace {
int ScreenPixelsPerInch()
{
  TWindowDC screen(nullptr);
  int ppi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}
} // namespace

void TControlFont::SetName(const std::string& name)
{
  std::wstring wide = Utf8ToWide(name);
  if (wide == font_.Name)
    return;
  font_.Name = wide;
  Changed();
}

void TControlFont::SetHeight(int32_t height)
{
  if (height == font_.Height)
    return;
  font_.Height = height;
  Changed();
}

int32_t TControlFont::Size() const { return -MulDiv(font_.Height, 72, ScreenPixelsPerInch()); }

void TControlFont::SetSize(int32_t points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TControlFont::SetStyle(uint8_t style)
{
  if (style == font_.Style)
    return;
  font_.Style = style;
  Changed();
}

void TControlFont::SetColor(gfx::TColor color)
{
  if (color == font_.Color)
    return;
  font_.Color = color;
  Changed();
}

void TControlFont::SetValue(const TFont& value)
{
  if (value.Name == font_.Name && value.Height == font_.Height && value.Style == font_.Style &&
      value.Color == font_.Color && value.Charset == font_.Charset)
    return;
  font_ = value;
  Changed();
}

void TControlFont::Assign(const TPersistent& source)
{
  if (const auto* other = dynamic_cast<const TControlFont*>(&source)) {
    SetValue(other->font_);
    return;
  }
  TPersistent::Assign(source);
}

void TControlFont::Changed()
{
  handle_.Reset();
  OnChange(this);
}

HFONT TControlFont::Handle() const
{
  if (!handle_)
    handle_ = CreateFontFor(font_);
  return handle_.Get();
}

TGdiFont CreateFontFor(const TFont& font)
{
  LOGFONTW lf{};
  lf.lfHeight = font.Height;
  lf.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = font.Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE);
  return TGdiFont(CreateFontIndirectW(&lf));
}

// ---------------------------------------------------------------------------

TCanvasDC::TCanvasDC(TCanvas& canvas)
{
  TBitmap* bitmap = canvas.Bitmap();
  if (!bitmap || !bitmap->NativeHandle())
    return;
  dc_ = TMemoryDC(nullptr);
  oldBitmap_ = SelectObject(dc_.Get(), static_cast<HBITMAP>(bitmap->NativeHandle()));
  if (gfx::TDrawContext* context = canvas.Handle()) {
    gfx::TPoint origin = context->ViewportOrg();
    SetViewportOrgEx(dc_.Get(), origin.X, origin.Y, nullptr);
    if (context->ClipRegion()) {
      gfx::TRect clip = context->ClipBox();
      IntersectClipRect(dc_.Get(), clip.Left, clip.Top, clip.Right, clip.Bottom);
    }
  }
}

TCanvasDC::~TCanvasDC()
{
  if (!dc_)
    return;
  GdiFlush();
  SelectObject(dc_.Get(), oldBitmap_);
}

namespace {

// Selects the canvas's font and colours into a DC for the scope.
class TTextState {
public:
  TTextState(HDC dc, const TCanvas& canvas) : dc_(dc), font_(CreateFontFor(canvas.Font)), selected_(dc, font_.Get())
  {
    SetTextColor(dc_, ColorToCOLORREF(canvas.Font.Color));
    if (canvas.Brush.Style == bsClear) {
      SetBkMode(dc_, TRANSPARENT);
    } else {
      SetBkMode(dc_, OPAQUE);
      SetBkColor(dc_, ColorToCOLORREF(canvas.Brush.Color));
    }
  }
  TTextState(const TTextState&) = delete;
  TTextState& operator=(const TTextState&) = delete;

private:
  HDC dc_;
  TGdiFont font_;
  TSelectObject selected_;
};

SIZE MeasureText(TCanvas& canvas, std::string_view text)
{
  std::wstring wide = Utf8ToWide(text);
  TWindowDC screen(nullptr);
  TGdiFont font = CreateFontFor(canvas.Font);
  TSelectObject selected(screen.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), wide.c_str(), int(wide.size()), &size);
  if (wide.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.Get(), &tm);
    size.cy = tm.tmHeight;
  }
  return size;
}

} // namespace

void CanvasTextOut(TCanvas& canvas, int32_t x, int32_t y, std::string_view text)
{
  TCanvasLock lock(canvas);
  TCanvasDC dc(canvas);
  if (!dc.DC())
    return;
  std::wstring wide = Utf8ToWide(text);
  TTextState state(dc.DC(), canvas);
  TextOutW(dc.DC(), x, y, wide.c_str(), int(wide.size()));
}

int32_t CanvasTextWidth(TCanvas& canvas, std::string_view text) { return MeasureText(canvas, text).cx; }

int32_t CanvasTextHeight(TCanvas& canvas, std::string_view text) { return MeasureText(canvas, text).cy; }

int32_t CanvasDrawText(TCanvas& canvas, std::string_view text, gfx::TRect& rect, UINT format)
{
  std::wstring wide = Utf8ToWide(text);
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  int height = 0;
  if (format & DT_CALCRECT) {
    {
      TWindowDC screen(nullptr);
      TGdiFont font = CreateFontFor(canvas.Font);
      TSelectObject selected(screen.Get(), font.Get());
      height = DrawTextW(screen.Get(), wide.c_str(), int(wide.size()), &r, format);
    }
    rect = gfx::TRect(r.left, r.top, r.right, r.bottom);
    return height;
  }
  TCanvasLock lock(canvas);
  TCanvasDC dc(canvas);
  if (!dc.DC())
    return 0;
  TTextState state(dc.DC(), canvas);
  height = DrawTextW(dc.DC(), wide.c_str(), int(wide.size()), &r, format);
  return height;
}

} // namespace framework
