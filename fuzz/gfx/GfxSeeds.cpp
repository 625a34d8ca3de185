// Writes the seed corpora of the picture decoders: small valid files of the
// layouts each decoder knows, so that the fuzzer starts deep in the formats.
// Usage: gfx_fuzz_seeds <bmp dir> <jpeg dir> <ico dir> <png dir>
#include "gfx/codecs/Bmp.h"
#include "gfx/codecs/Ico.h"
#include "gfx/codecs/Jpeg.h"
#include "gfx/codecs/Png.h"

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Save(const std::string& dir, const std::string& name, const Bytes& bytes)
{
  const std::string path = dir + "/" + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

void Put16(Bytes& b, uint32_t v)
{
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& b, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(uint8_t(v >> (8 * i)));
}

// A bitmap file with an info header of headerSize bytes (12: core header).
Bytes Bmp(uint32_t headerSize, int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
          const std::vector<uint32_t>& extra, const std::vector<uint32_t>& palette, const Bytes& pixels)
{
  Bytes info;
  Put32(info, headerSize);
  if (headerSize == 12) {
    Put16(info, uint32_t(w));
    Put16(info, uint32_t(h));
    Put16(info, 1);
    Put16(info, bpp);
  } else {
    Put32(info, uint32_t(w));
    Put32(info, uint32_t(h));
    Put16(info, 1);
    Put16(info, bpp);
    Put32(info, compression);
    Put32(info, uint32_t(pixels.size()));
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, uint32_t(palette.size()));
    Put32(info, 0);
    for (uint32_t v : extra)
      Put32(info, v);
    info.resize(std::max<size_t>(info.size(), headerSize), 0);
  }
  for (uint32_t c : palette) {
    info.push_back(uint8_t(c));
    info.push_back(uint8_t(c >> 8));
    info.push_back(uint8_t(c >> 16));
    if (headerSize != 12)
      info.push_back(0);
  }
  Bytes file{'B', 'M'};
  Put32(file, uint32_t(14 + info.size() + pixels.size()));
  Put32(file, 0);
  Put32(file, uint32_t(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

void AppendPng(png_structp png, png_bytep data, size_t size)
{
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

// A small PNG of the colour type and depth, its rows filled with varied bytes
// (any bytes are valid samples), with a palette and transparency where asked.
Bytes Png(int colorType, int depth, bool interlaced, bool transparent)
{
  constexpr png_uint_32 w = 7, h = 5;
  const int channels = colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_PALETTE ? 1
                       : colorType == PNG_COLOR_TYPE_GRAY_ALPHA                               ? 2
                       : colorType == PNG_COLOR_TYPE_RGB                                      ? 3
                                                                                               : 4;
  const size_t rowBytes = (w * size_t(channels) * size_t(depth) + 7) / 8;
  std::vector<Bytes> rows(h, Bytes(rowBytes));
  std::vector<png_bytep> pointers;
  for (size_t y = 0; y < h; ++y) {
    for (size_t i = 0; i < rowBytes; ++i)
      rows[y][i] = uint8_t(y * 37 + i * 91);
    pointers.push_back(rows[y].data());
  }
  Bytes out;
  png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(p);
  if (setjmp(png_jmpbuf(p))) {
    png_destroy_write_struct(&p, &info);
    return {};
  }
  png_set_write_fn(p, &out, AppendPng, nullptr);
  png_set_IHDR(p, info, w, h, depth, colorType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  png_byte alpha[256];
  for (int i = 0; i < 256; ++i) {
    palette[i] = {png_byte(i), png_byte(255 - i), png_byte(i * 7)};
    alpha[i] = png_byte(i * 3);
  }
  if (colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_PLTE(p, info, palette, 1 << depth);
  png_color_16 key{0, 3, 5, 7, 3};
  if (transparent)
    png_set_tRNS(p, info, alpha, colorType == PNG_COLOR_TYPE_PALETTE ? 1 << depth : 0, &key);
  png_write_info(p, info);
  png_write_image(p, pointers.data());
  png_write_end(p, info);
  png_destroy_write_struct(&p, &info);
  return out;
}

gfx::TPixmap Pattern(int32_t w, int32_t h, bool alpha)
{
  gfx::TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = gfx::TPixel((x * 37) << 16 | (y * 53) << 8 | ((x ^ y) * 11)) |
                   (alpha ? gfx::TPixel((x + y) * 20 % 256) << 24 : 0);
  return p;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <bmp dir> <jpeg dir> <ico dir> <png dir>\n", argv[0]);
    return 2;
  }
  const std::string bmp = argv[1], jpeg = argv[2], ico = argv[3], png = argv[4];

  Save(bmp, "8bit.bmp", gfx::EncodeBmp(Pattern(5, 3, false), 8));
  Save(bmp, "24bit.bmp", gfx::EncodeBmp(Pattern(5, 3, false), 24));
  Save(bmp, "32bit.bmp", gfx::EncodeBmp(Pattern(4, 2, true), 32));
  Save(bmp, "1bit.bmp", Bmp(40, 9, 2, 1, 0, {}, {0x000000, 0xFFFFFF}, {0x80, 0x80, 0, 0, 0x7F, 0, 0, 0}));
  Save(bmp, "4bit.bmp", Bmp(40, 3, 1, 4, 0, {}, {0, 0xFF0000, 0x00FF00, 0x0000FF}, {0x12, 0x30, 0, 0}));
  Save(bmp, "16bit565.bmp", Bmp(40, 2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, {0x00, 0xF8, 0xE0, 0x07}));
  Save(bmp, "32v5.bmp", Bmp(124, 1, -1, 32, 3, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {}, {1, 2, 3, 4}));
  Save(bmp, "core.bmp", Bmp(12, 2, 1, 24, 0, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0}));
  Save(bmp, "rle8.bmp", Bmp(40, 5, 3, 8, 1, {}, {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                            {3, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 2, 1, 1, 2, 1, 0, 1}));
  Save(bmp, "rle4.bmp", Bmp(40, 4, 2, 4, 2, {}, {0, 0xFF0000, 0x00FF00, 0x0000FF},
                            {4, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1}));

  const gfx::TPixmap photo = Pattern(24, 17, false);
  Save(png, "rgb.png", gfx::EncodePng(Pattern(6, 4, false)));
  Save(png, "palette4-trns-interlaced.png", Png(PNG_COLOR_TYPE_PALETTE, 4, true, true));
  Save(png, "palette8.png", Png(PNG_COLOR_TYPE_PALETTE, 8, false, false));
  Save(png, "grey1.png", Png(PNG_COLOR_TYPE_GRAY, 1, false, false));
  Save(png, "grey16-key.png", Png(PNG_COLOR_TYPE_GRAY, 16, false, true));
  Save(png, "grey-alpha8-interlaced.png", Png(PNG_COLOR_TYPE_GRAY_ALPHA, 8, true, false));
  Save(png, "rgb16-key-interlaced.png", Png(PNG_COLOR_TYPE_RGB, 16, true, true));
  Save(png, "rgba16.png", Png(PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false));
  Save(jpeg, "baseline.jpg", gfx::EncodeJpeg(photo, {75, false, false}));
  Save(jpeg, "progressive.jpg", gfx::EncodeJpeg(photo, {75, true, false}));
  Save(jpeg, "grey.jpg", gfx::EncodeJpeg(photo, {60, false, true}));
  Save(jpeg, "grey-progressive.jpg", gfx::EncodeJpeg(photo, {60, true, true}));
  Save(jpeg, "turned.jpg", gfx::EncodeJpeg(photo, {75, false, false, gfx::TOrientation::Transverse}));

  const gfx::TPixmap small = Pattern(16, 16, true), large = Pattern(32, 32, true);
  const gfx::TPixmap* both[] = {&small, &large};
  Save(ico, "two.ico", gfx::EncodeIcon(both));
  // A 16-colour image with a mask, as older icons are stored.
  Bytes dib;
  Put32(dib, 40);
  Put32(dib, 8);
  Put32(dib, 16);
  Put16(dib, 1);
  Put16(dib, 4);
  for (int i = 0; i < 6; ++i)
    Put32(dib, 0);
  for (uint32_t c = 0; c < 16; ++c)
    Put32(dib, c * 0x111111);
  for (int i = 0; i < 8 * 4; ++i)
    dib.push_back(uint8_t(i * 7));
  for (int i = 0; i < 8 * 4; ++i)
    dib.push_back(i % 4 == 0 ? 0xF0 : 0);
  Bytes four;
  Put16(four, 0);
  Put16(four, 1);
  Put16(four, 1);
  four.insert(four.end(), {8, 8, 16, 0});
  Put16(four, 1);
  Put16(four, 4);
  Put32(four, uint32_t(dib.size()));
  Put32(four, 22);
  four.insert(four.end(), dib.begin(), dib.end());
  Save(ico, "four.ico", four);
  return 0;
}
