#pragma once
#include <cstdint>

namespace effects {

// The process-wide generator's sequence, run on a private seed. The effects
// that reseed the generator with the new picture's handle for a frame and
// restore it afterwards see exactly the numbers this stream gives, without
// substituting the shared seed even for a moment: a draw on another thread
// during the frame keeps its own sequence.
class TSeededRandom {
public:
  static constexpr uint32_t kMultiplier = 134775813u;

  explicit constexpr TSeededRandom(uint32_t seed) noexcept : seed_(seed) {}

  // A value in 0 .. range - 1, as Random(range) after RandSeed = seed.
  constexpr uint32_t Next(uint32_t range) noexcept
  {
    Advance();
    return static_cast<uint32_t>((uint64_t{seed_} * uint64_t{range}) >> 32);
  }

  // Next(range) < limit, without the multiplication: the product's upper half
  // is below limit exactly when the new seed is below ceil(limit * 2^32 / range).
  // limit is at most range.
  constexpr bool NextBelow(uint64_t threshold) noexcept
  {
    Advance();
    return seed_ < threshold;
  }
  static constexpr uint64_t Threshold(uint32_t limit, uint32_t range) noexcept
  {
    return ((uint64_t{limit} << 32) + range - 1) / range;
  }

  constexpr void Advance() noexcept { seed_ = seed_ * kMultiplier + 1u; }
  [[nodiscard]] constexpr uint32_t Seed() const noexcept { return seed_; }

private:
  uint32_t seed_;
};

} // namespace effects
