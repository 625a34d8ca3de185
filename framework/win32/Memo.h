#pragma once
#include <memory>

#include "framework/StringList.h"
#include "framework/win32/StdCtrls.h"

namespace framework {

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit. Lines holds its text one line per string, kept whether
// or not the control has a window: what the user types is in Lines at once,
// and a change of Lines is in the window at once. Lines are the lines the
// text breaks into at its line breaks; the word wrap on screen does not make
// lines. OnChange follows every change of the text, the user's and the
// program's.
class TMemo : public TEdit {
public:
  explicit TMemo(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TStringList* Lines() const { return lines_.get(); }
  [[nodiscard]] TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  // Long lines wrap at the right edge instead of scrolling sideways.
  [[nodiscard]] bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // Enter starts a new line; without, Enter is left to the form (its default
  // button) and types nothing.
  [[nodiscard]] bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value);
  // Tab types a tab; without, Tab moves the focus on as in any control.
  [[nodiscard]] bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }

  // The text is Lines joined with line breaks.
  void SetCaption(const std::string& value) override;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  void LinesChanged();
  void TextChangedInWindow();
  // Whether the memo keeps a key (or the character it types) for itself.
  [[nodiscard]] bool Wants(WPARAM key) const;

  std::unique_ptr<TStringList> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  // Set while Lines and the window are being brought together, so that
  // neither side's change notice runs back to the other.
  bool syncing_ = false;
};

} // namespace framework
