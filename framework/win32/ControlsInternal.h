#pragma once

// Helpers shared by the files that implement the controls of Controls.h.
// Not part of the framework's interface.

#include <windows.h>

#include <cstdint>

namespace framework {

class TWinControl;

// The control whose window is being created with our own class; the window
// procedure binds it on the first message.
inline thread_local TWinControl* t_creating = nullptr;

inline bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }

inline LPARAM PointToLParam(int x, int y) { return LPARAM(MAKELONG(uint16_t(int16_t(x)), uint16_t(int16_t(y)))); }

} // namespace framework
