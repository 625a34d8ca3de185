#pragma once
// The platform parts of the skin data component and the element drawing on
// device contexts: the caption font, the application icon bitmap, the menu
// glyph list, the caption-button hint window, and element and transparent
// draws straight onto an HDC.
#include "framework/Bitmap.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/ElementDraw.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace framework {
class TControl;
}

namespace skin::win32 {

// Saves a DC's state (colours, mode, font, clip, origin) for a scope and
// restores it when the scope ends, however it ends.
class TSavedDC {
public:
  explicit TSavedDC(HDC dc) : dc_(dc), level_(SaveDC(dc)) {}
  ~TSavedDC() { RestoreDC(dc_, level_); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  HDC dc_;
  int level_;
};

// Installs the platform parts for every skin data component created from
// now on, the platform's metrics and the message box for the one message the
// skin library shows. The program calls it once at start-up.
void InstallSkinPlatform();

// The window whose small icon the skin draws on its caption (the
// application's main window). Until one is set, the first top-level window
// of the thread with an icon is asked, and then the system's default icon.
void SetApplicationWindow(HWND window);

// The small icon a window shows: asked of the window (small, then big), then
// its class's; the system's default icon when it has none.
[[nodiscard]] HICON WindowSmallIcon(HWND window);
// Draws icon at the small-icon size on a magenta (transparent) 24-bit bitmap.
void DrawSmallIconOnKey(framework::TBitmap& bitmap, HICON icon);

class TSkinDataWin32 final : public TSkinDataPlatform {
public:
  explicit TSkinDataWin32(TSkinData& owner);
  ~TSkinDataWin32() override;
  TSkinDataWin32(const TSkinDataWin32&) = delete;
  TSkinDataWin32& operator=(const TSkinDataWin32&) = delete;

  void RemakeCaptionFont() override;
  void MakeApplicationIcon() override;
  void ShowHint(gfx::TPoint position, const std::string& text) override;
  void HideHint() override;
  [[nodiscard]] bool HintShowing() const override { return hintShowing_; }

  // The caption font (from the non-client metrics; remade at each Loaded).
  [[nodiscard]] HFONT CaptionFont() const { return captionFont_.Get(); }
  // The application's small icon on magenta, which is transparent.
  [[nodiscard]] const framework::TBitmap& ApplicationIcon() const { return appIcon_; }
  // The 16 x 16 menu glyphs (close, maximise, minimise, restore).
  [[nodiscard]] HIMAGELIST MenuGlyphs() const { return glyphs_; }
  // The hint window, or nullptr before the first hint showed.
  [[nodiscard]] HWND HintWindow() const { return hint_; }
  [[nodiscard]] const std::wstring& HintText() const { return hintText_; }

private:
  static LRESULT CALLBACK HintProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // Makes the hint window unless it exists; whether it does now.
  bool HintWindowNeeded();

  TSkinData& owner_;
  framework::TGdiFont captionFont_;
  framework::TGdiFont hintFont_;
  framework::TBitmap appIcon_;
  HIMAGELIST glyphs_ = nullptr;
  HWND hint_ = nullptr;
  std::wstring hintText_;
  bool hintShowing_ = false;
};

// The Win32 parts of a component, or nullptr when it has none.
[[nodiscard]] TSkinDataWin32* PlatformOf(const TSkinData& data);

// The element draw onto a device context: the element image is composed off
// screen and put on dc at rect's top-left in one transfer, with magenta left
// out when transparent.
void ElementDraw(HDC dc, const gfx::TRect& rect, const framework::TBitmap& image, bool stacked, bool tile,
                 bool transparent, int32_t n, int32_t k, const TElementMargins& margins);

// Copies bitmap to rect on dc (no scaling), leaving dc's pixels where the
// bitmap has the key colour: a monochrome mask and one MaskBlt on the NT
// family, three raster operations elsewhere.
void TransparentBlit(HDC dc, const gfx::TRect& rect, const framework::TBitmap& bitmap, gfx::TColor keyColor);

// Paints into dc what the control's parent draws under the control: the
// parent erases and paints with the viewport moved to the control's origin
// and the clip set to the control's bounds. Without a parent nothing is drawn.
void PaintParentBackground(framework::TControl& control, HDC dc);

} // namespace skin::win32
