#include "skin/controls/ControlAttach.h"

#include "framework/TypeInfo.h"
#include "framework/win32/Forms.h"
#include "skin/SkinData.h"
#include "skin/controls/AttachmentTables.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbar.h"
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

// The companions this program builds. Kinds that belong to controls skinned
// later (edits, combo boxes, tabs and the rest) make none: their controls
// keep their own look.
std::unique_ptr<TSkinControl> MakeCompanion(TCompanionKind kind, uint16_t flags = 0)
{
  switch (kind) {
  case ckScrollbar: return std::make_unique<TSkinScrollbar>((flags & afSingleScrollbar) ? 1 : 0);
  case ckScrollBarControl: return std::make_unique<TSkinScControl>();
  case ckButton: return std::make_unique<TSkinButton>();
  case ckCheckBox: return std::make_unique<TSkinCheckBox>();
  case ckRadioButton: return std::make_unique<TSkinRadioButton>();
  case ckGroupBox: return std::make_unique<TSkinGroupBox>();
  case ckBox: return std::make_unique<TSkinBox>();
  case ckBoxH: return std::make_unique<TSkinBoxH>();
  case ckSizer: return std::make_unique<TSkinSizer>();
  default: return nullptr;
  }
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
    // Only windowed controls carry companions here; the framework has no
    // windowless control that the skin draws.
    if (!windowed || !control.Parent() || AlreadySkinned(*windowed))
      return;
    try {
      windowed->HandleNeeded();
    } catch (...) {
      return;
    }
    const std::string upper = Upper(control.ClassName());
    if (NeverSkinnedClass(upper) || AskedTheEvent(*windowed, upper))
      return;
    std::vector<std::string> lines;
    for (int i = 0; i < data_.Skin3rd()->Count(); ++i)
      lines.push_back(data_.Skin3rd()->Strings(i));
    if (const auto word = MatchSkin3rd(lines, control.ClassName())) {
      if (const auto attach = KindWordAttachment(*word, Lower(control.ClassName())))
        Apply(*windowed, *attach);
      return;
    }
    if (const auto attach = FrameworkClassAttachment(FactsOf(*windowed)))
      Apply(*windowed, *attach);
  }

  bool AlreadySkinned(framework::TWinControl& control)
  {
    return control.HandleAllocated() &&
           (control.Perform(WM_SKIN_QUERY) == 1 || frame_.HasCompanionFor(control.HandleIfAllocated()));
  }

  // The application may skin the control its own way or veto it: any
  // object it hands back ends the decision.
  bool AskedTheEvent(framework::TWinControl& control, const std::string& upper)
  {
    if (!data_.OnSkinControl)
      return false;
    framework::TComponent* skinned = nullptr;
    data_.OnSkinControl(&form_, &data_, control.Parent(), &control, upper, skinned);
    return skinned != nullptr;
  }

  static TControlFacts FactsOf(framework::TWinControl& control)
  {
    TControlFacts facts;
    facts.UpperClassName = Upper(control.ClassName());
    facts.InheritsFrom = [&control](std::string_view name) {
      for (const framework::TClassInfo* info = &control.ClassInfo(); info; info = info->Parent())
        if (info->Name() == name)
          return true;
      return false;
    };
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
      Attach(control, attach.Kind, attach.Has(afRecolour), attach.Flags);
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

  void Attach(framework::TWinControl& control, TCompanionKind kind, bool recolour, uint16_t flags = 0)
  {
    std::unique_ptr<TSkinControl> companion = MakeCompanion(kind, flags);
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
