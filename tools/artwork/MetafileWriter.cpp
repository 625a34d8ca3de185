#include "MetafileWriter.h"

#include <algorithm>

namespace artwork {

namespace {

// Record functions of the metafile format.
constexpr uint16_t kSetWindowOrg = 0x020B;
constexpr uint16_t kSetWindowExt = 0x020C;
constexpr uint16_t kSelectObject = 0x012D;
constexpr uint16_t kDeleteObject = 0x01F0;
constexpr uint16_t kCreatePen = 0x02FA;
constexpr uint16_t kCreateBrush = 0x02FC;
constexpr uint16_t kRectangle = 0x041B;
constexpr uint16_t kEllipse = 0x0418;
constexpr uint16_t kPolygon = 0x0324;

uint16_t Low(gfx::TColor c) { return uint16_t(c & 0xFFFF); }
uint16_t High(gfx::TColor c) { return uint16_t((c >> 16) & 0xFFFF); }

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

} // namespace

TMetafileWriter::TMetafileWriter(int32_t width, int32_t height) : width_(width), height_(height)
{
  Record(kSetWindowOrg, {0, 0});
  Record(kSetWindowExt, {uint16_t(height), uint16_t(width)});
}

void TMetafileWriter::Record(uint16_t function, const std::vector<uint16_t>& parameters)
{
  const uint32_t size = uint32_t(3 + parameters.size()); // in 16-bit words
  records_.push_back(uint16_t(size & 0xFFFF));
  records_.push_back(uint16_t(size >> 16));
  records_.push_back(function);
  records_.insert(records_.end(), parameters.begin(), parameters.end());
  largestRecord_ = std::max(largestRecord_, size);
}

void TMetafileWriter::DeleteSelectedObjects()
{
  // Objects take the lowest free slots; after deleting slots 0 and 1 the next
  // pen and brush land there again, so the table never grows past two.
  if (haveObjects_) {
    Record(kDeleteObject, {0});
    Record(kDeleteObject, {1});
  }
}

void TMetafileWriter::Brush(gfx::TColor colour)
{
  DeleteSelectedObjects();
  Record(kCreatePen, {0 /* solid */, 1, 0, Low(colour), High(colour)});
  Record(kCreateBrush, {0 /* solid */, Low(colour), High(colour), 0});
  Record(kSelectObject, {0});
  Record(kSelectObject, {1});
  haveObjects_ = true;
}

void TMetafileWriter::Rectangle(const gfx::TRect& r)
{
  Record(kRectangle, {uint16_t(r.Bottom), uint16_t(r.Right), uint16_t(r.Top), uint16_t(r.Left)});
}

void TMetafileWriter::Ellipse(const gfx::TRect& r)
{
  Record(kEllipse, {uint16_t(r.Bottom), uint16_t(r.Right), uint16_t(r.Top), uint16_t(r.Left)});
}

void TMetafileWriter::Polygon(const std::vector<gfx::TPoint>& points)
{
  std::vector<uint16_t> parameters{uint16_t(points.size())};
  for (const gfx::TPoint& p : points) {
    parameters.push_back(uint16_t(p.X));
    parameters.push_back(uint16_t(p.Y));
  }
  Record(kPolygon, parameters);
}

std::vector<uint8_t> TMetafileWriter::Finish()
{
  DeleteSelectedObjects();
  Record(0, {}); // end of file
  std::vector<uint8_t> out;
  // The placeable header: key, bounds in logical units and units per inch.
  const uint16_t header[] = {0xCDD7, 0x9AC6, 0, 0, 0, uint16_t(width_), uint16_t(height_), 96, 0, 0};
  uint16_t checksum = 0;
  for (uint16_t word : header) {
    Put16(out, word);
    checksum ^= word;
  }
  Put16(out, checksum);
  const uint32_t total = uint32_t(9 + records_.size());
  const uint16_t metaHeader[] = {1 /* memory */, 9, 0x0300, uint16_t(total & 0xFFFF), uint16_t(total >> 16),
                                 2 /* objects */, uint16_t(largestRecord_ & 0xFFFF), uint16_t(largestRecord_ >> 16), 0};
  for (uint16_t word : metaHeader)
    Put16(out, word);
  for (uint16_t word : records_)
    Put16(out, word);
  return out;
}

} // namespace artwork
