#pragma once
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <vector>

namespace artwork {

// Writes a small placeable Windows metafile of filled shapes: enough records
// to make a vector picture that the player draws through the platform.
class TMetafileWriter {
public:
  TMetafileWriter(int32_t width, int32_t height);

  void Brush(gfx::TColor colour); // solid brush and a matching pen for what follows
  void Rectangle(const gfx::TRect& r);
  void Ellipse(const gfx::TRect& r);
  void Polygon(const std::vector<gfx::TPoint>& points);

  [[nodiscard]] std::vector<uint8_t> Finish();

private:
  void Record(uint16_t function, const std::vector<uint16_t>& parameters);
  void DeleteSelectedObjects();

  int32_t width_, height_;
  std::vector<uint16_t> records_;
  uint32_t largestRecord_ = 0;
  bool haveObjects_ = false;
};

} // namespace artwork
