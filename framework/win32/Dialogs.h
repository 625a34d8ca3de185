#pragma once
#include <windows.h>

#include <string>

#include "framework/Component.h"
#include "gfx/Color.h"

// Message dialogs, the folder browser, the colour dialog and the picture-open
// dialog.
namespace framework {

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = uint16_t;
constexpr TMsgDlgButtons MsgButtons(std::initializer_list<TMsgDlgBtn> buttons)
{
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : buttons)
    set = TMsgDlgButtons(set | (1u << b));
  return set;
}

// Shows a modal dialog with the text, an icon for the type ("Warning",
// "Error", "Information" or "Confirm" as its caption) and a button for each
// member of the set, in the set's order; answers the modal result of the
// button pressed (mrCancel when the dialog is closed otherwise).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);

// The shell's folder browser: only file-system folders, the caption above the
// tree, directory preselected when it exists. Answers whether the user chose
// one; directory then holds it.
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory,
                     HWND owner = nullptr);

class TColorDialog : public TComponent {
public:
  explicit TColorDialog(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] gfx::TColor Color() const { return color_; }
  void SetColor(gfx::TColor value) { color_ = value; }
  // Answers whether the user confirmed a colour.
  bool Execute(HWND owner = nullptr);

private:
  gfx::TColor color_ = gfx::clBlack;
  COLORREF custom_[16]{};
};

enum TOpenOption : uint8_t {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
  ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
  ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
  ofEnableIncludeNotify, ofEnableSizing
};
using TOpenOptions = uint32_t;

// The open dialog for pictures: the filter lists the picture formats, and a
// pane beside the file list previews the selected picture with its size.
class TOpenPictureDialog : public TComponent {
public:
  explicit TOpenPictureDialog(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] std::string Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  [[nodiscard]] std::string FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { fileName_ = value; }
  [[nodiscard]] std::string InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& value) { initialDir_ = value; }
  // "Description|*.ext;*.ext|Description|*.ext"
  [[nodiscard]] std::string Filter() const { return filter_; }
  void SetFilter(const std::string& value) { filter_ = value; }
  [[nodiscard]] TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions value) { options_ = value; }
  bool Execute(HWND owner = nullptr);

private:
  std::string title_;
  std::string fileName_;
  std::string initialDir_;
  std::string filter_;
  TOpenOptions options_ = (1u << ofHideReadOnly) | (1u << ofEnableSizing);
};

} // namespace framework
