#include "gfx/Random.h"

#include <chrono>

namespace gfx {

uint32_t RandSeed = 0;

uint32_t Random(uint32_t range) noexcept
{
  RandSeed = RandSeed * 134775813u + 1u;
  return static_cast<uint32_t>((uint64_t{RandSeed} * uint64_t{range}) >> 32);
}

void Randomize() noexcept
{
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
  RandSeed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(ticks).count());
}

} // namespace gfx
