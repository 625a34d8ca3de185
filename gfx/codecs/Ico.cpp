#include "gfx/codecs/Ico.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

namespace gfx {
namespace {

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void Fail(const std::string& what)
{
  throw TCodecError("Invalid icon: " + what);
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

} // namespace

std::vector<TIconEntry> ReadIconDirectory(std::span<const uint8_t> file)
{
  if (file.size() < kDirectoryHeader)
    Fail("the file is too short");
  const uint16_t type = Read16(file, 2);
  if (Read16(file, 0) != 0 || (type != 1 && type != 2))
    Fail("the file does not start with an icon directory");
  const size_t count = Read16(file, 4);
  if (count == 0)
    Fail("the file holds no image");
  if (file.size() < kDirectoryHeader + count * kDirectoryEntry)
    Fail("the directory is truncated");

  std::vector<TIconEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = kDirectoryHeader + i * kDirectoryEntry;
    TIconEntry e;
    e.Width = file[at] == 0 ? 256 : file[at];
    e.Height = file[at + 1] == 0 ? 256 : file[at + 1];
    // Cursors keep their hot spot where icons keep planes and depth.
    e.BitsPerPixel = type == 1 ? Read16(file, at + 6) : 0;
    e.Size = Read32(file, at + 8);
    e.Offset = Read32(file, at + 12);
    if (e.Offset > file.size() || e.Size > file.size() - e.Offset)
      Fail("image " + std::to_string(i + 1) + " lies outside the file");
    const std::span<const uint8_t> data = file.subspan(e.Offset, e.Size);
    if (data.size() >= 8 && std::memcmp(data.data(), kPngSignature, 8) == 0) {
      e.Png = true;
    } else if (data.size() >= 40 && Read32(data, 0) >= 40) {
      // The image's own header is more reliable than the directory.
      const int32_t w = int32_t(Read32(data, 4));
      const int32_t h = int32_t(Read32(data, 8)) / 2;
      if (w > 0 && h > 0) {
        e.Width = w;
        e.Height = h;
      }
      e.BitsPerPixel = Read16(data, 14);
    }
    entries.push_back(e);
  }
  return entries;
}

size_t SelectIconEntry(const std::vector<TIconEntry>& entries, int32_t width, int32_t height, int32_t bitsPerPixel)
{
  // Lower scores are better: PNG last, then the size class, then the size
  // distance, then the depth.
  auto score = [&](const TIconEntry& e) {
    const int64_t dw = int64_t(e.Width) - width, dh = int64_t(e.Height) - height;
    int64_t sizeClass;
    int64_t distance;
    if (dw == 0 && dh == 0) {
      sizeClass = 0;
      distance = 0;
    } else if (dw >= 0 && dh >= 0) {
      sizeClass = 1;
      distance = dw + dh;
    } else {
      sizeClass = 2;
      distance = -(std::min<int64_t>(dw, 0) + std::min<int64_t>(dh, 0));
    }
    const int64_t depth = e.BitsPerPixel <= bitsPerPixel ? 64 - e.BitsPerPixel : 128 - e.BitsPerPixel;
    return std::tuple(e.Png ? 1 : 0, sizeClass, distance, depth);
  };
  size_t best = 0;
  for (size_t i = 1; i < entries.size(); ++i)
    if (score(entries[i]) < score(entries[best]))
      best = i;
  return best;
}

TIconImage DecodeIconImage(std::span<const uint8_t> file, const TIconEntry& entry)
{
  if (entry.Png)
    Fail("images stored as PNG are not supported");
  if (entry.Offset > file.size() || entry.Size > file.size() - entry.Offset)
    Fail("the image lies outside the file");
  const std::span<const uint8_t> data = file.subspan(entry.Offset, entry.Size);
  TIconImage icon;
  try {
    TBmpImage dib = DecodeDib(data, 2);
    icon.Pixels = std::move(dib.Pixels);
    icon.BitsPerPixel = dib.BitsPerPixel;

    const int32_t w = icon.Pixels.Width(), h = icon.Pixels.Height();
    if (icon.BitsPerPixel == 32) {
      for (int32_t y = 0; y < h && !icon.HasAlpha; ++y)
        for (int32_t x = 0; x < w; ++x)
          if (icon.Pixels.At(x, y) >> 24) {
            icon.HasAlpha = true;
            break;
          }
    }
    if (!icon.HasAlpha)
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
          icon.Pixels.At(x, y) &= 0x00FFFFFF;

    icon.Mask.assign(size_t(w) * size_t(h), 0);
    const size_t stride = ((size_t(w) + 31) / 32) * 4;
    const size_t maskStart = dib.DataEnd;
    if (data.size() < maskStart || data.size() - maskStart < stride * size_t(h)) {
      // An alpha image does not need its mask; every other image does.
      if (!icon.HasAlpha)
        Fail("the transparency mask is truncated");
    } else {
      for (int32_t row = 0; row < h; ++row) {
        const uint8_t* bits = data.data() + maskStart + size_t(row) * stride;
        uint8_t* out = icon.Mask.data() + size_t(h - 1 - row) * size_t(w);
        for (int32_t x = 0; x < w; ++x)
          out[x] = (bits[x >> 3] >> (7 - (x & 7))) & 1;
      }
    }
  } catch (const TCodecError& e) {
    if (std::string(e.what()).rfind("Invalid icon", 0) == 0)
      throw;
    Fail(e.what());
  }
  return icon;
}

void ComposeIconImage(const TIconImage& image, TPixmap& dest)
{
  ComposeIconImage(image, dest, dest.Width(), dest.Height(), 0, 0);
}

void ComposeIconImage(const TIconImage& image, TPixmap& dest, int32_t fullWidth, int32_t fullHeight,
                      int32_t offsetX, int32_t offsetY)
{
  const int32_t sw = image.Pixels.Width(), sh = image.Pixels.Height();
  if (sw <= 0 || sh <= 0 || fullWidth <= 0 || fullHeight <= 0 || dest.IsEmpty())
    return;
  // Only the part of dest that the drawing covers.
  const int32_t x0 = std::max(0, -offsetX), y0 = std::max(0, -offsetY);
  const int32_t x1 = int32_t(std::min<int64_t>(dest.Width(), int64_t(fullWidth) - offsetX));
  const int32_t y1 = int32_t(std::min<int64_t>(dest.Height(), int64_t(fullHeight) - offsetY));
  if (x0 >= x1 || y0 >= y1)
    return;
  std::vector<int32_t> columns(static_cast<size_t>(x1 - x0));
  for (int32_t x = x0; x < x1; ++x)
    columns[size_t(x - x0)] = int32_t((int64_t(x) + offsetX) * sw / fullWidth);
  for (int32_t y = y0; y < y1; ++y) {
    const int32_t sy = int32_t((int64_t(y) + offsetY) * sh / fullHeight);
    const TPixel* src = image.Pixels.ScanLine(sy);
    const uint8_t* mask = image.Mask.data() + size_t(sy) * size_t(sw);
    TPixel* out = dest.ScanLine(y);
    for (int32_t x = x0; x < x1; ++x) {
      const int32_t sx = columns[size_t(x - x0)];
      const TPixel s = src[sx];
      if (image.HasAlpha) {
        const uint32_t a = s >> 24;
        const TPixel d = out[x];
        TPixel result = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          const uint32_t c = (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255;
          result |= c << shift;
        }
        out[x] = result;
      } else if (mask[sx]) {
        out[x] = (out[x] ^ s) & 0x00FFFFFF;
      } else {
        out[x] = s & 0x00FFFFFF;
      }
    }
  }
}

std::vector<uint8_t> EncodeIcon(std::span<const TPixmap* const> images)
{
  if (images.empty() || images.size() > 0xFFFF)
    throw TCodecError("An icon file holds between 1 and 65535 images");
  std::vector<std::vector<uint8_t>> blobs;
  for (const TPixmap* image : images) {
    const int32_t w = image->Width(), h = image->Height();
    if (w <= 0 || h <= 0 || w > 256 || h > 256)
      throw TCodecError("Icon images must be between 1 and 256 pixels wide and high");
    const size_t maskStride = ((size_t(w) + 31) / 32) * 4;
    std::vector<uint8_t> b;
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h * 2));
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, 0);
    Put32(b, uint32_t(size_t(w) * size_t(h) * 4 + maskStride * size_t(h)));
    for (int i = 0; i < 4; ++i)
      Put32(b, 0);
    for (int32_t y = h - 1; y >= 0; --y)
      for (int32_t x = 0; x < w; ++x)
        Put32(b, image->At(x, y));
    for (int32_t y = h - 1; y >= 0; --y) {
      std::vector<uint8_t> row(maskStride, 0);
      for (int32_t x = 0; x < w; ++x)
        if ((image->At(x, y) >> 24) == 0)
          row[size_t(x) >> 3] |= uint8_t(0x80 >> (x & 7));
      b.insert(b.end(), row.begin(), row.end());
    }
    blobs.push_back(std::move(b));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, uint32_t(images.size()));
  size_t offset = kDirectoryHeader + images.size() * kDirectoryEntry;
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(uint8_t(images[i]->Width() & 0xFF));
    out.push_back(uint8_t(images[i]->Height() & 0xFF));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, uint32_t(blobs[i].size()));
    Put32(out, uint32_t(offset));
    offset += blobs[i].size();
  }
  for (const auto& b : blobs)
    out.insert(out.end(), b.begin(), b.end());
  return out;
}

} // namespace gfx
