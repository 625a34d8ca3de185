#pragma once
#include "Shading.h"

namespace artwork {

// Pictures drawn as functions of position; each is meant to look good at any
// aspect ratio and to give the transitions varied colours and shapes.
Rgb MountainDawn(float u, float v, float pixel);
Rgb NightHarbour(float u, float v, float pixel);
Rgb Lighthouse(float u, float v, float pixel);
Rgb Coast(float u, float v, float pixel);
Rgb Poplars(float u, float v, float pixel);
Rgb Mandelbrot(float u, float v, float pixel);
Rgb Plasma(float u, float v, float pixel);
Rgb Rings(float u, float v, float pixel);
Rgb Tiles(float u, float v, float pixel);
Rgb SplashScene(float u, float v, float pixel);
Rgb IconScene(float u, float v, float pixel);

} // namespace artwork
