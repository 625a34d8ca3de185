#include "IconWriter.h"

#include "gfx/codecs/Bmp.h"

#include <stdexcept>

namespace artwork {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kIconDirSize = 6;
constexpr size_t kIconEntrySize = 16;

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The icon's image is a 32-bit device-independent bitmap whose header counts
// the colour rows and the mask rows, followed by the 1-bit AND mask.
std::vector<uint8_t> IconImage(const gfx::TPixmap& image)
{
  const std::vector<uint8_t> file = gfx::EncodeBmp(image, 32);
  std::vector<uint8_t> dib(file.begin() + kFileHeaderSize, file.end());
  const uint32_t doubled = uint32_t(image.Height()) * 2;
  for (int i = 0; i < 4; ++i)
    dib[8 + size_t(i)] = uint8_t(doubled >> (8 * i));
  const size_t maskStride = ((size_t(image.Width()) + 31) / 32) * 4;
  for (int32_t y = image.Height() - 1; y >= 0; --y) { // bottom-up, as the colour rows
    std::vector<uint8_t> row(maskStride, 0);
    for (int32_t x = 0; x < image.Width(); ++x)
      if ((image.At(x, y) >> 24) == 0)
        row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    dib.insert(dib.end(), row.begin(), row.end());
  }
  return dib;
}

} // namespace

std::vector<uint8_t> EncodeIcon(const std::vector<const gfx::TPixmap*>& images)
{
  std::vector<std::vector<uint8_t>> bodies;
  for (const gfx::TPixmap* image : images) {
    if (image->Width() > 256 || image->Height() > 256)
      throw std::invalid_argument("icon images are at most 256 pixels wide and high");
    bodies.push_back(IconImage(*image));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1); // icon, not cursor
  Put16(out, uint32_t(images.size()));
  uint32_t offset = uint32_t(kIconDirSize + kIconEntrySize * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(uint8_t(images[i]->Width() & 0xFF)); // 256 is written as 0
    out.push_back(uint8_t(images[i]->Height() & 0xFF));
    out.push_back(0); // no palette
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 32); // bits per pixel
    Put32(out, uint32_t(bodies[i].size()));
    Put32(out, offset);
    offset += uint32_t(bodies[i].size());
  }
  for (const auto& body : bodies)
    out.insert(out.end(), body.begin(), body.end());
  return out;
}

} // namespace artwork
