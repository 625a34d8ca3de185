#pragma once
// What the Win32 benchmarks share: a clock of the performance counter and
// handling the messages the thread has queued.
#include <windows.h>

namespace bench {

// Seconds since an arbitrary start, from the performance counter.
inline double NowSeconds()
{
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / frequency;
}

// Dispatches every message queued for the thread, without waiting.
inline void Pump()
{
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

} // namespace bench
