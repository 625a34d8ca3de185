#pragma once
// Bitmaps the skin library carries itself instead of reading them from a
// skin: the track fallbacks and the 16 x 16 menu glyphs. They are drawn by
// code, so no binary artwork sits in the source tree.
#include "framework/Bitmap.h"

namespace skin {

// TRACK: 16 x 4 (vertical = false) or TRACKVERT: 4 x 16, a sunken groove in
// the 16 colours of the basic palette, with 3-pixel margins in mind.
void MakeTrackBitmap(framework::TBitmap& target, bool vertical);

// ORVANEMENU: 64 x 16, black on white (white is the mask colour), four
// glyphs side by side: close, maximise, minimise, restore.
void MakeMenuGlyphs(framework::TBitmap& target);

} // namespace skin
