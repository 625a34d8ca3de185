#pragma once
// Menu items drawn from the skin: the "MenuItem" element behind each item
// (frame 1, frame 4 when selected), the pop-up's own background under it,
// separators cut from the element's second frame, check marks, the shortcut
// column, the default item in bold and disabled items in the skin's shadow
// colour. The sizes the system asks for make room for the element's left part.
#include <windows.h>

#include "framework/Bitmap.h"
#include "gfx/Geometry.h"

#include <string>

namespace framework {
class TCustomImageList;
class TMenuItem;
}

namespace skin {

class TSkinData;

// What drawing needs of an item, from a framework item or read from the
// system's menu.
struct TMenuItemView {
  std::wstring Caption;
  std::wstring ShortCut;
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;
  bool Selected = false;
  // The menu's image list and the item's picture in it (framework items).
  const framework::TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  [[nodiscard]] bool IsLine() const { return Caption == L"-"; }
  [[nodiscard]] bool HasImage() const;
};

// Where an item lies on the pop-up window's background: the skinned frame
// image of the window and the offset of the window's client area in it.
struct TMenuBackground {
  const framework::TBitmap* Image = nullptr;
  gfx::TPoint ClientOffset;
};

// How an item is drawn: an item of a framework menu cuts its separator from
// the element; an item read from the system (the skinned system menu, menus
// of foreign windows) always shows the element.
enum TMenuItemKind : uint8_t { mkFramework, mkSystem };

// The height of a separator read from the system (an item without text).
inline constexpr int32_t kMenuSeparatorHeight = 8;

[[nodiscard]] TMenuItemView ViewOfFrameworkItem(const framework::TMenuItem& item, bool selected);
// An item of a system menu, by position or command: "-" when it has no text,
// disabled when greyed, checked and default from its state.
[[nodiscard]] TMenuItemView ViewOfSystemItem(HMENU menu, UINT item, bool byPosition, bool selected);
// The text of an item found by command anywhere under menu ("" when none).
[[nodiscard]] bool FindItemText(HMENU menu, UINT command, std::wstring& text);

// Sizes: a framework item measures itself, then gains the element's left part
// and, unless its menu has images (which its own measure made room for), the
// glyph column; an item read from the system is as wide as its text plus 26
// and 4 pixels taller than it, or a separator; a system-menu item measures as
// a framework item with its caption and gains the same extra width as an item
// of a framework pop-up menu.
void MeasureFrameworkItem(const TSkinData& data, const framework::TMenuItem& item, bool hasImages, UINT& width,
                          UINT& height);
void MeasureSystemItem(const TSkinData& data, const std::wstring& text, UINT& width, UINT& height);
void MeasureSystemMenuItem(const TSkinData& data, const std::wstring& text, UINT& width, UINT& height);
// The width a skinned pop-up menu's item gains over its own measure.
[[nodiscard]] int32_t PopupItemExtraWidth(const TSkinData& data, bool hasImages);

// Draws an item into rect on dc, whatever dc is (a menu window's or a
// framework canvas's).
void PaintMenuItem(HDC dc, const RECT& rect, const TMenuItemView& item, TMenuItemKind kind, const TSkinData& data,
                   const TMenuBackground& background, bool rightToLeft);

} // namespace skin
