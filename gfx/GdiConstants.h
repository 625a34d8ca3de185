#pragma once
#include <cstdint>

// The platform's numeric constants for raster operations, stretch modes,
// polygon fill modes, region combination and region kinds. Drawing code is
// written with the platform's own names, so these are global like the
// platform's macros and carry the same values. Each is guarded: when the
// platform header has been included first, its macro (same value) is used;
// when it is included later its macro simply shadows ours.

// Raster operations for BitBlt, StretchBlt and MaskBlt.
#ifndef SRCCOPY
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
#endif
#ifndef SRCPAINT
inline constexpr uint32_t SRCPAINT = 0x00EE0086;
#endif
#ifndef SRCAND
inline constexpr uint32_t SRCAND = 0x008800C6;
#endif
#ifndef SRCINVERT
inline constexpr uint32_t SRCINVERT = 0x00660046;
#endif
#ifndef NOTSRCCOPY
inline constexpr uint32_t NOTSRCCOPY = 0x00330008;
#endif
#ifndef DSTINVERT
inline constexpr uint32_t DSTINVERT = 0x00550009;
#endif
#ifndef BLACKNESS
inline constexpr uint32_t BLACKNESS = 0x00000042;
#endif
#ifndef WHITENESS
inline constexpr uint32_t WHITENESS = 0x00FF0062;
#endif

// Stretch modes (SetStretchBltMode).
#ifndef BLACKONWHITE
inline constexpr int BLACKONWHITE = 1;
#endif
#ifndef WHITEONBLACK
inline constexpr int WHITEONBLACK = 2;
#endif
#ifndef COLORONCOLOR
inline constexpr int COLORONCOLOR = 3;
#endif
#ifndef HALFTONE
inline constexpr int HALFTONE = 4;
#endif

// Polygon fill modes.
#ifndef ALTERNATE
inline constexpr int ALTERNATE = 1;
#endif
#ifndef WINDING
inline constexpr int WINDING = 2;
#endif

// Region combination (CombineRgn).
#ifndef RGN_AND
inline constexpr int RGN_AND = 1;
#endif
#ifndef RGN_OR
inline constexpr int RGN_OR = 2;
#endif
#ifndef RGN_XOR
inline constexpr int RGN_XOR = 3;
#endif
#ifndef RGN_DIFF
inline constexpr int RGN_DIFF = 4;
#endif
#ifndef RGN_COPY
inline constexpr int RGN_COPY = 5;
#endif

// Region kinds, as region and clip calls answer them. The platform's error
// value is 0; its name is too common to define here, so it is RGN_ERROR.
#ifndef RGN_ERROR
inline constexpr int RGN_ERROR = 0;
#endif
#ifndef NULLREGION
inline constexpr int NULLREGION = 1;
#endif
#ifndef SIMPLEREGION
inline constexpr int SIMPLEREGION = 2;
#endif
#ifndef COMPLEXREGION
inline constexpr int COMPLEXREGION = 3;
#endif
