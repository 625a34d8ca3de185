// Makes the program's own artwork at build time: the sample "Photos" folder,
// the splash picture and the application icon.
//
//   artwork <output folder>
#include "MetafileWriter.h"
#include "Scenes.h"

#include "framework/JPEGImage.h"
#include "framework/Picture.h"
#include "framework/Streams.h"
#include "gfx/codecs/Bmp.h"
#include "gfx/codecs/Ico.h"
#include "gfx/Orientation.h"
#include "gfx/codecs/Jpeg.h"
#include "gfx/codecs/Png.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <span>

namespace fs = std::filesystem;
using namespace artwork;

namespace {

// TurnedJpeg is stored as a camera held upright writes it: the sensor's
// landscape pixels, a quarter turn counter-clockwise from the scene, with an
// orientation tag saying to turn them a quarter clockwise to show them.
// CutOutPng is transparent around an oval and translucent in a band inside
// it, so the display's colour shows through.
enum class Format { Jpeg, ProgressiveJpeg, TurnedJpeg, Bmp8, Bmp24, Bmp32, CutOutPng };

struct Sample {
  const char* Name;
  Rgb (*Draw)(float, float, float);
  int32_t Width, Height;
  Format Kind;
};

// Landscape and portrait, larger than a screen and smaller than the display
// area, and every raster format the player reads; one portrait is stored
// lying on its side and shows upright only when its orientation tag is read.
constexpr Sample kSamples[] = {
  {"Alpine dawn.jpg", MountainDawn, 1600, 1000, Format::Jpeg},
  {"Harbour at night.jpg", NightHarbour, 2560, 1600, Format::Jpeg},
  {"Lighthouse.jpg", Lighthouse, 900, 1400, Format::ProgressiveJpeg},
  {"C\xC3\xB4te d'\xC3\xA9t\xC3\xA9.jpg", Coast, 1280, 800, Format::Jpeg},
  {"Deep zoom.bmp", Mandelbrot, 1024, 768, Format::Bmp24},
  {"Plasma.jpg", Plasma, 1280, 720, Format::ProgressiveJpeg},
  {"Poplars.jpg", Poplars, 800, 1200, Format::TurnedJpeg},
  {"Rings.bmp", Rings, 800, 800, Format::Bmp32},
  {"Tiles.bmp", Tiles, 240, 180, Format::Bmp8},
  {"Window.png", Plasma, 960, 720, Format::CutOutPng},
};

void Save(const fs::path& path, std::span<const uint8_t> bytes)
{
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file)
    throw std::runtime_error("cannot write " + path.string());
}

