#include "gfx/codecs/Png.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include <png.h>

// libpng reports fatal errors through a callback that must not return; ours
// long-jumps back to the setjmp of one of the small "phase" functions below.
// Those functions hold no C++ object with a destructor between setjmp and the
// libpng calls, and the jump only crosses libpng's C frames and our C-style
// callbacks, so no C++ destructor is ever skipped. Everything that allocates
// or throws in C++ happens between the phases.

namespace gfx {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct TCodec {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  char Message[256] = "";
};

void OnError(png_structp png, png_const_charp message)
{
  auto* codec = static_cast<TCodec*>(png_get_error_ptr(png));
  std::snprintf(codec->Message, sizeof codec->Message, "%s", message);
  png_longjmp(png, 1);
}

// Damage that libpng can step over (a bad checksum on an ancillary chunk, an
// unknown chunk) does not keep a picture from showing.
void OnWarning(png_structp, png_const_charp) {}

struct TSource {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Position = 0;
};

void ReadBytes(png_structp png, png_bytep out, size_t count)
{
  auto* source = static_cast<TSource*>(png_get_io_ptr(png));
  if (count > source->Size - source->Position)
    png_error(png, "the file is truncated");
  std::memcpy(out, source->Data + source->Position, count);
  source->Position += count;
}

struct TDecoder : TCodec {
  TSource Source;

  TDecoder()
  {
    Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, static_cast<TCodec*>(this), OnError, OnWarning);
    if (Png != nullptr)
      Info = png_create_info_struct(Png);
    if (Png == nullptr || Info == nullptr) {
      png_destroy_read_struct(&Png, &Info, nullptr);
      throw std::bad_alloc();
    }
  }
  ~TDecoder() { png_destroy_read_struct(&Png, &Info, nullptr); }
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;

  [[noreturn]] void Fail() const { throw TCodecError(std::string("Invalid PNG data: ") + Message); }
};

bool ReadHeaderPhase(TDecoder& d)
{
  if (setjmp(png_jmpbuf(d.Png)))
    return false;
  png_set_read_fn(d.Png, &d.Source, ReadBytes);
  // Sides the pixel layer cannot hold are refused before any row is read.
  png_set_user_limits(d.Png, png_uint_32(TPixmap::kMaxSide), png_uint_32(TPixmap::kMaxSide));
  png_read_info(d.Png, d.Info);
  return true;
}

void ReadHeader(TDecoder& d, std::span<const uint8_t> data)
{
  if (data.size() < sizeof kSignature || std::memcmp(data.data(), kSignature, sizeof kSignature) != 0)
    throw TCodecError("Invalid PNG data: the file does not start with the PNG signature");
  d.Source = {data.data(), data.size(), 0};
  if (!ReadHeaderPhase(d))
    d.Fail();
}

TPngInfo InfoOf(const TDecoder& d)
{
  TPngInfo info;
  info.Width = int32_t(png_get_image_width(d.Png, d.Info));
  info.Height = int32_t(png_get_image_height(d.Png, d.Info));
  info.BitDepth = png_get_bit_depth(d.Png, d.Info);
  const int colorType = png_get_color_type(d.Png, d.Info);
  info.Palette = (colorType & PNG_COLOR_MASK_PALETTE) != 0;
  info.Colour = (colorType & PNG_COLOR_MASK_COLOR) != 0;
  info.Transparent = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(d.Png, d.Info, PNG_INFO_tRNS) != 0;
  info.Interlaced = png_get_interlace_type(d.Png, d.Info) != PNG_INTERLACE_NONE;
  return info;
}

// Asks libpng for blue, green, red and a fourth byte: the alpha where the
// picture is transparent, a zero filler where it is not.
bool DecodePhase(TDecoder& d, bool transparent, png_bytepp rows, int32_t width)
{
  if (setjmp(png_jmpbuf(d.Png)))
    return false;
  png_set_expand(d.Png); // palette to colours, small grey to 8 bits, tRNS to alpha
  png_set_scale_16(d.Png);
  png_set_gray_to_rgb(d.Png);
  png_set_bgr(d.Png);
  if (!transparent)
    png_set_filler(d.Png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(d.Png);
  png_read_update_info(d.Png, d.Info);
  if (png_get_rowbytes(d.Png, d.Info) != size_t(width) * 4)
    png_error(d.Png, "unexpected output format");
  png_read_image(d.Png, rows);
  // The rest of the file (normally just the end chunk) is not read: a file
  // that lacks only its end still shows every pixel.
  return true;
}

// Replaces each pixel's alpha by the picture composed over the background.
void ComposeOver(TPixmap& pixels, TPixel background)
{
  const uint32_t bg[3] = {background & 0xFF, (background >> 8) & 0xFF, (background >> 16) & 0xFF};
  for (int32_t y = 0; y < pixels.Height(); ++y) {
    uint8_t* p = reinterpret_cast<uint8_t*>(pixels.ScanLine(y));
    for (int32_t x = 0; x < pixels.Width(); ++x, p += 4) {
      const uint32_t a = p[3];
      for (int c = 0; c < 3; ++c)
        p[c] = uint8_t((p[c] * a + bg[c] * (255 - a) + 127) / 255);
      p[3] = 0;
    }
  }
}

// ----- Encoding ---------------------------------------------------------------

struct TSink {
  uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Capacity = 0;
};

void WriteBytes(png_structp png, png_bytep bytes, size_t count)
{
  auto* sink = static_cast<TSink*>(png_get_io_ptr(png));
  if (count > sink->Capacity - sink->Size) {
    const size_t capacity = std::max(sink->Capacity * 2, sink->Size + count + 4096);
    auto* grown = static_cast<uint8_t*>(std::realloc(sink->Data, capacity));
    if (grown == nullptr)
      png_error(png, "out of memory");
    sink->Data = grown;
    sink->Capacity = capacity;
  }
  std::memcpy(sink->Data + sink->Size, bytes, count);
  sink->Size += count;
}

void FlushBytes(png_structp) {}

struct TEncoder : TCodec {
  TSink Sink;

  TEncoder()
  {
    Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, static_cast<TCodec*>(this), OnError, OnWarning);
    if (Png != nullptr)
      Info = png_create_info_struct(Png);
    if (Png == nullptr || Info == nullptr) {
      png_destroy_write_struct(&Png, &Info);
      throw std::bad_alloc();
    }
  }
  ~TEncoder()
  {
    png_destroy_write_struct(&Png, &Info);
    std::free(Sink.Data);
  }
  TEncoder(const TEncoder&) = delete;
  TEncoder& operator=(const TEncoder&) = delete;
};

