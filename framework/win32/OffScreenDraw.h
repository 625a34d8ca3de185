#pragma once
// Owner drawing through a bitmap: a handler draws on a canvas in the target
// DC's own coordinates, and the rectangle reaches the DC in one transfer, so
// that what the system asked us to draw never shows half done.
#include <windows.h>

#include "framework/Canvas.h"
#include "gfx/Geometry.h"

#include <functional>

namespace framework {

void DrawOffScreen(HDC dc, const gfx::TRect& rect, const TFont& font, const std::function<void(TCanvas&)>& draw);

} // namespace framework
