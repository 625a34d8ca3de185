#include "framework/win32/HeapUsage.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace framework {

namespace {

// A heap held still for a walk: no thread allocates from it or frees into it
// until the scope ends.
class THeapLock {
public:
  explicit THeapLock(HANDLE heap) noexcept : heap_(heap), locked_(HeapLock(heap) != FALSE) {}
  ~THeapLock()
  {
    if (locked_)
      HeapUnlock(heap_);
  }
  THeapLock(const THeapLock&) = delete;
  THeapLock& operator=(const THeapLock&) = delete;
  explicit operator bool() const noexcept { return locked_; }

private:
  HANDLE heap_;
  bool locked_;
};

int64_t BytesInUse(HANDLE heap)
{
  const THeapLock locked(heap);
  if (!locked)
    return 0;
  int64_t inUse = 0;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
      inUse += int64_t(entry.cbData);
  return inUse;
}

} // namespace

int64_t HeapBytesInUse()
{
  // A handful of heaps is usual; the array is on the stack so that counting
  // does not itself allocate from a heap it counts.
  std::array<HANDLE, 64> heaps{};
  const DWORD count = std::min<DWORD>(GetProcessHeaps(DWORD(heaps.size()), heaps.data()), DWORD(heaps.size()));
  int64_t inUse = 0;
  for (DWORD i = 0; i < count; ++i)
    inUse += BytesInUse(heaps[i]);
  return inUse;
}

} // namespace framework
