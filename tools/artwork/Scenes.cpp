#include "Scenes.h"

#include <cmath>

namespace artwork {

namespace {

constexpr float kPi = 3.14159265f;

Rgb Hue(float h)
{
  auto wave = [h](float shift) { return 127.5f + 127.5f * std::cos(2 * kPi * (h + shift)); };
  return {wave(0.0f), wave(-1.0f / 3), wave(-2.0f / 3)};
}

// Sky from zenith to horizon with a glowing sun.
Rgb Sky(float u, float v, Rgb zenith, Rgb horizon, float horizonV, float sunU, float sunV, Rgb sun)
{
  Rgb sky = Mix(zenith, horizon, std::pow(std::clamp(v / horizonV, 0.0f, 1.0f), 1.6f));
  const float d = std::hypot(u - sunU, (v - sunV) * 0.8f);
  sky = Add(sky, Scale(sun, 0.55f * std::exp(-d * 9)));
  return Mix(sun, sky, Smooth(0.045f, d, 0.004f));
}

// A mountain ridge: 0 above it, 1 below it, softly.
float Ridge(float u, float v, float base, float height, float seed, float pixel)
{
  const float peaks = std::max(Fractal(u * 2.5f + seed, seed * 7.0f, 6) - 0.25f, 0.0f) * 2.2f;
  const float top = base - height * peaks;
  return Smooth(top, v, pixel * 1.5f);
}

} // namespace

Rgb MountainDawn(float u, float v, float pixel)
{
  const float horizon = 0.68f;
  const float skyV = v < horizon ? v : 2 * horizon - v; // the lake mirrors the sky
  Rgb colour = Sky(u, skyV, {44, 70, 140}, {252, 178, 120}, horizon, 0.62f, 0.3f, {255, 236, 190});
  const Rgb layers[] = {{150, 130, 170}, {96, 84, 136}, {52, 48, 90}};
  for (int i = 0; i < 3; ++i)
    colour = Mix(colour, layers[i], Ridge(u, skyV, horizon - 0.01f - 0.05f * float(2 - i), 0.42f - 0.1f * float(i),
                                          float(i) * 3.1f, pixel));
  if (v >= horizon) {
    const float ripple = 0.85f + 0.15f * std::sin(v * 260.0f + Noise(u * 40, v * 90) * 4);
    colour = Scale(Mix(colour, {30, 40, 80}, (v - horizon) * 1.2f), ripple);
  }
  return colour;
}

Rgb NightHarbour(float u, float v, float pixel)
{
  const float water = 0.7f;
  const float sv = v < water ? v : 2 * water - v;
  Rgb colour = Mix({6, 8, 30}, {40, 30, 90}, sv / water);
  if (Noise(u * 900, sv * 560) > 0.985f)
    colour = {230, 230, 255};
  // Skyline: blocks of random height with lit windows.
  const float block = std::floor(u * 36);
  const float top = water - 0.08f - 0.3f * Noise(block * 1.7f, 3.3f);
  if (sv > top) {
    colour = {14, 16, 30};
    const float wx = std::fmod(u * 36 * 5, 1.0f), wy = std::fmod((sv - top) * 90, 1.0f);
    if (wx > 0.35f && wx < 0.75f && wy > 0.3f && wy < 0.7f && Noise(u * 180, sv * 90) > 0.55f)
      colour = {255, 214, 120};
  }
  // Soft lights floating over the water.
  for (int i = 0; i < 14; ++i) {
    const float cu = Noise(float(i) * 3.7f, 1.0f), cv = water - 0.05f + 0.1f * Noise(float(i) * 5.1f, 2.0f);
    const float d = std::hypot(u - cu, (v - cv) * 0.6f);
    colour = Add(colour, Scale(Hue(float(i) / 14), 0.5f * (1 - Smooth(0.02f + 0.01f * float(i % 3), d, pixel * 4))));
  }
  if (v >= water)
    colour = Scale(colour, 0.55f + 0.2f * std::sin(v * 400 + Noise(u * 30, v * 60) * 6));
  return colour;
}

Rgb Lighthouse(float u, float v, float pixel)
{
  const float sea = 0.72f;
  Rgb colour = Sky(u, v, {70, 130, 200}, {200, 225, 245}, sea, 0.25f, 0.2f, {255, 255, 235});
  colour = Mix(colour, {255, 255, 255}, 0.35f * std::clamp(Fractal(u * 4, v * 10, 5) * 2 - 0.7f, 0.0f, 1.0f));
  if (v > sea)
    colour = Mix({40, 110, 160}, {20, 60, 100}, (v - sea) * 3);
  // The tower: a tapered column with red and white bands on a rock.
  const float half = 0.07f - 0.03f * (1 - v);
  const float inside = 1 - Smooth(half, std::fabs(u - 0.6f), pixel);
  if (v > 0.22f && v < 0.8f && inside > 0) {
    const Rgb band = int(v * 14) % 2 ? Rgb{200, 40, 40} : Rgb{245, 245, 240};
    colour = Mix(colour, Scale(band, 0.8f + 0.4f * (u - 0.6f + half) / (2 * half)), inside);
  }
  const float lamp = std::hypot(u - 0.6f, v - 0.19f);
  colour = Mix({255, 240, 160}, colour, Smooth(0.035f, lamp, pixel));
  // A rocky mound under the tower, below the waterline at the sides.
  const float rockTop = 0.79f + 1.2f * (u - 0.6f) * (u - 0.6f) + 0.03f * Fractal(u * 10, 1, 4);
  return Mix(colour, Scale({96, 84, 74}, 0.8f + 0.4f * Noise(u * 60, v * 60)), Smooth(rockTop, v, pixel));
}

Rgb Coast(float u, float v, float pixel)
{
  const float horizon = 0.45f;
  Rgb colour = Sky(u, v, {90, 160, 230}, {235, 245, 255}, horizon, 0.2f, 0.18f, {255, 250, 225});
  const float shore = 0.68f + 0.06f * std::sin(u * 7 + 1) + 0.02f * Fractal(u * 12, 0, 3);
  if (v > horizon)
    colour = Mix({40, 140, 190}, {90, 210, 210}, (v - horizon) / (shore - horizon));
  const float foam = std::fabs(v - shore);
  colour = Mix({250, 250, 250}, colour, Smooth(0.006f, foam, pixel * 2));
  if (v > shore + 0.006f)
    colour = Mix({238, 214, 160}, {214, 180, 120}, Fractal(u * 60, v * 60, 3));
  return colour;
}

// Tall trees on a meadow under an evening sky: tall and clearly upright, so a
// picture shown on its side is plain to see.
Rgb Poplars(float u, float v, float pixel)
{
  const float meadow = 0.8f;
  Rgb colour = Sky(u, v, {60, 90, 170}, {250, 200, 150}, meadow, 0.3f, 0.62f, {255, 230, 180});
  if (v > meadow)
    colour = Mix({110, 150, 60}, {60, 100, 40}, (v - meadow) * 5 + 0.3f * Noise(u * 200, v * 80));
  // Three slim crowns narrowing to their tops, each on a short trunk.
  const float trees[3][3] = {{0.22f, 0.18f, 0.07f}, {0.5f, 0.1f, 0.09f}, {0.76f, 0.24f, 0.065f}};
  for (const auto& [centre, top, width] : trees) {
    const float along = std::clamp((v - top) / (meadow - 0.05f - top), 0.0f, 1.0f);
    const float half = width * std::sqrt(along) * (1 - 0.6f * along * along);
    const float crown = (v > top && v < meadow - 0.05f) ? 1 - Smooth(half, std::fabs(u - centre), pixel) : 0.0f;
    const Rgb leaves = Scale({40, 90, 45}, 0.7f + 0.5f * Fractal(u * 90, v * 40, 3));
    colour = Mix(colour, leaves, crown);
    const bool trunkRows = v >= meadow - 0.05f && v < meadow + 0.01f;
    const float trunk = trunkRows ? 1 - Smooth(0.006f, std::fabs(u - centre), pixel) : 0.0f;
    colour = Mix(colour, {70, 50, 35}, trunk);
  }
  return colour;
}

Rgb Mandelbrot(float u, float v, float)
{
  const float cx = -0.7436f + (u - 0.5f) * 0.016f * 1.33f, cy = 0.1318f + (v - 0.5f) * 0.016f;
  float x = 0, y = 0;
  int i = 0;
  constexpr int kLimit = 400;
  for (; i < kLimit && x * x + y * y < 64; ++i) {
    const float t = x * x - y * y + cx;
    y = 2 * x * y + cy;
    x = t;
  }
  if (i == kLimit)
    return {8, 6, 20};
  const float smooth = float(i) - std::log2(std::log2(x * x + y * y) / 2);
  return Hue(smooth * 0.02f + 0.6f);
}

Rgb Plasma(float u, float v, float)
{
  const float s = std::sin(u * 11) + std::sin(v * 9 + u * 4) + std::sin(std::hypot(u - 0.5f, v - 0.5f) * 24);
  return Mix(Hue(s * 0.16f), {255, 255, 255}, 0.1f);
}

Rgb Rings(float u, float v, float pixel)
{
  const float d = std::hypot(u - 0.5f, v - 0.5f);
  const float ring = std::floor(d * 16);
  const Rgb colour = Scale(Hue(ring / 16 + 0.1f), 0.7f + 0.3f * std::cos(std::atan2(v - 0.5f, u - 0.5f) * 3 + ring));
  return Mix(colour, {250, 248, 240}, Smooth(0.47f, d, pixel));
}

Rgb Tiles(float u, float v, float)
{
  const int column = int(u * 8), row = int(v * 6);
  const Rgb tile = Hue(float((column * 3 + row * 5) % 16) / 16);
  const bool grout = std::fmod(u * 8, 1.0f) < 0.08f || std::fmod(v * 6, 1.0f) < 0.1f;
  return grout ? Rgb{240, 240, 240} : tile;
}

Rgb SplashScene(float u, float v, float pixel)
{
  Rgb colour = Mix({28, 50, 110}, {120, 160, 220}, v);
  for (int i = 0; i < 5; ++i) {
    const float d = std::hypot(u - 0.15f - 0.18f * float(i), (v - 0.5f) * 0.58f);
    colour = Mix(Scale(Hue(0.55f + 0.08f * float(i)), 0.9f), colour, Smooth(0.07f, d, pixel));
  }
  const float band = std::fabs(v - 0.82f);
  return Mix({250, 250, 255}, colour, Smooth(0.01f, band, pixel));
}

Rgb IconScene(float u, float v, float pixel)
{
  // A framed picture (a sun over a hill) whose corner turns, like a page.
  const float frame = std::max(std::fabs(u - 0.5f), std::fabs(v - 0.5f));
  Rgb colour = Sky(u, v, {70, 120, 210}, {190, 220, 250}, 0.65f, 0.68f, 0.32f, {255, 220, 90});
  colour = Mix({60, 150, 70}, colour, Smooth(0.62f + 0.1f * std::sin(u * 5), 1.3f - v, pixel));
  colour = Mix(colour, {245, 245, 245}, Smooth(0.40f, frame, pixel));
  colour = Mix(colour, {60, 70, 90}, Smooth(0.46f, frame, pixel));
  return colour;
}

} // namespace artwork
