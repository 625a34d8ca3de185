#pragma once
#include "framework/StringList.h"
#include "framework/win32/Controls.h"

namespace framework {

// An operation that cannot be done with the value given (a file list told to
// show a path that is neither a folder nor a file).
class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

// The names (without folder) of the files of one folder that match a mask,
// sorted by name without regard to case, shown in a list box. The list is
// kept whether or not the control has a window, so a hidden list can be used
// to read a folder.
class TFileListBox : public TWinControl {
public:
  explicit TFileListBox(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // The folder listed; a folder that does not exist raises
  // EInvalidOperation "Invalid file name - <path>".
  [[nodiscard]] const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& value);
  // Masks separated by semicolons ("*.bmp;*.jpg"); "*.*" lists every file.
  [[nodiscard]] const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& value);
  // A folder, a file (its folder is listed and it is selected), or a folder
  // and a mask. Anything else raises EInvalidOperation "Invalid file name - <path>".
  void ApplyFilePath(const std::string& path);
  [[nodiscard]] const TStringList& Items() const { return items_; }
  [[nodiscard]] int ItemIndex() const;
  void SetItemIndex(int value);
  // The selected file with its folder, or empty.
  [[nodiscard]] std::string FileName() const;
  void Update() override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void ReadFileNames();
  void FillWindow();

  std::string directory_;
  std::string mask_ = "*.*";
  TStringList items_;
  int itemIndex_ = -1;
};

[[nodiscard]] bool DirectoryExists(const std::string& path);
[[nodiscard]] bool FileExists(const std::string& path);

} // namespace framework
