#pragma once
#include "gfx/Pixmap.h"
#include "gfx/codecs/Bmp.h" // TCodecError

#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

// One image listed in an icon file's directory.
struct TIconEntry {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitsPerPixel = 0; // from the image's own header when the directory leaves it out
  uint32_t Offset = 0;
  uint32_t Size = 0;
  bool Png = false;         // stored as a PNG stream, which we do not decode
};

// A decoded icon image. Mask holds one byte per pixel, rows from the top:
// 1 where the AND mask lets the background through. When HasAlpha is set the
// fourth byte of each pixel is its opacity and the mask is ignored, as the
// platform does for 32-bit icons with any non-zero alpha.
struct TIconImage {
  TPixmap Pixels;
  std::vector<uint8_t> Mask;
  bool HasAlpha = false;
  int32_t BitsPerPixel = 0;
};

// Lists the images of an ICO (or CUR) file. Throws TCodecError when the
// directory is malformed or lists no image.
[[nodiscard]] std::vector<TIconEntry> ReadIconDirectory(std::span<const uint8_t> file);

// The entry to draw at width x height on a device of the given depth: the
// closest size (an exact match first, then the smallest larger one, then the
// largest smaller one), then the deepest colour not above bitsPerPixel, then
// the deepest. PNG entries are chosen only when nothing else is there.
[[nodiscard]] size_t SelectIconEntry(const std::vector<TIconEntry>& entries, int32_t width, int32_t height,
                                     int32_t bitsPerPixel);

// Decodes one image of the file. Throws TCodecError for bad data and for PNG
// entries.
[[nodiscard]] TIconImage DecodeIconImage(std::span<const uint8_t> file, const TIconEntry& entry);

// Composes an icon image over existing pixels, scaled to dest's size (each
// destination pixel takes the nearest source pixel): masked pixels keep dest
// (XOR-ed with the image's colour, as the platform draws inverting cursors),
// alpha pixels are blended.
void ComposeIconImage(const TIconImage& image, TPixmap& dest);
// The same for a part of a larger drawing: the icon is scaled to
// fullWidth x fullHeight, and dest holds the part whose top-left corner lies
// at (offsetX, offsetY) within it. Pixels of dest outside the drawing stay.
void ComposeIconImage(const TIconImage& image, TPixmap& dest, int32_t fullWidth, int32_t fullHeight,
                      int32_t offsetX, int32_t offsetY);

// Writes an ICO file of 32-bit images with alpha and an AND mask derived from
// it (alpha 0 is transparent). Used by tools and tests.
[[nodiscard]] std::vector<uint8_t> EncodeIcon(std::span<const TPixmap* const> images);

} // namespace gfx
