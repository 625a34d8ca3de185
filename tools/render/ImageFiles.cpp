#include "ImageFiles.h"

#include "gfx/codecs/Bmp.h"
#include "gfx/codecs/Ico.h"
#include "gfx/codecs/Jpeg.h"

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

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot open " + Describe(path));
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    throw std::runtime_error("cannot read " + Describe(path));
  return data;
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
  const std::vector<uint8_t> data = ReadFile(path);
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M')
    return gfx::DecodeBmp(data);
  if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
    return gfx::DecodeJpeg(data);
  if (data.size() >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0) {
    // The largest, deepest image, drawn over black as a picture would be.
    const std::vector<gfx::TIconEntry> entries = gfx::ReadIconDirectory(data);
    const gfx::TIconImage icon = gfx::DecodeIconImage(data, entries[gfx::SelectIconEntry(entries, 256, 256, 32)]);
    gfx::TPixmap pixels(icon.Pixels.Width(), icon.Pixels.Height());
    gfx::ComposeIconImage(icon, pixels);
    return pixels;
  }
  throw std::runtime_error(Describe(path) + " is not a BMP, JPEG or ICO picture");
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