// Opaque inside an oval that fills the picture, with a soft edge a few pixels
// wide, and half transparent in a band a fifth of the way in; clear outside.
std::vector<uint8_t> CutOutAlpha(int32_t w, int32_t h)
{
  std::vector<uint8_t> alpha(size_t(w) * size_t(h));
  const float edge = 4.0f / float(std::min(w, h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const float u = (float(x) + 0.5f) / float(w) * 2 - 1, v = (float(y) + 0.5f) / float(h) * 2 - 1;
      const float r = std::hypot(u, v);
      float a = std::clamp((1.0f - r) / edge, 0.0f, 1.0f);
      if (r > 0.6f && r < 0.8f)
        a *= 0.5f;
      alpha[size_t(y) * size_t(w) + size_t(x)] = uint8_t(std::lround(a * 255));
    }
  return alpha;
}

std::vector<uint8_t> Encode(const gfx::TPixmap& pixels, Format kind)
{
  switch (kind) {
  case Format::Jpeg: return gfx::EncodeJpeg(pixels, {.Quality = 88});
  case Format::ProgressiveJpeg: return gfx::EncodeJpeg(pixels, {.Quality = 88, .Progressive = true});
  case Format::TurnedJpeg:
    return gfx::EncodeJpeg(gfx::Orient(pixels, gfx::TOrientation::Rotate270),
                           {.Quality = 88, .Orientation = gfx::TOrientation::Rotate90});
  case Format::Bmp8: return gfx::EncodeBmp(pixels, 8);
  case Format::Bmp24: return gfx::EncodeBmp(pixels, 24);
  case Format::Bmp32: return gfx::EncodeBmp(pixels, 32);
  case Format::CutOutPng: return gfx::EncodePng(pixels, CutOutAlpha(pixels.Width(), pixels.Height()));
  }
  return {};
}

// The icon's shape: a square with rounded corners; outside it is transparent.
gfx::TPixmap IconImage(int32_t size)
{
  gfx::TPixmap image = Render(size, size, IconScene);
  const float radius = float(size) * 0.18f, half = float(size) / 2;
  for (int32_t y = 0; y < size; ++y)
    for (int32_t x = 0; x < size; ++x) {
      const float dx = std::max(std::fabs(float(x) + 0.5f - half) - (half - radius), 0.0f);
      const float dy = std::max(std::fabs(float(y) + 0.5f - half) - (half - radius), 0.0f);
      const bool inside = std::hypot(dx, dy) <= radius;
      image.At(x, y) = (image.At(x, y) & 0xFFFFFF) | (inside ? 0xFF000000u : 0u);
    }
  return image;
}

// The splash picture as a form description stores a picture property: the
// graphic's class name followed by its data.
std::vector<uint8_t> StoredPicture(std::vector<uint8_t> jpeg)
{
  auto graphic = std::make_unique<framework::TJPEGImage>();
  framework::TMemoryStream stream(std::move(jpeg));
  graphic->LoadFromStream(stream);
  framework::TPicture picture;
  picture.SetGraphic(std::move(graphic));
  return picture.SaveData();
}

std::vector<uint8_t> ShapesMetafile()
{
  TMetafileWriter wmf(1200, 800);
  wmf.Brush(gfx::RGBColor(250, 244, 230));
  wmf.Rectangle({0, 0, 1200, 800});
  const gfx::TColor colours[] = {gfx::RGBColor(220, 60, 60), gfx::RGBColor(240, 170, 40), gfx::RGBColor(60, 150, 90),
                                 gfx::RGBColor(50, 110, 200), gfx::RGBColor(130, 70, 170)};
  for (int i = 0; i < 5; ++i) {
    wmf.Brush(colours[i]);
    const int32_t x = 80 + i * 210;
    wmf.Ellipse({x, 120 + (i % 2) * 80, x + 220, 340 + (i % 2) * 80});
    wmf.Polygon({{x + 20, 700}, {x + 110, 460}, {x + 200, 700}});
  }
  return wmf.Finish();
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::cerr << "usage: artwork <output folder>\n";
    return 2;
  }
  try {
    const fs::path out = argv[1];
    const fs::path photos = out / "Photos";
    fs::create_directories(photos);
    for (const Sample& sample : kSamples)
      Save(photos / fs::u8path(sample.Name), Encode(Render(sample.Width, sample.Height, sample.Draw), sample.Kind));

    const gfx::TPixmap icon48 = IconImage(48), icon32 = IconImage(32), icon16 = IconImage(16);
    const gfx::TPixmap* sizes[] = {&icon48, &icon32, &icon16};
    const std::vector<uint8_t> icon = gfx::EncodeIcon(sizes);
    Save(out / "player.ico", icon);
    Save(photos / "Picture icon.ico", icon);
    Save(photos / "Shapes.wmf", ShapesMetafile());
    const std::vector<uint8_t> splash =
      gfx::EncodeJpeg(Render(450, 260, SplashScene), {.Quality = 90, .Progressive = true});
    Save(out / "splash.jpg", splash);
    Save(out / "splash-picture.bin", StoredPicture(splash));
  } catch (const std::exception& error) {
    std::cerr << "artwork: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
