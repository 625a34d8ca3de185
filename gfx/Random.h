#pragma once
#include <cstdint>

namespace gfx {

// The process-wide pseudo-random generator: a linear congruential sequence
// whose state is public, so that code may save, reseed and restore it and get
// the same numbers for the same seed on every platform.
extern uint32_t RandSeed;

// A value in 0 .. range - 1 (0 when range is 0). Advances RandSeed once.
uint32_t Random(uint32_t range) noexcept;

// Seeds the generator from the clock.
void Randomize() noexcept;

// Saves RandSeed and restores it when the scope ends, also on an exception.
class TRandSeedGuard {
public:
  TRandSeedGuard() noexcept : saved_(RandSeed) {}
  ~TRandSeedGuard() { RandSeed = saved_; }
  TRandSeedGuard(const TRandSeedGuard&) = delete;
  TRandSeedGuard& operator=(const TRandSeedGuard&) = delete;

private:
  uint32_t saved_;
};

} // namespace gfx
