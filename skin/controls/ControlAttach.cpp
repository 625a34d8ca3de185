#include "skin/controls/ControlAttach.h"

#include "framework/TypeInfo.h"
#include "framework/win32/Forms.h"
#include "skin/SkinData.h"
#include "skin/controls/AttachmentTables.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/frame/WinSkinForm.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace skin {

namespace {

std::string Upper(std::string text)
{
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return text;
}

std::string Lower(std::string text)
{
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::string WindowClassName(HWND window)
{
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return framework::WideToUtf8(name);
}

// The companions this program builds. Kinds for controls this program does
// not have (media players, foreign tab sets and the like) make none: such
// controls keep their own look. variant: the row's
// variant (2 makes a tab control paint the controls without a window
// standing on it); flags: the row's flags.
std::unique_ptr<TSkinControl> MakeCompanion(TCompanionKind kind, int8_t variant = 0, uint16_t flags = 0)
{
  switch (kind) {
  case ckTab: return std::make_unique<TSkinTab>(variant == 2);
  case ckTabButtons: return std::make_unique<TSkinTabBtn>();
  case ckTabSheet: return std::make_unique<TSkinTabSheet>();
  case ckHeader: return std::make_unique<TSkinHeader>();
  case ckScrollbar: return std::make_unique<TSkinScrollbar>((flags & afSingleScrollbar) ? 1 : 0);
  case ckScrollBarControl: return std::make_unique<TSkinScControl>();
  case ckListView: return std::make_unique<TSkinListView>();
  case ckButton: return std::make_unique<TSkinButton>();
  case ckBitButton: return std::make_unique<TSkinBitButton>();
  case ckMenuButton: return std::make_unique<TSkinMenuButton>();
  case ckCheckBox: return std::make_unique<TSkinCheckBox>();
  case ckRadioButton: return std::make_unique<TSkinRadioButton>();
  case ckGroupBox: return std::make_unique<TSkinGroupBox>();
  case ckBox: return std::make_unique<TSkinBox>();
  case ckBoxH: return std::make_unique<TSkinBoxH>();
  case ckSizer: return std::make_unique<TSkinSizer>();
  case ckStatusBar: return std::make_unique<TSkinStatusBar>();
  case ckProgress: return std::make_unique<TSkinProgress>();
  case ckTrackBar: return std::make_unique<TSkinTrackBar>();
  case ckEdit: return std::make_unique<TSkinEdit>();
  case ckCombo: return std::make_unique<TSkinComBox>();
  case ckUpDown: return std::make_unique<TSkinUpDown>();
  case ckDateTime: return std::make_unique<TSkinDateTime>();
  default: return nullptr;
  }
}

// The companion a row names for this control: the drop-down button for a
// "tcxbutton" whose Kind says so, a glyph read from "PngImage" where the row
// asks for it, and the combo box of another component family.
std::unique_ptr<TSkinControl> MakeCompanionFor(const framework::TControl& control, const TAttachment& attach)
{
  const bool dropDown = attach.Has(afDropDownWhenCx) &&
                        framework::SameText(framework::GetPropValue(control, "Kind"), "cxbkDropDownButton");
  if (attach.Kind == ckCombo && attach.Has(afForeignCombo))
    return std::make_unique<TSkinComBox>(true);
  std::unique_ptr<TSkinControl> companion = MakeCompanion(dropDown ? ckMenuButton : attach.Kind, attach.Variant, attach.Flags);
  if (auto* glyphButton = dynamic_cast<TSkinBitButton*>(companion.get()); glyphButton && attach.Has(afPngGlyph))
    glyphButton->SetGlyphProperty("PngImage");
  return companion;
}

class TFormPass {
public:
  TFormPass(TWinSkinForm& frame, framework::TForm& form) : frame_(frame), form_(form), data_(frame.SkinData()) {}

  void Run()
  {
    frame_.DropDiscardedCompanions();
    for (int i = 0; i < form_.ComponentCount(); ++i)
      if (auto* control = dynamic_cast<framework::TControl*>(form_.Components(i)))
        Decide(*control);
    std::vector<framework::TWinControl*> tabOrder;
    form_.GetTabOrderList(tabOrder);
    for (framework::TWinControl* control : tabOrder)
      if (control->HandleAllocated() && control->Tag() != data_.DisableTag() &&
          control->Perform(WM_SKIN_QUERY) != 1)
        Decide(*control);
  }

private:
  void Decide(framework::TControl& control)
  {
    auto* windowed = dynamic_cast<framework::TWinControl*>(&control);
    if (control.Tag() == data_.DisableTag()) {
      if (windowed && IsButtonGroupClass(control.ClassName()))
        for (int i = 0; i < windowed->ControlCount(); ++i)
          windowed->Controls(i)->SetTag(control.Tag());
      return;
    }
    if (!windowed) {
      DecideWindowless(control);
      return;
    }
    if (!control.Parent() || AlreadySkinned(*windowed))
      return;
    try {
      windowed->HandleNeeded();
    } catch (...) {
      return;
    }
    const std::string upper = Upper(control.ClassName());
    if (NeverSkinnedClass(upper) || AskedTheEvent(*windowed, upper))
      return;
    if (const auto word = Skin3rdWord(control)) {
      if (const auto attach = KindWordAttachment(*word, Lower(control.ClassName())))
        Apply(*windowed, *attach);
      return;
    }
    if (const auto attach = FrameworkClassAttachment(FactsOf(*windowed)))
      Apply(*windowed, *attach);
  }

  // A control without a window has no window procedure to stand in front
  // of: only speed buttons, whose companion works through the control's
  // WindowProc, are skinned.
  void DecideWindowless(framework::TControl& control)
  {
    if (!control.Parent() || control.Perform(WM_SKIN_QUERY) == 1)
      return;
    const std::string upper = Upper(control.ClassName());
    if (NeverSkinnedClass(upper) || AskedTheEvent(control, upper))
      return;
    std::optional<TAttachment> attach;
    if (const auto word = Skin3rdWord(control)) {
      attach = KindWordAttachment(*word, Lower(control.ClassName()));
    } else {
      TControlFacts facts;
      facts.UpperClassName = upper;
      facts.InheritsFrom = [&control](std::string_view name) { return Inherits(control, name); };
      facts.Windowed = false;
      attach = FrameworkClassAttachment(facts);
    }
    if (!attach || attach->Kind != ckSpeedButton || !Allowed(*attach, data_.SkinControls()))
      return;
    // Made here, not by MakeCompanion: its attach is its own.
    auto companion = std::make_unique<TSkinSpeedButton>();
    if (attach->Has(afPngGlyph))
      companion->SetGlyphProperty("PngImage");
    companion->AttachSpeedButton(frame_, data_, control);
    frame_.RegisterCompanion(std::move(companion));
  }

  // The kind word the skin's Skin3rd list gives the control's class.
  std::optional<std::string> Skin3rdWord(const framework::TControl& control) const
  {
    std::vector<std::string> lines;
    for (int i = 0; i < data_.Skin3rd()->Count(); ++i)
      lines.push_back(data_.Skin3rd()->Strings(i));
    return MatchSkin3rd(lines, control.ClassName());
  }

  static bool Inherits(const framework::TControl& control, std::string_view name)
  {
    for (const framework::TClassInfo* info = &control.ClassInfo(); info; info = info->Parent())
      if (info->Name() == name)
        return true;
    return false;
  }

  bool AlreadySkinned(framework::TWinControl& control)
  {
    return control.HandleAllocated() &&
           (control.Perform(WM_SKIN_QUERY) == 1 || frame_.HasCompanionFor(control.HandleIfAllocated()));
  }

  // The application may skin the control its own way or veto it: any
  // object it hands back ends the decision. A companion of ours that the
  // frame does not list yet is attached and from then on owned by the frame.
  bool AskedTheEvent(framework::TControl& control, const std::string& upper)
  {
    if (!data_.OnSkinControl)
      return false;
    framework::TObject* skinned = nullptr;
    data_.OnSkinControl(&form_, &data_, control.Parent(), &control, upper, skinned);
    if (!skinned)
      return false;
    auto* companion = dynamic_cast<TSkinControl*>(skinned);
    if (companion && !frame_.ListsCompanion(companion)) {
      if (auto* windowed = dynamic_cast<framework::TWinControl*>(&control))
        companion->AttachControl(frame_, data_, *windowed, companion->Recolour());
      else if (auto* speed = dynamic_cast<TSkinSpeedButton*>(companion))
        speed->AttachSpeedButton(frame_, data_, control);
      frame_.RegisterCompanion(std::unique_ptr<TFrameCompanion>(companion));
    }
    return true;
  }

  static TControlFacts FactsOf(framework::TWinControl& control)
  {
    TControlFacts facts;
    facts.UpperClassName = Upper(control.ClassName());
    facts.InheritsFrom = [&control](std::string_view name) { return Inherits(control, name); };
    facts.Style = uint32_t(GetWindowLongPtrW(control.Handle(), GWL_STYLE));
    facts.PageStyle = framework::GetEnumProp(control, "Style");
    facts.NumButtons = framework::GetOrdProp(control, "NumButtons");
    facts.IsListBox = facts.InheritsFrom("TListBox");
    return facts;
  }

  void Apply(framework::TWinControl& control, const TAttachment& attach)
  {
    const TSkinControlTypes set = data_.SkinControls();
    if (!Allowed(attach, set))
      return;
    if (attach.Has(afNeedsTabElement) && !data_.Tabs)
      return;
    if (attach.Has(afSetTransparent))
      SetProperty(control, "Transparent", "True");
    if (attach.Children == cpBefore)
      SkinChildren(control);
    if (attach.Children == cpRadioButtons || attach.Children == cpCheckBoxes)
      SkinGroupButtons(control, attach.Children == cpRadioButtons ? ckRadioButton : ckCheckBox);
    if (attach.SelfBit < 0 || (set & Bit(uint32_t(attach.SelfBit))))
      Attach(control, MakeCompanionFor(control, attach), attach.Has(afRecolour));
    if (attach.Children == cpAfter)
      SkinChildren(control);
  }

  static void SetProperty(framework::TWinControl& control, const char* name, const char* value)
  {
    try {
      framework::SetPropValue(control, name, value);
    } catch (const framework::Exception&) {
      // A property of another type under that name: the control stays as it is.
    }
  }

  void SkinChildren(framework::TWinControl& parent)
  {
    for (int i = 0; i < parent.ControlCount(); ++i)
      Decide(*parent.Controls(i));
  }

  void SkinGroupButtons(framework::TWinControl& group, TCompanionKind kind)
  {
    if (!(data_.SkinControls() & Bit(xcRadioButton)))
      return;
    for (int i = 0; i < group.ControlCount(); ++i)
      if (auto* button = dynamic_cast<framework::TWinControl*>(group.Controls(i)))
        if (button->Tag() != data_.DisableTag() && !AlreadySkinned(*button))
          Attach(*button, kind, false);
  }

  void Attach(framework::TWinControl& control, TCompanionKind kind, bool recolour)
  {
    Attach(control, MakeCompanion(kind), recolour);
  }

  void Attach(framework::TWinControl& control, std::unique_ptr<TSkinControl> companion, bool recolour)
  {
    if (!companion)
      return;
    companion->AttachControl(frame_, data_, control, recolour);
    frame_.RegisterCompanion(std::move(companion));
  }

  TWinSkinForm& frame_;
  framework::TForm& form_;
  TSkinData& data_;
};

void AttachBare(TWinSkinForm& frame, HWND window, TCompanionKind kind)
{
  std::unique_ptr<TSkinControl> companion = MakeCompanion(kind);
  if (!companion || !window)
    return;
  companion->AttachWindow(frame, frame.SkinData(), window);
  frame.RegisterCompanion(std::move(companion));
}

} // namespace

void SkinFormControls(TWinSkinForm& frame, framework::TForm& form) { TFormPass(frame, form).Run(); }

void SkinChildWindows(TWinSkinForm& frame, HWND window)
{
  const TSkinControlTypes set = frame.SkinData().SkinControls();
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (framework::TWinControl::FindControl(child) || frame.HasCompanionFor(child) ||
        SendMessageW(child, WM_SKIN_QUERY, 0, 0) == 1)
      continue;
    const uint32_t style = uint32_t(GetWindowLongPtrW(child, GWL_STYLE));
    const auto attach = BareWindowAttachment(Lower(WindowClassName(child)), style);
    if (!attach || !Allowed(*attach, set))
      continue;
    AttachBare(frame, attach->Has(afOnTopChild) ? GetWindow(child, GW_CHILD) : child, attach->Kind);
    // A nested dialog holds controls of its own (the pages of the common
    // dialogs' templates); panels hand theirs on too.
    if (attach->Children == cpAfter || attach->Kind == ckBoxH)
      SkinChildWindows(frame, child);
  }
}

} // namespace skin
