#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Component.h"

// Form descriptions: the text that lists a form's components, their nesting,
// their stored properties and the names of their event handlers. A small
// example:
//
//   # The player's folder button.
//   TMainForm MainForm {
//     Caption = "Automatic picture player"
//     Color = clBtnFace
//     Font.Name = "Tahoma"
//     OnCreate = @FormCreate
//     TGroupBox GroupBox1 {
//       Anchors = [akLeft, akTop]
//       TButton Button1 {
//         Caption = "Select Picture folder"
//         OnClick = @btnChangePathClick
//       }
//     }
//     TRadioGroup rgStyleControl { Items = ["order", "random", "fixed"] }
//     TSkinData SkinData1 { SkinStream = file "mainform-skin.bin" }
//   }
//
// A component nested in another is placed on it (its parent); every component
// is owned by the outermost one, the form. Values are integers (decimal or
// 0x hexadecimal, with a sign), identifiers (enumerations, named colours, True
// and False, or the name of another component for a reference), strings in
// double quotes (UTF-8, with \" \\ \n \r \t and \u{hex} escapes), lists in
// brackets (a set of identifiers or a list of strings), the items of a
// collection as a bracketed list of property blocks
//   Panels = [ { Width = 150 } { Width = 100 Alignment = taCenter } ]
// @Handler for an event
// and file "name" for binary data kept in a separate file beside the text.
// Lines starting with # are comments.
namespace framework {

// A description that cannot be read; the message names the line.
class EFormDescriptionError : public Exception {
public:
  EFormDescriptionError(int line, const std::string& message)
    : Exception("Form description, line " + std::to_string(line) + ": " + message), line_(line)
  {
  }
  [[nodiscard]] int Line() const { return line_; }

private:
  int line_;
};

struct TFormProperty;

struct TFormValue {
  enum class TKind { vkInteger, vkIdent, vkString, vkList, vkHandler, vkFile, vkCollection };
  TKind Kind = TKind::vkInteger;
  int64_t Integer = 0;
  std::string Text;               // identifier, string, handler or file name
  std::vector<std::string> Items; // list items
  bool ItemsAreStrings = false;   // a string list rather than a set
  std::vector<std::vector<TFormProperty>> Collection; // the items of a collection
  friend bool operator==(const TFormValue&, const TFormValue&);
};

struct TFormProperty {
  std::string Path; // "Caption", "Font.Name"
  TFormValue Value;
  int Line = 0;
  friend bool operator==(const TFormProperty&, const TFormProperty&) = default;
};

struct TFormObject {
  std::string ClassName;
  std::string Name;
  int Line = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;

  [[nodiscard]] const TFormProperty* FindProperty(std::string_view path) const;
  [[nodiscard]] const TFormObject* FindChild(std::string_view name) const; // searches nested children too
};

// Parses a whole description: one outermost object. Raises
// EFormDescriptionError for anything malformed.
[[nodiscard]] TFormObject ParseFormDescription(std::string_view text);
[[nodiscard]] std::string WriteFormDescription(const TFormObject& object);

// Supplies the bytes of a file named by a description (file "name").
using TBinaryLoader = std::function<std::vector<uint8_t>(const std::string& fileName)>;
// Keeps the bytes of a binary property; given a proposed file name, answers
// the name the description is to refer to.
using TBinarySaver = std::function<std::string(const std::string& proposedName, const std::vector<uint8_t>& data)>;

// Streams a description into root (whose class must be the outermost object's
// class): sets root's properties, creates the nested components (owned by
// root, placed on the component they are nested in, stored in root's published
// fields of the same name), binds events to root's published methods by name
// and resolves references to components. Every component is in the loading
// state until all are read; then each one's Loaded runs, root's last.
// Errors raise EFormDescriptionError naming the line.
void ReadComponentTree(TComponent& root, const TFormObject& description, const TBinaryLoader& loader = {});

// Describes root and the components it owns, their stored properties that
// differ from the defaults, and their handlers.
[[nodiscard]] TFormObject DescribeComponentTree(const TComponent& root, const TBinarySaver& saver = {});

} // namespace framework
