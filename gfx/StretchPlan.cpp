#include "gfx/StretchPlan.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace {

// Destinations at least this large are not kept in the cache anyway.
constexpr size_t kStreamingBytes = size_t{16} << 20;

// Asks for pixels to be brought into the cache ahead of use. The rows a
// stretch reads are often parts of rows, or rows out of memory order, and
// the processor's own prefetching only follows each after a few misses; the
// stretch asks for the next row's source while it draws the current row.
void PrefetchRow(const TPixel* row, size_t count) noexcept
{
  const char* bytes = reinterpret_cast<const char*>(row);
  for (size_t at = 0; at < count * sizeof(TPixel); at += 64)
    __builtin_prefetch(bytes + at);
}

// The entries of a source table that have a source: [First, Last), the
// smallest and largest source index among them, and whether any entry in
// between lacks one.
struct TSourceRun {
  int32_t First = 0;
  int32_t Last = 0;
  int32_t Min = 0;
  int32_t Max = -1;
  bool Contiguous = true;
  [[nodiscard]] bool IsEmpty() const noexcept { return Last <= First; }
};

TSourceRun FindSourceRun(const std::vector<int32_t>& table) noexcept
{
  TSourceRun run;
  const int32_t n = int32_t(table.size());
  while (run.First < n && table[size_t(run.First)] < 0)
    ++run.First;
  run.Last = n;
  while (run.Last > run.First && table[size_t(run.Last) - 1] < 0)
    --run.Last;
  if (run.IsEmpty())
    return run;
  run.Min = table[size_t(run.First)];
  run.Max = run.Min;
  for (int32_t k = run.First; k < run.Last; ++k) {
    const int32_t v = table[size_t(k)];
    if (v < 0) {
      run.Contiguous = false;
      continue;
    }
    run.Min = std::min(run.Min, v);
    run.Max = std::max(run.Max, v);
  }
  return run;
}

} // namespace

bool TStretchPlan::Prepare(TPixmap& target, const TPixmap& source, const TRect& area, const TStretchAxis& columns,
                           const TStretchAxis& rows)
{
  target_ = &target;
  source_ = &source;
  area_ = area;
  StretchSourceTable(columns, area.Left, area.Right, source.Width(), columnMap_);
  StretchSourceTable(rows, area.Top, area.Bottom, source.Height(), rowMap_);
  const TSourceRun across = FindSourceRun(columnMap_);
  const TSourceRun down = FindSourceRun(rowMap_);
  if (across.IsEmpty() || down.IsEmpty())
    return false;
  read_ = {across.Min, down.Min, across.Max + 1, down.Max + 1};
  drawn_ = {area.Left + across.First, area.Top + down.First, area.Left + across.Last, area.Top + down.Last};
  dense_ = across.Contiguous && down.Contiguous;
  if (!dense_)
    return true;

  const size_t width = size_t(drawn_.Width());
  drawnColumns_.resize(width);
  bool identity = true, reversed = true;
  for (size_t i = 0; i < width; ++i) {
    drawnColumns_[i] = columnMap_[size_t(across.First) + i] - read_.Left;
    if (i > 0) {
      identity = identity && drawnColumns_[i] == drawnColumns_[i - 1] + 1;
      reversed = reversed && drawnColumns_[i] == drawnColumns_[i - 1] - 1;
    }
  }
  kind_ = identity ? TColumnKind::Identity : reversed ? TColumnKind::Reversed : TColumnKind::Gather;
  gatherReady_ = false;
  lastSpans_ = nullptr;
  lastSource_ = -1;
  streamRows_ = drawn_.Height() > read_.Height() &&
                width * size_t(drawn_.Height()) * sizeof(TPixel) >= kStreamingBytes;
  if (streamRows_)
    staging_.resize(width);
  staged_ = false;
  PlanSelfRead();
  return true;
}

// A self-stretch must behave as if the whole source were read first. When
// every row reads a row at or below itself (or at or above), walking the rows
// from the bottom (or the top) never reads a row already written, and only a
// row that reads itself needs care. Otherwise the rectangle read is copied
// aside. Without overlap nothing is copied.
void TStretchPlan::PlanSelfRead()
{
  topDown_ = false;
  selfRead_ = TSelfRead::Apart;
  if (source_->Bits() != target_->Bits() || !read_.Intersects(drawn_))
    return;
  const int32_t* rowSource = rowMap_.data() + (drawn_.Top - area_.Top);
  bool downward = true, upward = true;
  for (int32_t k = 0; k < drawn_.Height(); ++k) {
    downward = downward && rowSource[k] >= drawn_.Top + k;
    upward = upward && rowSource[k] <= drawn_.Top + k;
  }
  const size_t readWidth = size_t(read_.Width());
  if (!downward && !upward) {
    selfRead_ = TSelfRead::Aside;
    asideReady_ = false;
    return;
  }
  topDown_ = downward && !upward; // memory order when either will do
  rowBuffer_.resize(readWidth);
  selfRead_ = TSelfRead::OwnRowBuffered;
  if (kind_ != TColumnKind::Gather)
    return;
  bool rightward = true, leftward = true;
  for (size_t i = 0; i < drawnColumns_.size(); ++i) {
    const int64_t from = int64_t(drawnColumns_[i]) + read_.Left;
    const int64_t to = int64_t(drawn_.Left) + int64_t(i);
    rightward = rightward && from >= to;
    leftward = leftward && from <= to;
  }
  if (rightward)
    selfRead_ = TSelfRead::OwnRowForward;
  else if (leftward)
    selfRead_ = TSelfRead::OwnRowBackward;
}

