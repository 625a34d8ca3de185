#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/Canvas.h"
#include "framework/Component.h"
#include "framework/Streams.h" // Utf8ToWide, WideToUtf8
#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"

// The Win32 side of drawing: the font object controls publish, GDI fonts, and text drawn by
// GDI into the pixels of a canvas's bitmap.
namespace framework {

// A TColor as the platform's COLORREF (system colours resolved).
[[nodiscard]] COLORREF ColorToCOLORREF(gfx::TColor color);

// Colours of the platform's current scheme answer ColorToRGB from now on.
void InstallSystemColors();

// A brush of alternating button-face and button-highlight pixels, the 50 %
// pattern a pressed-in glyph box stands on.
[[nodiscard]] TGdiBrush ButtonFacePatternBrush();

enum TFontStyleItem : uint8_t { fsBoldItem, fsItalicItem, fsUnderlineItem, fsStrikeOutItem };
const TEnumInfo& FontStyleInfo();
const TIdentMap& ColorIdents();
const TIdentMap& CursorIdents();

// The font a control publishes (Font.Name, Font.Height, Font.Style as a set,
// Font.Color). It keeps a GDI font made on demand and tells its owner about
// changes.
class TControlFont : public TPersistent {
public:
  TControlFont();
  ~TControlFont() override;
  TControlFont(const TControlFont&) = delete;
  TControlFont& operator=(const TControlFont&) = delete;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] std::string Name() const { return WideToUtf8(font_.Name); }
  void SetName(const std::string& name);
  // Negative: character height in pixels; positive: cell height.
  [[nodiscard]] int32_t Height() const { return font_.Height; }
  void SetHeight(int32_t height);
  // Size in points at the screen's resolution (negative heights only).
  [[nodiscard]] int32_t Size() const;
  void SetSize(int32_t points);
  [[nodiscard]] uint8_t Style() const { return font_.Style; }
  void SetStyle(uint8_t style);
  [[nodiscard]] gfx::TColor Color() const { return font_.Color; }
  void SetColor(gfx::TColor color);

  [[nodiscard]] const TFont& Value() const { return font_; }
  void SetValue(const TFont& value);
  // The GDI font, owned by this object; valid until the next change.
  [[nodiscard]] HFONT Handle() const;

  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

private:
  void Changed();

  TFont font_;
  mutable TGdiFont handle_;
};

// Makes a GDI font for a font value.
[[nodiscard]] TGdiFont CreateFontFor(const TFont& font);

// Text on a canvas: drawn by GDI into the pixels of the canvas's bitmap, in
// the canvas's logical coordinates (its viewport origin and clip box apply),
// with the canvas's Font and, unless the brush is clear, its brush as the
// background. A canvas without a bitmap draws nothing and measures with the
// screen.
void CanvasTextOut(TCanvas& canvas, int32_t x, int32_t y, std::string_view text);
[[nodiscard]] int32_t CanvasTextWidth(TCanvas& canvas, std::string_view text);
[[nodiscard]] int32_t CanvasTextHeight(TCanvas& canvas, std::string_view text);
// DrawTextW with the given DT_* format; with DT_CALCRECT the rectangle is
// updated and nothing is drawn. Answers the height of the text.
int32_t CanvasDrawText(TCanvas& canvas, std::string_view text, gfx::TRect& rect, UINT format);

// A memory device context on a bitmap's DIB section, with the canvas's
// viewport origin and clip box applied, for GDI drawing of any kind (edges,
// icons, text). Flushes GDI when it ends so the pixel layer sees the result.
class TCanvasDC {
public:
  explicit TCanvasDC(TCanvas& canvas);
  ~TCanvasDC();
  TCanvasDC(const TCanvasDC&) = delete;
  TCanvasDC& operator=(const TCanvasDC&) = delete;
  // nullptr when the canvas has no bitmap to draw on.
  [[nodiscard]] HDC DC() const { return dc_.Get(); }

private:
  TMemoryDC dc_;
  HGDIOBJ oldBitmap_ = nullptr;
};

} // namespace framework
