#include "ImageFiles.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Picture.h"
#include "gfx/codecs/Bmp.h"

#include <algorithm>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef PLAYER_RENDER_PNG
#include <png.h>
#endif

namespace render {

namespace {

std::string Describe(const std::filesystem::path& path)
{
  const std::u8string text = path.u8string();
  return "\"" + std::string(text.begin(), text.end()) + "\"";
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& data)
{
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  out.close();
  if (!out)
    throw std::runtime_error("cannot write " + Describe(path));
}

} // namespace

gfx::TPixmap LoadPicture(const std::filesystem::path& path)
{
  // Through the framework's picture, so that every registered format loads
  // and is drawn exactly as the player draws it onto its new image.
  const std::u8string name = path.u8string();
  framework::TPicture picture;
  picture.LoadFromFile(std::string(name.begin(), name.end()));
  if (picture.Empty())
    throw std::runtime_error(Describe(path) + " holds an empty picture");
  framework::TBitmap bitmap(picture.Width(), picture.Height());
  picture.Draw(bitmap.Canvas(), {0, 0, picture.Width(), picture.Height()});
  gfx::TPixmap pixels(bitmap.Width(), bitmap.Height());
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    std::copy_n(bitmap.ScanLine(y), size_t(bitmap.Width()), pixels.ScanLine(y));
  return pixels;
}

void SaveBmp(const gfx::TPixmap& pixels, const std::filesystem::path& path)
{
  WriteFile(path, gfx::EncodeBmp(pixels, 24));
}

#ifdef PLAYER_RENDER_PNG

bool CanSavePng() noexcept
{
  return true;
}

void SavePng(const gfx::TPixmap& pixels, const std::filesystem::path& path)
{
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file)
    throw std::runtime_error("cannot write " + Describe(path));
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  struct TPngGuard {
    png_structp& Png;
    png_infop& Info;
    ~TPngGuard() { png_destroy_write_struct(&Png, &Info); }
  } guard{png, info};
  if (!png || !info)
    throw std::runtime_error("out of memory writing " + Describe(path));

  const int32_t w = pixels.Width();
  const int32_t h = pixels.Height();
  std::vector<png_byte> rows(size_t(w) * size_t(h) * 3);
  for (int32_t y = 0; y < h; ++y) {
    const gfx::TPixel* src = pixels.ScanLine(y);
    png_byte* dst = rows.data() + size_t(y) * size_t(w) * 3;
    for (int32_t x = 0; x < w; ++x) {
      dst[3 * x] = png_byte(src[x] >> 16);
      dst[3 * x + 1] = png_byte(src[x] >> 8);
      dst[3 * x + 2] = png_byte(src[x]);
    }
  }
  std::vector<png_bytep> rowPointers(static_cast<size_t>(h));
  for (int32_t y = 0; y < h; ++y)
    rowPointers[size_t(y)] = rows.data() + size_t(y) * size_t(w) * 3;

  // libpng reports errors by jumping back here; nothing with a destructor is
  // created between the jump target and the calls that may jump.
  if (setjmp(png_jmpbuf(png)))
    throw std::runtime_error("cannot write " + Describe(path));
  png_init_io(png, file.get());
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, nullptr);
}

#else

bool CanSavePng() noexcept
{
  return false;
}

void SavePng(const gfx::TPixmap&, const std::filesystem::path& path)
{
  throw std::runtime_error("this build writes no PNG files (" + Describe(path) + ")");
}

#endif

} // namespace render
