#pragma once
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "gfx/PixelRows.h"
#include "gfx/Pixmap.h"
#include "gfx/StretchMap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx {

// A colour-on-colour stretch worked out once per call and then drawn row by
// row. Prepare decides which source column feeds every destination column
// and which source row every destination row (both tables are monotone, so
// the pixels that have a source form one rectangle, Drawn), how each row is
// made (a plain copy, a reversed copy or a gather through a prepared column
// plan), and how a stretch of a bitmap onto itself reads its source before
// overwriting it. The drawing context then hands DrawRow the rows of Drawn,
// in the order TopDown asks for, each with the clip spans that cut it.
//
// A plan keeps its tables and buffers from one call to the next, so a frame
// that stretches as the last one did allocates nothing. A plan belongs to
// one drawing context and is not thread-safe.
class TStretchPlan {
public:
  // Plans the stretch of source onto target over area (device coordinates,
  // inside target) along the two axes. Answers false when no pixel of area
  // has a source.
  bool Prepare(TPixmap& target, const TPixmap& source, const TRect& area, const TStretchAxis& columns,
               const TStretchAxis& rows);

  // Whether every pixel of Drawn has a source. The tables of a stretch never
  // leave a gap; should one, DrawRow cannot be used and the caller goes
  // pixel by pixel through SourceColumn and SourceRow.
  [[nodiscard]] bool Dense() const noexcept { return dense_; }
  // The destination pixels that have a source, and the source pixels read.
  [[nodiscard]] const TRect& Drawn() const noexcept { return drawn_; }
  [[nodiscard]] const TRect& Read() const noexcept { return read_; }
  // The source column (row) of destination column x (row y) of the planned
  // area, or -1 when it has none.
  [[nodiscard]] int32_t SourceColumn(int32_t x) const noexcept { return columnMap_[size_t(x - area_.Left)]; }
  [[nodiscard]] int32_t SourceRow(int32_t y) const noexcept { return rowMap_[size_t(y - area_.Top)]; }
  // The order the rows must come in: a self-stretch whose rows read rows
  // further up must be drawn from the top, else from the bottom (the order
  // of the bottom-up pixel memory).
  [[nodiscard]] bool TopDown() const noexcept { return topDown_; }

  // Draws one row of Drawn through the spans of a clip band (each cut to
  // [left, right)); the first call after Prepare starts the drawing.
  void DrawRow(int32_t row, const TRect* spans, size_t count, int32_t left, int32_t right);
  // Ends the drawing: the pixels stored past the cache are in memory before
  // anyone else reads them.
  void Finish() noexcept;

private:
  enum class TColumnKind : uint8_t { Identity, Reversed, Gather };
  // How a self-stretch keeps reading the source as it was: not at all (two
  // bitmaps, or rectangles that do not meet), through a copy of the
  // rectangle read, or by walking the rows away from the overlap with a row
  // that reads itself going through a one-row buffer, or gathered in place
  // when every column reads at or right of itself (walking the row forward)
  // or at or left of itself (backward).
  enum class TSelfRead : uint8_t { Apart, Aside, OwnRowBuffered, OwnRowForward, OwnRowBackward };

  void PlanSelfRead();
  [[nodiscard]] const TPixel* SourceRowPixels(int32_t row, int32_t sourceRow, bool wholeRow);
  void DrawWholeRow(TPixel* to, const TPixel* in, bool backward);
  void DrawRun(TPixel* to, const TPixel* in, int32_t from, size_t n) const noexcept;
  void RepeatRow(TPixel* out, const TRect* spans, size_t count, int32_t left, int32_t right) const noexcept;

  TPixmap* target_ = nullptr;
  const TPixmap* source_ = nullptr;
  TRect area_;
  TRect drawn_;
  TRect read_;
  bool dense_ = true;
  bool topDown_ = false;
  TColumnKind kind_ = TColumnKind::Identity;
  TSelfRead selfRead_ = TSelfRead::Apart;
  // Whole rows of large enlargements are made in a staging row and stored
  // past the cache, as often as the row repeats: nothing reads them soon,
  // and the processor need not read every destination line before writing
  // it. Where rows do not repeat, the extra pass through the staging row
  // costs what it saves. Rows through clip spans and rows of self-stretches
  // are drawn in place.
  bool streamRows_ = false;

  // The source of every column and row of the area; the columns of Drawn
  // again relative to Read's left edge, as a row of Read is indexed.
  std::vector<int32_t> columnMap_;
  std::vector<int32_t> rowMap_;
  std::vector<int32_t> drawnColumns_;
  TGatherPlan gatherPlan_;
  bool gatherReady_ = false;
  std::vector<TPixel> rowBuffer_;
  std::vector<TPixel> aside_;
  bool asideReady_ = false;
  std::vector<TPixel> staging_;
  bool staged_ = false; // the row drawn last went through staging_

  // The row drawn last from its source row through which clip spans: the
  // rows after it that read the same source row through the same spans
  // repeat it.
  const TRect* lastSpans_ = nullptr;
  int32_t lastSource_ = -1;
  int32_t lastRow_ = 0;
};

} // namespace gfx
