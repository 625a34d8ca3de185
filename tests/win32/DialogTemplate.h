#pragma once
// Dialog templates built in memory, so that a suite can make a real system
// dialog (class "#32770", its children created by the dialog manager from the
// template) with exactly the controls and styles it wants to look at.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class TDialogTemplate {
public:
  // A dialog of the given style and size in dialog units, with the title and
  // the 8-point "MS Shell Dlg" font.
  TDialogTemplate(DWORD style, int16_t width, int16_t height, const std::wstring& title)
  {
    Dword(style | DS_SETFONT);
    Dword(0);
    Word(0); // item count, filled in as items are added
    Word(10);
    Word(10);
    Word(uint16_t(width));
    Word(uint16_t(height));
    Word(0); // no menu
    Word(0); // the dialog class
    Text(title);
    Word(8);
    Text(L"MS Shell Dlg");
  }

  // A control of a predefined class (0x0080 button, 0x0081 edit, 0x0082
  // static, 0x0083 list box, 0x0084 scroll bar, 0x0085 combo box).
  void Add(uint16_t atom, DWORD style, int16_t x, int16_t y, int16_t width, int16_t height, uint16_t id,
           const std::wstring& text)
  {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(uint16_t(x));
    Word(uint16_t(y));
    Word(uint16_t(width));
    Word(uint16_t(height));
    Word(id);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0); // no creation data
    ++words_[4];
  }

  [[nodiscard]] const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
  void Word(uint16_t value) { words_.push_back(value); }
  void Dword(DWORD value)
  {
    Word(uint16_t(value & 0xFFFF));
    Word(uint16_t(value >> 16));
  }
  void Text(const std::wstring& text)
  {
    for (wchar_t c : text)
      Word(uint16_t(c));
    Word(0);
  }
  // Items start on a 4-byte boundary.
  void Align()
  {
    if (words_.size() % 2)
      Word(0);
  }

  std::vector<uint16_t> words_;
};

} // namespace testsupport
