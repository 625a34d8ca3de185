#pragma once
// Putting companions on the controls of a skinned window: the pass over a
// framework form's controls, and the pass over the child windows of a
// foreign window (a message box, a common dialog). The frame runs one of
// them when it starts; the tables decide which companion each control gets.
#include <windows.h>

namespace framework {
class TForm;
}

namespace skin {

class TWinSkinForm;

// The form's own controls in component order, then every windowed control
// in tab order that is not skinned yet (those the form does not own).
void SkinFormControls(TWinSkinForm& frame, framework::TForm& form);

// The child windows of window, by their window class and style.
void SkinChildWindows(TWinSkinForm& frame, HWND window);

} // namespace skin
