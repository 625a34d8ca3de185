// skinart: draws the stored skin and the probe skin and packs them.
//
//   skinart OUTPUT_FOLDER
//
// writes OUTPUT_FOLDER/tarsel/ (the 34 bitmaps and the description, for
// skin authors to look at), OUTPUT_FOLDER/tarsel.skn (the package the player
// window stores) and, where PNG support is built in, a contact sheet
// OUTPUT_FOLDER/tarsel-sheet.png with every bitmap enlarged.
//
// The probe skin goes beside it the same way (probe/, probe.skn,
// probe-sheet.png), with probe-colours.txt listing the colour of every frame
// for whoever looks at a screenshot; the suites compute the colours from
// tools/skinart/ProbeColours.h instead.
#include "gfx/codecs/Bmp.h"
#include "tools/skinart/Probe.h"
#include "tools/skinart/ProbeColours.h"
#include "tools/skinart/SkinArt.h"
#include "tools/skinpack/Archive.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef PLAYER_SKINART_PNG
#include <png.h>
#endif

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

#ifdef PLAYER_SKINART_PNG
void WritePng(const fs::path& path, const int32_t width, const int32_t height, const std::vector<uint8_t>& rgb)
{
  FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f)
    throw std::runtime_error("cannot write " + path.string());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    throw std::runtime_error("cannot encode " + path.string());
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t j = 0; j < height; ++j)
    png_write_row(png, &rgb[size_t(j) * size_t(width) * 3]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

// Every bitmap three times enlarged on a grey sheet, one per row, so that the
// artwork can be judged at a glance (magenta shows where it is transparent).
void WriteContactSheet(const fs::path& path, const std::vector<skinart::TSkinBitmap>& bitmaps)
{
  constexpr int32_t kScale = 3;
  constexpr int32_t kGap = 8;
  int32_t width = 0;
  int32_t height = kGap;
  for (const auto& b : bitmaps) {
    width = std::max(width, b.Pixels.Width() * kScale + 2 * kGap);
    height += b.Pixels.Height() * kScale + kGap;
  }
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3, 160);
  int32_t y = kGap;
  for (const auto& b : bitmaps) {
    for (int32_t j = 0; j < b.Pixels.Height() * kScale; ++j)
      for (int32_t i = 0; i < b.Pixels.Width() * kScale; ++i) {
        const gfx::TPixel p = b.Pixels.At(i / kScale, j / kScale);
        uint8_t* d = &rgb[(size_t(y + j) * size_t(width) + size_t(kGap + i)) * 3];
        d[0] = uint8_t(p >> 16);
        d[1] = uint8_t(p >> 8);
        d[2] = uint8_t(p);
      }
    y += b.Pixels.Height() * kScale + kGap;
  }
  WritePng(path, width, height, rgb);
}
#endif

// Writes the bitmaps and the description into out/name/, packs them into
// out/name.skn and draws the contact sheet.
void WriteSkin(const fs::path& out, const std::string& name, const std::vector<skinart::TSkinBitmap>& bitmaps,
                 const std::string& descriptionName, const std::string& description)
{
  const fs::path folder = out / name;
  fs::create_directories(folder);
  std::vector<skinpack::TPackFile> files;
  for (const auto& b : bitmaps) {
    files.push_back({b.Name, gfx::EncodeBmp(b.Pixels, b.BitsPerPixel)});
    WriteFile(folder / b.Name, files.back().Bytes);
  }
  // The description is Windows text: CR LF line ends.
  std::string text;
  for (const char c : description) {
    if (c == '\n')
      text += '\r';
    text += c;
  }
  files.push_back({descriptionName, std::vector<uint8_t>(text.begin(), text.end())});
  WriteFile(folder / descriptionName, files.back().Bytes);

  const std::vector<uint8_t> archive = skinpack::BuildArchive(files);
  const std::vector<uint8_t> package = skinpack::PackArchive(archive);
  WriteFile(out / (name + ".skn"), package);
#ifdef PLAYER_SKINART_PNG
  WriteContactSheet(out / (name + "-sheet.png"), bitmaps);
#endif
  std::printf("skinart: %s: %zu files, %zu bytes unpacked, %zu bytes packed\n", name.c_str(), files.size(),
              archive.size(), package.size());
}

// One line per frame: bitmap, frame (from 1, as the description counts
// them), red, green, blue.
void WriteProbeColours(const fs::path& path)
{
  std::string text = "# bitmap frame red green blue (frames counted from 1)\n";
  for (size_t e = 0; e < probeskin::kElements.size(); ++e)
    for (int32_t f = 0; f < probeskin::kElements[e].Frames; ++f) {
      const uint32_t c = probeskin::ProbeColour(e, f);
      text += std::string(probeskin::kElements[e].Bitmap) + " " + std::to_string(f + 1) + " " +
              std::to_string(c >> 16) + " " + std::to_string((c >> 8) & 0xFF) + " " + std::to_string(c & 0xFF) + "\n";
    }
  WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: skinart OUTPUT_FOLDER\n");
    return 2;
  }
  try {
    const fs::path out(argv[1]);
    const std::vector<skinart::TSkinBitmap> bitmaps = skinart::DrawSkinBitmaps();
    const std::string description = skinart::SkinDescription();
    WriteSkin(out, "tarsel", bitmaps, skinart::kDescriptionName, description);
    WriteSkin(out, "probe", skinart::ProbeBitmaps(bitmaps), std::string(probeskin::kDescriptionName),
              skinart::ProbeDescription(description));
    WriteProbeColours(out / "probe-colours.txt");
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinart: %s\n", e.what());
    return 1;
  }
}