bool EncodePhase(TEncoder& e, const TPixmap& pixels, std::span<const uint8_t> alpha, png_bytep row)
{
  if (setjmp(png_jmpbuf(e.Png)))
    return false;
  const int32_t w = pixels.Width();
  const bool withAlpha = !alpha.empty();
  const int channels = withAlpha ? 4 : 3;
  png_set_write_fn(e.Png, &e.Sink, WriteBytes, FlushBytes);
  png_set_IHDR(e.Png, e.Info, png_uint_32(w), png_uint_32(pixels.Height()), 8,
               withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(e.Png, e.Info);
  for (int32_t y = 0; y < pixels.Height(); ++y) {
    const TPixel* src = pixels.ScanLine(y);
    for (int32_t x = 0; x < w; ++x) {
      png_bytep out = row + size_t(x) * size_t(channels);
      out[0] = png_byte(src[x] >> 16);
      out[1] = png_byte(src[x] >> 8);
      out[2] = png_byte(src[x]);
      if (withAlpha)
        out[3] = alpha[size_t(y) * size_t(w) + size_t(x)];
    }
    png_write_row(e.Png, row);
  }
  png_write_end(e.Png, e.Info);
  return true;
}

} // namespace

TPngInfo ReadPngInfo(std::span<const uint8_t> data)
{
  TDecoder d;
  ReadHeader(d, data);
  return InfoOf(d);
}

void DecodePngInto(std::span<const uint8_t> data, TPixel background,
                   const std::function<TPixmap&(int32_t, int32_t)>& target)
{
  TDecoder d;
  ReadHeader(d, data);
  const TPngInfo info = InfoOf(d);
  try {
    TPixmap::CheckSize(info.Width, info.Height);
  } catch (const std::length_error& e) {
    throw TCodecError(std::string("Invalid PNG data: ") + e.what());
  }
  TPixmap* pixels = nullptr;
  std::vector<png_bytep> rows;
  try {
    pixels = &target(info.Width, info.Height);
    rows.resize(size_t(info.Height));
  } catch (const std::bad_alloc&) {
    throw TCodecError("Invalid PNG data: there is not enough memory for " + std::to_string(info.Width) + " x " +
                      std::to_string(info.Height) + " pixels");
  }
  TPixmap& out = *pixels;
  if (out.Width() != info.Width || out.Height() != info.Height)
    throw TCodecError("Invalid PNG data: no pixels of the picture's size to decode into");
  for (int32_t y = 0; y < info.Height; ++y)
    rows[size_t(y)] = reinterpret_cast<png_bytep>(out.ScanLine(y));
  if (!DecodePhase(d, info.Transparent, rows.data(), info.Width))
    d.Fail();
  if (info.Transparent)
    ComposeOver(out, background);
}

TPixmap DecodePng(std::span<const uint8_t> data, TPixel background)
{
  TPixmap out;
  DecodePngInto(data, background, [&out](int32_t w, int32_t h) -> TPixmap& {
    out = TPixmap::ForOverwrite(w, h);
    return out;
  });
  return out;
}

std::vector<uint8_t> EncodePng(const TPixmap& pixels, std::span<const uint8_t> alpha)
{
  if (pixels.IsEmpty())
    throw TCodecError("Cannot write an empty picture as PNG");
  const size_t count = size_t(pixels.Width()) * size_t(pixels.Height());
  if (!alpha.empty() && alpha.size() != count)
    throw TCodecError("Cannot write PNG data: the alpha values do not match the pixels");
  std::vector<png_byte> row(size_t(pixels.Width()) * 4);
  TEncoder e;
  if (!EncodePhase(e, pixels, alpha, row.data()))
    throw TCodecError(std::string("Cannot write PNG data: ") + e.Message);
  return std::vector<uint8_t>(e.Sink.Data, e.Sink.Data + e.Sink.Size);
}

} // namespace gfx
