#include "gfx/Numeric.h"

#include <cmath>
#include <limits>

namespace gfx {

int32_t MulDiv(int32_t a, int32_t b, int32_t c) noexcept
{
  if (c == 0)
    return -1;
  const int64_t product = int64_t{a} * int64_t{b};
  const bool negative = (product < 0) != (c < 0);
  const uint64_t magnitude = product < 0 ? uint64_t(0) - uint64_t(product) : uint64_t(product);
  const uint64_t divisor = c < 0 ? uint64_t(0) - uint64_t(int64_t{c}) : uint64_t(c);
  const uint64_t rounded = (magnitude + divisor / 2) / divisor;
  if (rounded > uint64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1u : 0u))
    return -1;
  return negative ? int32_t(-int64_t(rounded)) : int32_t(rounded);
}

int64_t Round(double value) noexcept
{
  return static_cast<int64_t>(std::nearbyint(value));
}

} // namespace gfx
