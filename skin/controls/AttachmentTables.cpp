#include "skin/controls/AttachmentTables.h"

#include <algorithm>
#include <cctype>

namespace skin {

namespace {

std::string Lower(std::string_view text)
{
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return out;
}

constexpr int8_t B(TSkinControlType member) { return int8_t(member); }

// The scroll-bar styles of a window.
constexpr uint32_t kVScroll = 0x00200000;
constexpr uint32_t kHScroll = 0x00100000;
constexpr uint32_t kTabStop = 0x00010000;

// ----- Skin3rd kind words -----------------------------------------------------------

struct TKindWord {
  std::string_view Word;
  TAttachment Attach;
};

const std::vector<TKindWord>& KindWordTable()
{
  static const std::vector<TKindWord> table{
    {"nil", {ckNone}},
    {"combobox", {ckCombo, B(xcCombo), -1, cpNone, afForeignCombo}},
    {"comboboxex", {ckCombo, B(xcCombo)}},
    {"edit", {ckEdit, B(xcEdit)}},
    {"radiobutton", {ckRadioButton, B(xcRadioButton)}},
    {"panel", {ckBox, B(xcPanel), -1, cpNone, afRecolour | afSetTransparent}},
    {"trackbar", {ckTrackBar, B(xcButton), -1, cpNone, afSetTransparent}},
    {"button", {ckButton, B(xcButton)}},
    {"datetimepicker", {ckDateTime, B(xcCombo)}},
    {"mediaplayer", {ckMediaPlayer, B(xcButton)}},
    {"bitbtn", {ckBitButton, B(xcButton), -1, cpNone, afDropDownWhenCx}},
    {"pngbitbtn", {ckBitButton, B(xcButton), -1, cpNone, afPngGlyph}},
    {"pngspeedbutton", {ckSpeedButton, B(xcButton), -1, cpNone, afPngGlyph}},
    {"menubtn", {ckMenuButton, B(xcButton)}},
    {"speedbutton", {ckSpeedButton, B(xcSpeedButton)}},
    {"tab", {ckTab, B(xcTab), -1, cpNone, afNeedsTabElement}},
    {"progress", {ckProgress, B(xcProgress)}},
    {"scrollbar", {ckScrollbar, B(xcScrollbar), -1, cpAfter, afScrolledAttach}},
    {"singlescrollbar", {ckScrollbar, B(xcScrollbar), -1, cpNone, afScrolledAttach | afSingleScrollbar}},
    {"embedscrollbar", {ckNone, B(xcScrollbar), -1, cpScrollingOnly}},
    {"container", {ckChildrenOnly, -1, -1, cpAfter}},
    {"groupbox", {ckGroupBox, B(xcGroupBox)}},
    {"advpagecontrol", {ckAdvPage, B(xcTab), -1, cpNone, afRecolour}},
    {"radiogroup", {ckGroupBox, B(xcGroupBox), -1, cpRadioButtons}},
    {"checkgroup", {ckGroupBox, B(xcPanel), B(xcGroupBox), cpCheckBoxes}},
    {"checkbox", {ckCheckBox, B(xcCheckBox)}},
  };
  return table;
}

// ----- Framework classes ------------------------------------------------------------

enum TRowTest : uint8_t {
  rtName,  // the upper-case class name is one of Names ('|' between them)
  rtClass, // the class is Names or derives from it
};

enum TRowCondition : uint8_t {
  rcNone,
  rcNotPageControl,
  rcPageStyleNotTabs,
  rcPageStyleTabs,
  rcScrolling,
  rcNumButtons1,
  rcNumButtons0,
};

struct TClassRow {
  TRowTest Test;
  std::string_view Names;
  TRowCondition Condition;
  TAttachment Attach;
};

// In the order they are tried. Class rows name the framework's own classes:
// the check box, group box, panel, radio group, status bar, combo box, edit
// and form classes stand for their whole families.
const std::vector<TClassRow>& ClassTable()
{
  static const std::vector<TClassRow> table{
    {rtClass, "TTabControl", rcNotPageControl, {ckTab, B(xcTab), -1, cpNone, afNeedsTabElement | afTabMode2, 2}},
    {rtClass, "TPageControl", rcPageStyleNotTabs, {ckTabButtons, B(xcTab), -1, cpNone, afNeedsTabElement}},
    {rtClass, "TPageControl", rcPageStyleTabs, {ckTab, B(xcTab), -1, cpNone, afNeedsTabElement}},
    {rtName, "TTABSET", rcNone, {ckTabSet, B(xcTab), -1, cpNone, afNeedsTabElement}},
    {rtClass, "TTabSheet", rcNone, {ckTabSheet, B(xcTab), -1, cpNone, afNeedsTabElement}},
    {rtName, "TTABBEDNOTEBOOK", rcNone, {ckTab, B(xcTab), -1, cpNone, afNeedsTabElement}},
    {rtName, "TMVCPANEL", rcNone, {ckChildrenOnly, -1, -1, cpAfter}},
    {rtClass, "TCheckBox", rcNone, {ckCheckBox, B(xcCheckBox)}},
    {rtClass, "TTrackBar", rcNone, {ckTrackBar, B(xcTrackBar)}},
    {rtName, "TUPDOWN|TSPINBUTTON", rcNone, {ckUpDown, B(xcSpin)}},
    {rtName, "TMEDIAPLAYER", rcNone, {ckMediaPlayer, B(xcButton)}},
    {rtClass, "TRadioGroup", rcNone, {ckGroupBox, B(xcRadioButton), -1, cpRadioButtons, afRecolour}},
    {rtName, "TDBNAVIGATOR", rcNone, {ckBox, B(xcPanel), -1, cpAfter, afRecolour}},
    {rtName, "TRZDBCHECKBOX|TRZCHECKBOX", rcNone, {ckObjImage, B(xcCheckBox), -1, cpNone, 0, 1}},
    {rtName, "TRZRADIOBUTTON|TRZDBRADIOBUTTON", rcNone, {ckObjImage, B(xcRadioButton), -1, cpNone, 0, 2}},
    {rtName, "TCXDBCHECKBOX|TCXCHECKBOX", rcNone, {ckObjImage, B(xcCheckBox), -1, cpNone, 0, 3}},
    {rtClass, "TGroupBox", rcNone, {ckGroupBox, B(xcPanel), -1, cpBefore}},
    {rtClass, "TRadioButton", rcNone, {ckRadioButton, B(xcRadioButton)}},
    {rtClass, "TStatusBar", rcNone, {ckStatusBar, B(xcStatusBar)}},
    // Our progress bar is the system's control under a framework class.
    {rtClass, "TProgressBar", rcNone, {ckProgress, B(xcProgress)}},
    {rtClass, "THeaderControl", rcNone, {ckHeader}},
    // A list view lays its bars only when its rows need them: its style
    // does not say it scrolls.
    {rtClass, "TListView", rcNone, {ckListView, B(xcScrollbar), -1, cpNone, afScrolledAttach}},
    {rtName, "TTNTCOMBOBOX", rcNone, {ckCombo, B(xcCombo)}},
    {rtClass, "TComboBox", rcNone, {ckCombo, B(xcCombo)}},
    // The framework's date picker drops its calendar down as a combo box
    // drops its list, and is skinned with the combo boxes.
    {rtClass, "TDateTimePicker", rcNone, {ckDateTime, B(xcCombo)}},
    {rtName, "TRICHEDIT|TWWDBRICHEDIT|TDXDBMEMO", rcNone, {ckScrollbar, B(xcScrollbar), -1, cpNone, afScrolledAttach}},
    {rtClass, "TSpeedButton", rcNone, {ckSpeedButton, B(xcSpeedButton)}},
    {rtClass, "TPanel", rcNone, {ckBox, B(xcPanel), -1, cpBefore, afRecolour}},
    {rtName, "TDXTREELIST|TDXDBTREELIST|TDXDBGRID", rcNone,
     {ckScrollbar, B(xcScrollbar), -1, cpNone, afScrolledAttach}},
    {rtClass, "TScrollBar", rcNone, {ckScrollBarControl, B(xcScrollbar)}},
    {rtClass, "TWinControl", rcScrolling, {ckScrollbar, B(xcScrollbar), -1, cpNone, afScrolledAttach}},
    // Bitmap buttons are push buttons with a glyph: tried before those.
    {rtClass, "TBitBtn", rcNone, {ckBitButton, B(xcButton)}},
    {rtClass, "TButton", rcNone, {ckButton, B(xcButton)}},
    {rtClass, "TEdit", rcNone, {ckEdit, B(xcEdit)}},
    {rtClass, "TForm", rcNone, {ckBox, -1, -1, cpAfter, afRecolour}},
    {rtName, "TDCEDIT|TDCDBEDIT", rcNumButtons1, {ckCombo, B(xcCombo)}},
    {rtName, "TDCEDIT|TDCDBEDIT", rcNumButtons0, {ckEdit, B(xcEdit)}},
  };
  return table;
}

bool NameIn(std::string_view name, std::string_view names)
{
  while (!names.empty()) {
    const size_t bar = names.find('|');
    const std::string_view one = names.substr(0, bar);
    if (!one.empty() && one == name)
      return true;
    if (bar == std::string_view::npos)
      break;
    names.remove_prefix(bar + 1);
  }
  return false;
}

bool ConditionHolds(TRowCondition condition, const TControlFacts& facts)
{
  switch (condition) {
  case rcNone: return true;
  case rcNotPageControl: return !facts.InheritsFrom("TPageControl");
  case rcPageStyleNotTabs: return Lower(facts.PageStyle) != "tstabs";
  case rcPageStyleTabs: return Lower(facts.PageStyle) == "tstabs";
  case rcScrolling: return IsScrollingControl(facts);
  case rcNumButtons1: return facts.NumButtons == 1;
  case rcNumButtons0: return facts.NumButtons == 0;
  }
  return false;
}

// ----- Bare windows -----------------------------------------------------------------

enum TStyleTest : uint8_t { stAny, stNoTabStop, stNotSimpleCombo, stNoTabButtons };

struct TBareRow {
  std::string_view ClassName;
  TStyleTest Test;
  TAttachment Attach;
};

const std::vector<TBareRow>& BareTable()
{
  static const std::vector<TBareRow> table{
    {"combobox", stNotSimpleCombo, {ckCombo, B(xcCombo)}},
    {"comboboxex32", stAny, {ckCombo, B(xcCombo), -1, cpNone, afOnTopChild}},
    {"scrollbar", stNoTabStop, {ckSizer}},
    {"#32770", stNoTabStop, {ckBoxH}},
    {"tpanel", stAny, {ckNone, -1, -1, cpAfter, afColourOnly}},
    {"ttntpanel.unicodeclass", stAny, {ckNone, -1, -1, cpAfter, afColourOnly}},
    {"ttntsilentpaintpanel.unicodeclass", stAny, {ckNone, -1, -1, cpAfter, afColourOnly}},
    {"tsilentpaintpanel", stAny, {ckNone, -1, -1, cpNone, afColourOnly}},
    {"tcheckbox", stAny, {ckCheckBox, B(xcCheckBox)}},
    {"tcombobox", stAny, {ckCombo, B(xcCombo)}},
    {"tbutton", stAny, {ckButton, B(xcButton)}},
    {"tprogressbar", stAny, {ckProgress}},
    {"systabcontrol32", stNoTabButtons, {ckTab, B(xcTab)}},
    {"toolbarwindow32", stAny, {ckBoxH}},
    {"edit", stAny, {ckEdit, B(xcEdit)}},
  };
  return table;
}

bool StyleHolds(TStyleTest test, uint32_t style)
{
  constexpr uint32_t kSimpleCombo = 0x1;   // CBS_SIMPLE
  constexpr uint32_t kTabButtons = 0x2000; // TCS_BUTTONS
  switch (test) {
  case stAny: return true;
  case stNoTabStop: return (style & kTabStop) == 0;
  case stNotSimpleCombo: return (style & 0x3) != kSimpleCombo;
  case stNoTabButtons: return (style & kTabButtons) == 0;
  }
  return false;
}

// A system button by its style: owner-drawn, group boxes and bitmap buttons
// keep their own look.
std::optional<TAttachment> ButtonStyleAttachment(uint32_t style)
{
  constexpr uint32_t kOwnerDrawBits = 0xB;
  constexpr uint32_t kGroupBox = 7;
  constexpr uint32_t kBitmap = 0x80;
  if ((style & kOwnerDrawBits) == kOwnerDrawBits)
    return TAttachment{ckNone};
  if ((style & 0x7) == kGroupBox || (style & kBitmap))
    return TAttachment{ckNone};
  if ((style & 0x2) || (style & 0x7) == 5)
    return TAttachment{ckCheckBox, B(xcCheckBox)};
  if ((style & 0x9) == 0x9 || (style & 0x4))
    return TAttachment{ckRadioButton, B(xcRadioButton)};
  return TAttachment{ckButton, B(xcButton)};
}

} // namespace

std::optional<std::string> MatchSkin3rd(const std::vector<std::string>& lines, std::string_view className)
{
  const std::string prefix = Lower(className) + "=";
  for (const std::string& line : lines) {
    if (line.size() < prefix.size() || Lower(std::string_view(line).substr(0, prefix.size())) != prefix)
      continue;
    return line.substr(prefix.size(), 50);
  }
  return std::nullopt;
}

std::optional<TAttachment> KindWordAttachment(std::string_view word, std::string_view lowerClassName)
{
  const std::string lower = Lower(word);
  for (const TKindWord& entry : KindWordTable()) {
    if (entry.Word != lower)
      continue;
    TAttachment attach = entry.Attach;
    if (attach.Has(afDropDownWhenCx)) {
      attach.Flags &= uint16_t(~afDropDownWhenCx);
      if (lowerClassName == "tcxbutton")
        attach.Flags |= afDropDownWhenCx;
    }
    return attach;
  }
  return std::nullopt;
}

const std::vector<std::string_view>& KindWords()
{
  static const std::vector<std::string_view> words = [] {
    std::vector<std::string_view> list;
    for (const TKindWord& entry : KindWordTable())
      list.push_back(entry.Word);
    return list;
  }();
  return words;
}

std::optional<TAttachment> FrameworkClassAttachment(const TControlFacts& facts)
{
  for (const TClassRow& row : ClassTable()) {
    const bool named = row.Test == rtName ? NameIn(facts.UpperClassName, row.Names)
                                          : facts.InheritsFrom && facts.InheritsFrom(row.Names);
    if (named && ConditionHolds(row.Condition, facts))
      return row.Attach;
  }
  return std::nullopt;
}

bool NeverSkinnedClass(std::string_view upperClassName)
{
  return upperClassName == "TDBCOMBOBOXEH" || upperClassName == "TFRDESIGNERPAGE" || upperClassName == "TFRPBOX";
}

bool IsScrollingControl(const TControlFacts& facts)
{
  return (facts.Windowed && (facts.Style & (kVScroll | kHScroll))) || facts.IsListBox;
}

std::optional<TAttachment> BareWindowAttachment(std::string_view lowerClassName, uint32_t style)
{
  if (lowerClassName == "button")
    return ButtonStyleAttachment(style);
  for (const TBareRow& row : BareTable())
    if (row.ClassName == lowerClassName && StyleHolds(row.Test, style))
      return row.Attach;
  return std::nullopt;
}

bool Allowed(const TAttachment& attachment, TSkinControlTypes set)
{
  return attachment.Bit < 0 || (set & Bit(uint32_t(attachment.Bit))) != 0;
}

bool IsButtonGroupClass(std::string_view className)
{
  const std::string lower = Lower(className);
  return lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos;
}

} // namespace skin
