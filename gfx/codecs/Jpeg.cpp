#include "gfx/codecs/Jpeg.h"

#include "gfx/codecs/Exif.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

// libjpeg reports fatal errors through a callback that must not return. The
// callback long-jumps back to a setjmp in one of the small "phase" functions
// below. Those functions hold no C++ object with a destructor between setjmp
// and the libjpeg calls, and the jump only crosses libjpeg's C frames, so no
// C++ destructor is ever skipped. Everything that allocates or throws in C++
// happens between the phases.

namespace gfx {
namespace {

// A JPEG of sane size decodes within this; a file that would need more (a huge
// progressive image's coefficients, mostly) is refused instead of exhausting a
// 32-bit address space.
constexpr size_t kMaxDecoderMemory = size_t(512) * 1024 * 1024;
// Progressive files may repeat scans without end; real ones have a few dozen.
constexpr int kMaxScans = 1000;

struct TErrorManager {
  jpeg_error_mgr Base; // first, so that libjpeg's pointer is also ours
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info)
{
  auto* err = reinterpret_cast<TErrorManager*>(info->err);
  info->err->format_message(info, err->Message);
  std::longjmp(err->Jump, 1);
}

void AbortWith(j_common_ptr info, const char* message)
{
  auto* err = reinterpret_cast<TErrorManager*>(info->err);
  std::snprintf(err->Message, sizeof err->Message, "%s", message);
  std::longjmp(err->Jump, 1);
}

// Warnings about corrupt entropy data are tolerated (libjpeg repairs what it
// can), but running out of data is not: a cut-off file would otherwise decode
// to a picture whose lower part is grey, with no word to the user.
void EmitMessage(j_common_ptr info, int level)
{
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
    ErrorExit(info);
  if (level < 0)
    ++info->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

void MonitorProgress(j_common_ptr info)
{
  if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
    AbortWith(info, "the file has too many scans");
}

void InstallErrorManager(TErrorManager& err)
{
  jpeg_std_error(&err.Base);
  err.Base.error_exit = ErrorExit;
  err.Base.emit_message = EmitMessage;
  err.Base.output_message = OutputMessage;
  err.Message[0] = '\0';
}

struct TDecoder {
  jpeg_decompress_struct Info{};
  TErrorManager Err{};
  jpeg_progress_mgr Progress{};
  bool Created = false;

  TDecoder() { InstallErrorManager(Err); }
  ~TDecoder()
  {
    if (Created)
      jpeg_destroy_decompress(&Info);
  }
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;

  [[noreturn]] void Fail() const { throw TCodecError(std::string("Invalid JPEG data: ") + Err.Message); }
};

bool ReadHeaderPhase(TDecoder& d, const uint8_t* data, size_t size)
{
  if (setjmp(d.Err.Jump))
    return false;
  d.Info.err = &d.Err.Base;
  jpeg_create_decompress(&d.Info);
  d.Created = true;
  d.Info.mem->max_memory_to_use = long(kMaxDecoderMemory);
  d.Progress.progress_monitor = MonitorProgress;
  d.Info.progress = &d.Progress;
  jpeg_mem_src(&d.Info, data, static_cast<unsigned long>(size));
  // APP1 holds the camera's EXIF block; a segment cannot be longer than this.
  jpeg_save_markers(&d.Info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&d.Info, TRUE);
  return true;
}

void ReadHeader(TDecoder& d, std::span<const uint8_t> data)
{
  if (data.empty())
    throw TCodecError("Invalid JPEG data: the file is empty");
  if (!ReadHeaderPhase(d, data.data(), data.size()))
    d.Fail();
}

// The orientation named by the first APP1 segment that is an EXIF block. Only
// the bytes libjpeg kept are read, which the reader checks every offset against.
TOrientation ReadOrientation(const jpeg_decompress_struct& info) noexcept
{
  static constexpr uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data == nullptr || m->data_length < sizeof kExif ||
        std::memcmp(m->data, kExif, sizeof kExif) != 0)
      continue;
    return ReadExifOrientation({m->data, size_t(m->data_length)});
  }
  return TOrientation::Normal;
}

// Memory the decoder needs for a progressive image's coefficients: every
// component's blocks, two bytes per coefficient.
size_t CoefficientBytes(const jpeg_decompress_struct& info)
{
  size_t total = 0;
  for (int c = 0; c < info.num_components; ++c) {
    const jpeg_component_info& comp = info.comp_info[c];
    const size_t maxH = size_t(std::max(info.max_h_samp_factor, 1));
    const size_t maxV = size_t(std::max(info.max_v_samp_factor, 1));
    const size_t w = (size_t(info.image_width) * size_t(comp.h_samp_factor) + maxH * 8 - 1) / (maxH * 8) + 1;
    const size_t h = (size_t(info.image_height) * size_t(comp.v_samp_factor) + maxV * 8 - 1) / (maxV * 8) + 1;
    total += w * h * DCTSIZE2 * sizeof(JCOEF);
  }
  return total;
}

constexpr int kReductions[] = {8, 4, 2, 1};

// Asks for the picture at 1/reduction of its size; libjpeg then knows the size
// of what it will deliver.
bool ScalePhase(TDecoder& d, int reduction)
{
  if (setjmp(d.Err.Jump))
    return false;
  d.Info.scale_num = 1;
  d.Info.scale_denom = static_cast<unsigned int>(reduction);
  jpeg_calc_output_dimensions(&d.Info);
  return true;
}

bool DecodePhase(TDecoder& d, TPixmap& out, bool cmyk)
{
  if (setjmp(d.Err.Jump))
    return false;
  jpeg_start_decompress(&d.Info);
  if (int32_t(d.Info.output_width) != out.Width() || int32_t(d.Info.output_height) != out.Height() ||
      d.Info.output_components != 4)
    AbortWith(reinterpret_cast<j_common_ptr>(&d.Info), "unexpected output format");
  const bool adobeInverted = cmyk && d.Info.saw_Adobe_marker;
  JSAMPROW rows[16];
  while (d.Info.output_scanline < d.Info.output_height) {
    const JDIMENSION first = d.Info.output_scanline;
    const JDIMENSION count = std::min<JDIMENSION>(16, d.Info.output_height - first);
    for (JDIMENSION i = 0; i < count; ++i)
      rows[i] = reinterpret_cast<JSAMPROW>(out.ScanLine(int32_t(first + i)));
    const JDIMENSION got = jpeg_read_scanlines(&d.Info, rows, count);
    for (JDIMENSION i = 0; i < got; ++i) {
      TPixel* row = out.ScanLine(int32_t(first + i));
      const int32_t w = out.Width();
      if (cmyk) {
        // Adobe writers store CMYK inverted (0 is full ink); others do not.
        uint8_t* p = reinterpret_cast<uint8_t*>(row);
        for (int32_t x = 0; x < w; ++x, p += 4) {
          uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
          if (!adobeInverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
          }
          const uint32_t r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
          row[x] = TPixel(b) | (TPixel(g) << 8) | (TPixel(r) << 16);
        }
      } else {
        for (int32_t x = 0; x < w; ++x)
          row[x] &= 0x00FFFFFFu;
      }
    }
  }
  // The rest of the file (normally just the end marker) is not read: a file
  // that lacks only its end marker still shows every pixel.
  return true;
}

struct TEncoder {
  jpeg_compress_struct Info{};
  TErrorManager Err{};
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  bool Created = false;