// Where a row's source pixels are read from: the copy aside, the row buffer
// (a row that reads itself and cannot be gathered in place), or the source.
const TPixel* TStretchPlan::SourceRowPixels(int32_t row, int32_t sourceRow, bool wholeRow)
{
  const size_t readWidth = size_t(read_.Width());
  switch (selfRead_) {
  case TSelfRead::Apart:
    break;
  case TSelfRead::Aside:
    if (!asideReady_) {
      // Copied when the drawing starts, before any row is written.
      aside_.resize(readWidth * size_t(read_.Height()));
      for (int32_t r = read_.Top; r < read_.Bottom; ++r)
        std::memcpy(aside_.data() + size_t(r - read_.Top) * readWidth, source_->ScanLine(r) + read_.Left,
                    readWidth * sizeof(TPixel));
      asideReady_ = true;
    }
    return aside_.data() + size_t(sourceRow - read_.Top) * readWidth;
  case TSelfRead::OwnRowForward:
  case TSelfRead::OwnRowBackward:
    if (wholeRow)
      break;
    [[fallthrough]];
  case TSelfRead::OwnRowBuffered:
    if (sourceRow == row) {
      std::memcpy(rowBuffer_.data(), source_->ScanLine(sourceRow) + read_.Left, readWidth * sizeof(TPixel));
      return rowBuffer_.data();
    }
    break;
  }
  return source_->ScanLine(sourceRow) + read_.Left;
}

void TStretchPlan::DrawRow(int32_t row, const TRect* spans, size_t count, int32_t left, int32_t right)
{
  const int32_t sourceRow = rowMap_[size_t(row - area_.Top)];
  TPixel* out = target_->ScanLine(row);
  if (sourceRow == lastSource_ && spans == lastSpans_) {
    // The same source row through the same spans: the row drawn from it is
    // final output, never a source of later rows, and is repeated.
    RepeatRow(out, spans, count, left, right);
    return;
  }
  const bool wholeRow = count == 1 && spans[0].Left <= left && spans[0].Right >= right;
  const TPixel* in = SourceRowPixels(row, sourceRow, wholeRow);
  const int32_t nextRow = row + (topDown_ ? 1 : -1);
  if (selfRead_ != TSelfRead::Aside && nextRow >= drawn_.Top && nextRow < drawn_.Bottom) {
    const int32_t nextSource = rowMap_[size_t(nextRow - area_.Top)];
    if (nextSource != sourceRow)
      PrefetchRow(source_->ScanLine(nextSource) + read_.Left, size_t(read_.Width()));
  }
  staged_ = streamRows_ && wholeRow && selfRead_ == TSelfRead::Apart;
  if (staged_) {
    // Made in a row that stays in the cache, then stored past it.
    DrawWholeRow(staging_.data(), in, false);
    StreamRow(out + drawn_.Left, staging_.data(), staging_.size());
  } else if (wholeRow) {
    DrawWholeRow(out + drawn_.Left, in, selfRead_ == TSelfRead::OwnRowBackward && sourceRow == row);
  } else {
    for (size_t k = 0; k < count; ++k) {
      const int32_t l = std::max(spans[k].Left, left);
      DrawRun(out + l, in, l, size_t(std::min(spans[k].Right, right) - l));
    }
  }
  lastSpans_ = spans;
  lastSource_ = sourceRow;
  lastRow_ = row;
}

void TStretchPlan::DrawWholeRow(TPixel* to, const TPixel* in, bool backward)
{
  if (kind_ != TColumnKind::Gather) {
    DrawRun(to, in, drawn_.Left, size_t(drawn_.Width()));
    return;
  }
  // The prepared plan serves every whole row of a gather.
  if (!gatherReady_) {
    gatherPlan_.Prepare(drawnColumns_.data(), drawnColumns_.size(), size_t(read_.Width()));
    gatherReady_ = true;
  }
  gatherPlan_.Apply(to, in, backward);
}

// Destination columns [from, from + n) into to[0..n): a copy, a reversed copy
// or a gather, as the column table allows.
void TStretchPlan::DrawRun(TPixel* to, const TPixel* in, int32_t from, size_t n) const noexcept
{
  const int32_t* cols = drawnColumns_.data() + (from - drawn_.Left);
  switch (kind_) {
  case TColumnKind::Identity:
    std::memcpy(to, in + cols[0], n * sizeof(TPixel));
    break;
  case TColumnKind::Reversed:
    ReverseRow(to, in + cols[0], n);
    break;
  case TColumnKind::Gather:
    GatherRow(to, in, size_t(read_.Width()), cols, n);
    break;
  }
}

void TStretchPlan::RepeatRow(TPixel* out, const TRect* spans, size_t count, int32_t left, int32_t right) const noexcept
{
  if (staged_) {
    StreamRow(out + drawn_.Left, staging_.data(), staging_.size());
    return;
  }
  const TPixel* again = target_->ScanLine(lastRow_);
  for (size_t k = 0; k < count; ++k) {
    const int32_t l = std::max(spans[k].Left, left);
    std::memcpy(out + l, again + l, size_t(std::min(spans[k].Right, right) - l) * sizeof(TPixel));
  }
}

void TStretchPlan::Finish() noexcept
{
  if (streamRows_)
    StreamFence();
}

} // namespace gfx
