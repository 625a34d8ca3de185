#pragma once
// Reading pictures and writing frames for the renderer.
#include "gfx/Pixmap.h"

#include <filesystem>

namespace render {

// Reads a picture of any registered format (chosen by the file's extension)
// and draws it at its own size, on black where it is transparent. Throws the
// framework's error for a missing file, an unknown extension or bad data.
[[nodiscard]] gfx::TPixmap LoadPicture(const std::filesystem::path& path);

// Writes a 24-bit BMP file.
void SaveBmp(const gfx::TPixmap& pixels, const std::filesystem::path& path);

// Whether this build writes PNG files (natively it does, with libpng).
[[nodiscard]] bool CanSavePng() noexcept;
// Writes an 8-bit RGB PNG file. Throws std::runtime_error when PNG output is
// not built in or writing fails.
void SavePng(const gfx::TPixmap& pixels, const std::filesystem::path& path);

} // namespace render
