#pragma once
// How much of the process's heaps is handed out: the figure that tells a
// leak from a heap that keeps freed memory for later. Private memory counts
// both, and also what the heaps hold committed but free, which comes and goes
// with how the blocks of big pictures happened to fall.
#include <cstdint>

namespace framework {

// The bytes of every block the process's heaps (its own, the C runtime's and
// any a library made) have handed out and not yet taken back. Walks the
// heaps, each locked meanwhile: a few milliseconds for tens of thousands of
// blocks.
[[nodiscard]] int64_t HeapBytesInUse();

} // namespace framework
