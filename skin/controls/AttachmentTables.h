#pragma once
// Which companion a control gets: the kind words of the skin data's Skin3rd
// list, the rows for the framework's own control classes, and the rows for
// bare windows of system dialogs. Plain data and small matchers without a
// platform header, so that the tables are tested natively; the Win32 side
// reads the facts of a real control and makes the companion a row names.
#include "skin/SkinData.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

// The companions a table row can name. Rows whose companion this program
// does not build yet still match (and so stop the search), but attach nothing.
enum TCompanionKind : uint8_t {
  ckNone,          // left unskinned
  ckChildrenOnly,  // no companion of its own; its children are skinned
  ckButton,
  ckBitButton,
  ckMenuButton,
  ckSpeedButton,
  ckMediaPlayer,
  ckCheckBox,
  ckRadioButton,
  ckGroupBox,
  ckBox,           // panels and child forms: recoloured
  ckBoxH,          // nested dialogs and tool bar windows: background filled
  ckSizer,         // size grips
  ckObjImage,      // foreign check boxes handed a glyph strip
  ckEdit,
  ckCombo,
  ckDateTime,
  ckUpDown,
  ckTab,
  ckTabButtons,
  ckTabSet,
  ckTabSheet,
  ckAdvPage,
  ckScrollbar,
  ckStatusBar,
  ckProgress,
  ckTrackBar,
  ckHeader,
  ckScrollBarControl,
  ckListView,
};

// What happens to a control's children along with it.
enum TChildPass : uint8_t {
  cpNone,
  cpBefore,          // the children are skinned first, then the control
  cpAfter,           // the control first, then its children
  cpRadioButtons,    // each child becomes a radio button (with xcRadioButton)
  cpCheckBoxes,      // each child becomes a check box (with xcRadioButton)
  cpScrollingOnly,   // each scrolling child gets a scroll-bar companion
};

enum TAttachFlag : uint16_t {
  afRecolour = 1u << 0,        // the control's Color becomes ButtonFace while skinned
  afSetTransparent = 1u << 1,  // its published Transparent is set to "True" first
  afForeignCombo = 1u << 2,
  afNeedsTabElement = 1u << 3, // skipped when the skin has no tab element
  afPngGlyph = 1u << 4,        // the glyph comes from the property "PngImage"
  afScrolledAttach = 1u << 5,  // attached through the scroll-bar companion's own call
  afSingleScrollbar = 1u << 6,
  afTabMode2 = 1u << 7,
  afDropDownWhenCx = 1u << 8,  // "tcxbutton" with Kind cxbkDropDownButton gets the drop-down button
  afOnTopChild = 1u << 9,      // attached to the window's top child instead
  afColourOnly = 1u << 10,     // a bare panel: only its Color becomes ButtonFace
};

struct TAttachment {
  TCompanionKind Kind = ckNone;
  // The SkinControls member that must be set; -1 when none is needed.
  int8_t Bit = -1;
  // A second member the control's own companion needs (the children may
  // still be skinned without it); -1 when none.
  int8_t SelfBit = -1;
  TChildPass Children = cpNone;
  uint16_t Flags = 0;
  // The variant of TSkinObjImage (1-3) or the mode of a tab companion.
  int8_t Variant = 0;

  [[nodiscard]] bool Has(TAttachFlag flag) const { return (Flags & flag) != 0; }
  friend bool operator==(const TAttachment&, const TAttachment&) = default;
};

// ----- Skin3rd -----

// The kind word of the first line "class=kind" whose class is className
// (compared in lower case), at most 50 characters of it; nullopt when no
// line names the class.
[[nodiscard]] std::optional<std::string> MatchSkin3rd(const std::vector<std::string>& lines,
                                                      std::string_view className);

// What a kind word attaches; nullopt for a word the table does not hold
// (the control is then left alone). The word is compared in lower case;
// lowerClassName decides the variants ("tcxbutton", classes holding "trz").
[[nodiscard]] std::optional<TAttachment> KindWordAttachment(std::string_view word, std::string_view lowerClassName);

// The kind words, in table order ("nil" first).
[[nodiscard]] const std::vector<std::string_view>& KindWords();

// ----- Framework classes -----

// The facts of a framework control the class table looks at.
struct TControlFacts {
  std::string UpperClassName;
  // Whether the control's class is, or derives from, the class of that name.
  std::function<bool(std::string_view)> InheritsFrom;
  uint32_t Style = 0;
  // A page control's Style read as text ("tsTabs"...).
  std::string PageStyle;
  // The published integer NumButtons (-1 when missing).
  int64_t NumButtons = -1;
  bool Windowed = true;
  bool IsListBox = false;
};

// The first row of the class table that matches; nullopt when none does.
[[nodiscard]] std::optional<TAttachment> FrameworkClassAttachment(const TControlFacts& facts);

// Classes that are never skinned, whatever the tables say.
[[nodiscard]] bool NeverSkinnedClass(std::string_view upperClassName);

// Whether a scrolling control: a window with a scroll-bar style or a list box.
[[nodiscard]] bool IsScrollingControl(const TControlFacts& facts);

// ----- Bare windows -----

// The row for a window without a framework object, by its lower-case class
// name and style; nullopt when no row names it.
[[nodiscard]] std::optional<TAttachment> BareWindowAttachment(std::string_view lowerClassName, uint32_t style);

// The attachment the SkinControls set allows: the row itself when its bit is
// set (or it needs none), otherwise nothing.
[[nodiscard]] bool Allowed(const TAttachment& attachment, TSkinControlTypes set);

// Whether a window class name (any case) contains "radiogroup" or
// "checkgroup": a disabled group hands its Tag on to its buttons.
[[nodiscard]] bool IsButtonGroupClass(std::string_view className);

} // namespace skin