  TEncoder() { InstallErrorManager(Err); }
  ~TEncoder()
  {
    if (Created)
      jpeg_destroy_compress(&Info);
    std::free(Buffer);
  }
  TEncoder(const TEncoder&) = delete;
  TEncoder& operator=(const TEncoder&) = delete;
};

bool EncodePhase(TEncoder& e, const TPixmap& pixels, const TJpegOptions& options, std::span<const uint8_t> exif)
{
  if (setjmp(e.Err.Jump))
    return false;
  e.Info.err = &e.Err.Base;
  jpeg_create_compress(&e.Info);
  e.Created = true;
  jpeg_mem_dest(&e.Info, &e.Buffer, &e.Size);
  e.Info.image_width = JDIMENSION(pixels.Width());
  e.Info.image_height = JDIMENSION(pixels.Height());
  e.Info.input_components = 4;
  e.Info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&e.Info);
  if (options.Grayscale)
    jpeg_set_colorspace(&e.Info, JCS_GRAYSCALE);
  jpeg_set_quality(&e.Info, std::clamp(options.Quality, 1, 100), TRUE);
  if (options.Progressive)
    jpeg_simple_progression(&e.Info);
  jpeg_start_compress(&e.Info, TRUE);
  if (!exif.empty())
    jpeg_write_marker(&e.Info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned int>(exif.size()));
  while (e.Info.next_scanline < e.Info.image_height) {
    // libjpeg only reads the rows it is given.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<TPixel*>(pixels.ScanLine(int32_t(e.Info.next_scanline))));
    jpeg_write_scanlines(&e.Info, &row, 1);
  }
  jpeg_finish_compress(&e.Info);
  return true;
}

} // namespace

