#pragma once
// Frames, transitions and contact sheets: the renderer's drawing, free of
// file handling so that it can be tested.
#include "effects/EffectTable.h"
#include "gfx/Pixmap.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace render {

// Lays a picture out as the display component lays out a new picture: drawn
// at its own size at the top left of a width x height frame filled with
// background (pixel value), cropped where it is larger.
[[nodiscard]] gfx::TPixmap LayOut(const gfx::TPixmap& picture, int32_t width, int32_t height,
                                  gfx::TPixel background = 0);

// The frame of style at progress (0..100) between two pictures of one size,
// composed as the display component composes it. With a seed, the process-
// wide generator is seeded with it first and the new picture's handle is the
// seed, so the frame is the same in every run. Throws what
// effects::ComposeEffectFrame throws.
[[nodiscard]] gfx::TPixmap RenderFrame(const gfx::TPixmap& oldImage, const gfx::TPixmap& newImage,
                                       effects::TShowStyle style, int32_t progress,
                                       std::optional<uint32_t> seed = std::nullopt);

// A grid with one row per style and one column per progress value, each cell
// the frame at cellWidth x cellHeight (the pictures scaled to the cell first),
// each row labelled by its style number and each column headed by its
// progress. A seed applies to every cell (see RenderFrame). Long lists wrap into several
// blocks side by side so that the sheet stays roughly square.
[[nodiscard]] gfx::TPixmap RenderContactSheet(const gfx::TPixmap& oldPicture, const gfx::TPixmap& newPicture,
                                              const std::vector<effects::TShowStyle>& styles,
                                              const std::vector<int32_t>& progress, int32_t cellWidth,
                                              int32_t cellHeight, std::optional<uint32_t> seed = std::nullopt);

// Nearest-neighbour scaling, used for the sheet's cells.
[[nodiscard]] gfx::TPixmap Scaled(const gfx::TPixmap& picture, int32_t width, int32_t height);

// Draws a non-negative number with a 3 x 5 pixel font magnified scale times,
// its top left at (x, y); pixels outside the pixmap are skipped.
void DrawNumber(gfx::TPixmap& target, int32_t x, int32_t y, uint32_t number, int32_t scale, gfx::TPixel color);

} // namespace render
