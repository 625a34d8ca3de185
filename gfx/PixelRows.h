#pragma once
#include "gfx/Color.h"

#include <cstddef>
#include <cstdint>

namespace gfx {

// Row kernels of the stretch. A destination far larger than the caches is
// written with streaming stores (stream = true), which skip reading each
// destination line before overwriting it; StreamFence must then follow the
// last such row before the pixels are handed on.

// out[i] = in[cols[i]] for i < n, where every index lies in [0, inWidth) and
// the indices never decrease or never increase along the row (as the tables
// of a stretch do). Uses the processor's vector permutes where it has them.
void GatherRow(TPixel* out, const TPixel* in, size_t inWidth, const int32_t* cols, size_t n,
               bool stream = false) noexcept;
// memcpy of n pixels that do not overlap.
void CopyRow(TPixel* out, const TPixel* in, size_t n, bool stream = false) noexcept;
void StreamFence() noexcept;
// Whether a destination of this many bytes is written with streaming stores.
[[nodiscard]] bool ShouldStream(uint64_t bytes) noexcept;

// The plain loop, for comparison in tests and benchmarks.
void GatherRowScalar(TPixel* out, const TPixel* in, const int32_t* cols, size_t n) noexcept;

} // namespace gfx