TJpegInfo ReadJpegInfo(std::span<const uint8_t> data)
{
  TDecoder d;
  ReadHeader(d, data);
  TJpegInfo info;
  info.Orientation = ReadOrientation(d.Info);
  const bool swap = SwapsSides(info.Orientation);
  info.Width = int32_t(std::min<JDIMENSION>(swap ? d.Info.image_height : d.Info.image_width, INT32_MAX));
  info.Height = int32_t(std::min<JDIMENSION>(swap ? d.Info.image_width : d.Info.image_height, INT32_MAX));
  info.Components = d.Info.num_components;
  info.Progressive = d.Info.progressive_mode != 0;
  return info;
}

void DecodeJpegInto(std::span<const uint8_t> data, const std::function<TPixmap&(int32_t, int32_t)>& target,
                    int reduction)
{
  TDecoder d;
  ReadHeader(d, data);
  try {
    TPixmap::CheckSize(d.Info.image_width, d.Info.image_height);
  } catch (const std::length_error& e) {
    throw TCodecError(std::string("Invalid JPEG data: ") + e.what());
  }
  if (d.Info.image_width == 0 || d.Info.image_height == 0)
    throw TCodecError("Invalid JPEG data: the picture is empty");
  if (d.Info.progressive_mode && CoefficientBytes(d.Info) > kMaxDecoderMemory)
    throw TCodecError("Invalid JPEG data: the picture is too large to decode");

  bool cmyk = false;
  switch (d.Info.jpeg_color_space) {
  case JCS_GRAYSCALE:
  case JCS_YCbCr:
  case JCS_RGB:
    d.Info.out_color_space = JCS_EXT_BGRX;
    break;
  case JCS_CMYK:
  case JCS_YCCK:
    d.Info.out_color_space = JCS_CMYK;
    cmyk = true;
    break;
  default:
    throw TCodecError("Invalid JPEG data: the colour space with " + std::to_string(d.Info.num_components) +
                      " components is not supported");
  }

  if (std::find(std::begin(kReductions), std::end(kReductions), reduction) == std::end(kReductions))
    reduction = 1;
  if (!ScalePhase(d, reduction))
    d.Fail();
  const int32_t storedW = int32_t(d.Info.output_width), storedH = int32_t(d.Info.output_height);
  const TOrientation orientation = ReadOrientation(d.Info);
  const bool swap = SwapsSides(orientation);
  const int32_t shownW = swap ? storedH : storedW, shownH = swap ? storedW : storedH;
  const auto outOfMemory = [&] {
    return TCodecError("Invalid JPEG data: there is not enough memory for " + std::to_string(shownW) + " x " +
                       std::to_string(shownH) + " pixels");
  };

  // A picture stored upright decodes straight into the caller's pixels; a
  // turned one decodes as stored and is then turned into them.
  TPixmap stored;
  if (orientation != TOrientation::Normal) {
    try {
      stored = TPixmap::ForOverwrite(storedW, storedH);
    } catch (const std::bad_alloc&) {
      throw outOfMemory();
    }
  }
  TPixmap* pixels = nullptr;
  try {
    pixels = &target(shownW, shownH);
  } catch (const std::bad_alloc&) {
    throw outOfMemory();
  }
  TPixmap& out = *pixels;
  if (out.Width() != shownW || out.Height() != shownH)
    throw TCodecError("Invalid JPEG data: no pixels of the picture's size to decode into");
  if (orientation == TOrientation::Normal) {
    if (!DecodePhase(d, out, cmyk))
      d.Fail();
    return;
  }
  if (!DecodePhase(d, stored, cmyk))
    d.Fail();
  OrientInto(stored, orientation, out);
}

int JpegReductionFor(TSize picture, TSize shownAtMost)
{
  const auto covers = [&](int n) {
    return (int64_t(picture.Width) + n - 1) / n >= shownAtMost.Width &&
           (int64_t(picture.Height) + n - 1) / n >= shownAtMost.Height;
  };
  for (int n : kReductions)
    if (covers(n))
      return n;
  return 1;
}

TPixmap DecodeJpeg(std::span<const uint8_t> data)
{
  TPixmap out;
  DecodeJpegInto(data, [&out](int32_t w, int32_t h) -> TPixmap& {
    out = TPixmap::ForOverwrite(w, h);
    return out;
  });
  return out;
}

std::vector<uint8_t> EncodeJpeg(const TPixmap& pixels, const TJpegOptions& options)
{
  if (pixels.IsEmpty())
    throw TCodecError("Cannot write an empty picture as JPEG");
  std::vector<uint8_t> exif;
  if (options.Orientation != TOrientation::Normal)
    exif = MakeExifOrientationBlock(options.Orientation);
  TEncoder e;
  if (!EncodePhase(e, pixels, options, exif))
    throw TCodecError(std::string("Cannot write JPEG data: ") + e.Err.Message);
  return std::vector<uint8_t>(e.Buffer, e.Buffer + e.Size);
}

} // namespace gfx
