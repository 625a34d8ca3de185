#include "gfx/codecs/Bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <new>
#include <unordered_map>

namespace gfx {
namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;

[[noreturn]] void Fail(const std::string& what)
{
  throw TCodecError("Invalid bitmap: " + what);
}

uint16_t Read16(std::span<const uint8_t> d, size_t at)
{
  return uint16_t(d[at] | (d[at + 1] << 8));
}

uint32_t Read32(std::span<const uint8_t> d, size_t at)
{
  return uint32_t(d[at]) | (uint32_t(d[at + 1]) << 8) | (uint32_t(d[at + 2]) << 16) | (uint32_t(d[at + 3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}

// One colour channel described by a bit mask: where it sits and how to widen
// it to eight bits. A channel of fewer than eight bits is scaled so that its
// largest value becomes 255, as the platform does for 5-5-5 and 5-6-5 data.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit TChannel(uint32_t mask = 0) : Mask(mask)
  {
    if (mask != 0) {
      Shift = std::countr_zero(mask);
      Bits = std::popcount(mask);
      // A mask with holes still yields a value; its widest run decides.
      Bits = std::min(Bits, 32 - Shift);
    }
  }

  [[nodiscard]] uint8_t Extract(uint32_t pixel) const
  {
    if (Mask == 0)
      return 0;
    uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8)
      return uint8_t(v >> (Bits - 8));
    uint32_t max = (1u << Bits) - 1;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

// Everything the header tells about the pixel data.
struct TLayout {
  int32_t Width = 0;
  int32_t Height = 0; // always positive
  bool TopDown = false;
  int32_t Bpp = 0;
  uint32_t Compression = kRgb;
  uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0, AlphaMask = 0;
  std::vector<TPixel> Palette;
  size_t PixelOffset = 0; // from the start of the DIB
};

size_t Stride(int32_t width, int32_t bpp)
{
  return ((size_t(width) * size_t(bpp) + 31) / 32) * 4;
}

// Parses an info header, its masks and colour table from dib, which starts at
// the info header. pixelOffset, when not zero, is the file header's offset of
// the pixels measured from the same start.
TLayout ParseHeader(std::span<const uint8_t> dib, int32_t heightScale, size_t pixelOffset)
{
  if (dib.size() < 4)
    Fail("the header is truncated");
  const uint32_t headerSize = Read32(dib, 0);
  TLayout l;
  bool core = false;
  if (headerSize == kCoreHeaderSize) {
    if (dib.size() < kCoreHeaderSize)
      Fail("the header is truncated");
    core = true;
    l.Width = Read16(dib, 4);
    l.Height = Read16(dib, 6);
    if (Read16(dib, 8) != 1)
      Fail("the number of planes is not 1");
    l.Bpp = Read16(dib, 10);
  } else if (headerSize >= kInfoHeaderSize && headerSize <= 4096) {
    if (dib.size() < headerSize)
      Fail("the header is truncated");
    l.Width = int32_t(Read32(dib, 4));
    l.Height = int32_t(Read32(dib, 8));
    if (Read16(dib, 12) != 1)
      Fail("the number of planes is not 1");
    l.Bpp = Read16(dib, 14);
    l.Compression = Read32(dib, 16);
  } else {
    Fail("unknown header size " + std::to_string(headerSize));
  }

  if (l.Height < 0) {
    if (l.Height == INT32_MIN)
      Fail("the height is out of range");
    l.Height = -l.Height;
    l.TopDown = true;
  }
  if (heightScale > 1) {
    if (l.TopDown)
      Fail("an icon image cannot be stored top-down");
    l.Height /= heightScale;
  }
  if (l.Width <= 0 || l.Height <= 0)
    Fail("the size " + std::to_string(l.Width) + " x " + std::to_string(l.Height) + " is empty or negative");
  try {
    TPixmap::CheckSize(l.Width, l.Height);
  } catch (const std::length_error& e) {
    Fail(e.what());
  }

  switch (l.Bpp) {
  case 1:
  case 4:
  case 8:
  case 24:
    break;
  case 16:
  case 32:
    if (core)
      Fail(std::to_string(l.Bpp) + " bits per pixel with a core header");
    break;
  default:
    Fail(std::to_string(l.Bpp) + " bits per pixel are not supported");
  }

  switch (l.Compression) {
  case kRgb:
    break;
  case kRle8:
    if (l.Bpp != 8)
      Fail("RLE8 compression needs 8 bits per pixel");
    break;
  case kRle4:
    if (l.Bpp != 4)
      Fail("RLE4 compression needs 4 bits per pixel");
    break;
  case kBitFields:
  case kAlphaBitFields:
    if (l.Bpp != 16 && l.Bpp != 32)
      Fail("bit fields need 16 or 32 bits per pixel");
    break;
  default:
    Fail("compression " + std::to_string(l.Compression) + " is not supported");
  }
  if ((l.Compression == kRle8 || l.Compression == kRle4) && l.TopDown)
    Fail("compressed bitmaps cannot be stored top-down");

  size_t pos = core ? kCoreHeaderSize : headerSize;
  if (l.Compression == kBitFields || l.Compression == kAlphaBitFields) {
    const size_t count = l.Compression == kAlphaBitFields ? 4 : 3;
    size_t at;
    if (headerSize >= kInfoHeaderSize + 4 * count) {
      at = kInfoHeaderSize; // the masks are part of the larger header
    } else {
      at = pos;
      pos += 4 * count;
      if (dib.size() < pos)
        Fail("the colour masks are truncated");
    }
    l.RedMask = Read32(dib, at);
    l.GreenMask = Read32(dib, at + 4);
    l.BlueMask = Read32(dib, at + 8);
    if (count == 4 || headerSize >= kInfoHeaderSize + 16)
      l.AlphaMask = Read32(dib, at + 12);
  } else if (l.Bpp == 16) {
    l.RedMask = 0x7C00;
    l.GreenMask = 0x03E0;
    l.BlueMask = 0x001F;
  } else if (l.Bpp == 32) {
    l.RedMask = 0x00FF0000;
    l.GreenMask = 0x0000FF00;
    l.BlueMask = 0x000000FF;
  }

  if (l.Bpp <= 8) {
    const size_t maxColours = size_t(1) << l.Bpp;
    size_t colours = core ? 0 : Read32(dib, 32);
    if (colours == 0 || colours > maxColours)
      colours = maxColours;
    const size_t entry = core ? 3 : 4;
    // Some writers store fewer entries than they declare; the colour table
    // then ends where the pixels begin.
    if (pixelOffset > pos && (pixelOffset - pos) / entry < colours)
      colours = (pixelOffset - pos) / entry;
    if (dib.size() < pos + colours * entry)
      Fail("the colour table is truncated");
    l.Palette.resize(maxColours, 0);
    for (size_t i = 0; i < colours; ++i) {
      const uint8_t* p = dib.data() + pos + i * entry;
      l.Palette[i] = TPixel(p[0]) | (TPixel(p[1]) << 8) | (TPixel(p[2]) << 16);
    }
    pos += colours * entry;
  }

  l.PixelOffset = pixelOffset >= pos ? pixelOffset : pos;
  if (l.PixelOffset > dib.size())
    Fail("the pixel data is missing");
  return l;
}

void DecodeRows(const TLayout& l, std::span<const uint8_t> dib, TPixmap& out, size_t& end)
{
  const size_t stride = Stride(l.Width, l.Bpp);
  const size_t need = stride * size_t(l.Height);
  if (dib.size() - l.PixelOffset < need) {
    // The last row's padding is often left out; anything more is truncation.
    if (dib.size() - l.PixelOffset < need - stride + (size_t(l.Width) * size_t(l.Bpp) + 7) / 8)
      Fail("the pixel data is truncated");
  }
  end = std::min(dib.size(), l.PixelOffset + need);

  const TChannel r(l.RedMask), g(l.GreenMask), b(l.BlueMask), a(l.AlphaMask);
  const bool plain32 = l.Bpp == 32 && l.RedMask == 0x00FF0000 && l.GreenMask == 0x0000FF00 && l.BlueMask == 0x000000FF;
  for (int32_t row = 0; row < l.Height; ++row) {
    const uint8_t* src = dib.data() + l.PixelOffset + size_t(row) * stride;
    TPixel* dst = out.ScanLine(l.TopDown ? row : l.Height - 1 - row);
    switch (l.Bpp) {
    case 1:
      for (int32_t x = 0; x < l.Width; ++x)
        dst[x] = l.Palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int32_t x = 0; x < l.Width; ++x)
        dst[x] = l.Palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
      break;
    case 8:
      for (int32_t x = 0; x < l.Width; ++x)
        dst[x] = l.Palette[src[x]];
      break;
    case 16:
      for (int32_t x = 0; x < l.Width; ++x) {
        const uint32_t v = uint32_t(src[2 * x] | (src[2 * x + 1] << 8));
        dst[x] = TPixel(b.Extract(v)) | (TPixel(g.Extract(v)) << 8) | (TPixel(r.Extract(v)) << 16) |
                 (TPixel(a.Extract(v)) << 24);
      }
      break;
    case 24:
      for (int32_t x = 0; x < l.Width; ++x, src += 3)
        dst[x] = TPixel(src[0]) | (TPixel(src[1]) << 8) | (TPixel(src[2]) << 16);
      break;
    case 32:
      if (plain32) {
        // The fourth byte is kept as stored: 32-bit artwork may carry alpha
        // there, and writing the picture back must not lose it.
        for (int32_t x = 0; x < l.Width; ++x, src += 4)
          dst[x] = TPixel(src[0]) | (TPixel(src[1]) << 8) | (TPixel(src[2]) << 16) | (TPixel(src[3]) << 24);
      } else {
        for (int32_t x = 0; x < l.Width; ++x, src += 4) {
          const uint32_t v = uint32_t(src[0]) | (uint32_t(src[1]) << 8) | (uint32_t(src[2]) << 16) |
                             (uint32_t(src[3]) << 24);
          dst[x] = TPixel(b.Extract(v)) | (TPixel(g.Extract(v)) << 8) | (TPixel(r.Extract(v)) << 16) |
                   (TPixel(a.Extract(v)) << 24);
        }
      }
      break;
    default:
      break;
    }
  }
}

// Run-length data: pairs of (count, index) and escapes after a zero count:
// 0 ends a line, 1 ends the picture, 2 moves by (dx, dy), and 3 or more
// introduces that many literal indices padded to a 16-bit boundary. Pixels the
// data never reaches stay black, as the platform leaves them.
void DecodeRle(const TLayout& l, std::span<const uint8_t> dib, TPixmap& out, size_t& end)
{
  const bool four = l.Compression == kRle4;
  size_t pos = l.PixelOffset;
  int64_t x = 0, y = 0; // y counted from the bottom row
  auto put = [&](uint32_t index) {
    if (x < l.Width && y < l.Height)
      out.ScanLine(int32_t(l.Height - 1 - y))[x] = l.Palette[index];
    ++x;
  };
  auto need = [&](size_t n) {
    if (dib.size() - pos < n)
      Fail("the compressed data is truncated");
  };
  for (;;) {
    if (y >= l.Height) {
      // Data beyond the last row is ignored, as the platform does.
      break;
    }
    need(2);
    const uint8_t count = dib[pos];
    const uint8_t value = dib[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      need(2);
      x += dib[pos];
      y += dib[pos + 1];
      pos += 2;
    } else {
      const size_t bytes = four ? (size_t(value) + 1) / 2 : value;
      need(bytes);
      for (int i = 0; i < value; ++i)
        put(four ? ((i & 1) ? (dib[pos + size_t(i / 2)] & 0x0F) : (dib[pos + size_t(i / 2)] >> 4)) : dib[pos + size_t(i)]);
      pos += (bytes + 1) & ~size_t(1);
      pos = std::min(pos, dib.size());
    }
  }
  end = pos;
}

// The pixels of a picture whose size the header check accepted. On a 32-bit
// system even an accepted size may not fit in memory: that is reported as a
// picture we cannot open, like any other.
TPixmap AllocatePixels(int32_t width, int32_t height)
{
  try {
    return TPixmap(width, height);
  } catch (const std::bad_alloc&) {
    Fail("there is not enough memory for " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
  }
}

} // namespace

TBmpImage DecodeDib(std::span<const uint8_t> dib, int32_t heightScale)
{
  const TLayout l = ParseHeader(dib, heightScale, 0);
  TBmpImage image;
  image.BitsPerPixel = l.Bpp;
  image.Pixels = AllocatePixels(l.Width, l.Height);
  if (l.Compression == kRle4 || l.Compression == kRle8)
    DecodeRle(l, dib, image.Pixels, image.DataEnd);
  else
    DecodeRows(l, dib, image.Pixels, image.DataEnd);
  return image;
}

TBmpImage DecodeBmpImage(std::span<const uint8_t> data)
{
  if (data.size() < kFileHeaderSize + 4)
    Fail("the file is too short");
  if (data[0] != 'B' || data[1] != 'M')
    Fail("the file does not start with \"BM\"");
  const uint32_t offBits = Read32(data, 10);
  const std::span<const uint8_t> dib = data.subspan(kFileHeaderSize);
  // An offset that points into the headers is ignored: the pixels then follow
  // the colour table, as most readers assume.
  const size_t pixelOffset = offBits > kFileHeaderSize ? offBits - kFileHeaderSize : 0;
  if (pixelOffset > dib.size())
    Fail("the pixel data is missing");
  const TLayout l = ParseHeader(dib, 1, pixelOffset);
  TBmpImage image;
  image.BitsPerPixel = l.Bpp;
  image.Pixels = AllocatePixels(l.Width, l.Height);
  if (l.Compression == kRle4 || l.Compression == kRle8)
    DecodeRle(l, dib, image.Pixels, image.DataEnd);
  else
    DecodeRows(l, dib, image.Pixels, image.DataEnd);
  image.DataEnd += kFileHeaderSize;
  return image;
}

TPixmap DecodeBmp(std::span<const uint8_t> data)
{
  return DecodeBmpImage(data).Pixels;
}

std::vector<uint8_t> EncodeBmp(const TPixmap& pixels, int bitsPerPixel)
{
  if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
    throw TCodecError("Cannot write a bitmap with " + std::to_string(bitsPerPixel) + " bits per pixel");
  const int32_t w = pixels.Width(), h = pixels.Height();

  // The palette holds the picture's colours in ascending order, so the same
  // picture always gives the same file.
  std::vector<TPixel> palette;
  std::unordered_map<TPixel, uint8_t> index;
  if (bitsPerPixel == 8) {
    std::map<TPixel, int> seen;
    for (int32_t y = 0; y < h; ++y) {
      const TPixel* row = pixels.ScanLine(y);
      for (int32_t x = 0; x < w; ++x) {
        seen.emplace(row[x] & 0x00FFFFFF, 0);
        if (seen.size() > 256)
          throw TCodecError("The picture has more than 256 colours and cannot be stored with 8 bits per pixel");
      }
    }
    for (const auto& [colour, unused] : seen) {
      index.emplace(colour, uint8_t(palette.size()));
      palette.push_back(colour);
    }
    if (palette.empty())
      palette.push_back(0);
  }

  const size_t stride = Stride(w, bitsPerPixel);
  const size_t imageSize = stride * size_t(h);
  const size_t offBits = kFileHeaderSize + kInfoHeaderSize + palette.size() * 4;
  const size_t fileSize = offBits + imageSize;
  if (fileSize > 0xFFFFFFFFu)
    throw TCodecError("The picture is too large for a bitmap file");

  std::vector<uint8_t> out;
  out.reserve(fileSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, uint32_t(fileSize));
  Put32(out, 0);
  Put32(out, uint32_t(offBits));
  Put32(out, uint32_t(kInfoHeaderSize));
  Put32(out, uint32_t(w));
  Put32(out, uint32_t(h));
  Put16(out, 1);
  Put16(out, uint32_t(bitsPerPixel));
  Put32(out, kRgb);
  Put32(out, uint32_t(imageSize));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, uint32_t(palette.size()));
  Put32(out, 0);
  for (TPixel c : palette)
    Put32(out, c);

  for (int32_t y = h - 1; y >= 0; --y) {
    const TPixel* row = pixels.ScanLine(y);
    const size_t start = out.size();
    for (int32_t x = 0; x < w; ++x) {
      const TPixel p = row[x];
      if (bitsPerPixel == 8) {
        out.push_back(index.at(p & 0x00FFFFFF));
      } else {
        out.push_back(uint8_t(p));
        out.push_back(uint8_t(p >> 8));
        out.push_back(uint8_t(p >> 16));
        if (bitsPerPixel == 32)
          out.push_back(uint8_t(p >> 24));
      }
    }
    out.resize(start + stride, 0);
  }
  return out;
}

} // namespace gfx
