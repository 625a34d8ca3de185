#pragma once
#include <cstdint>

namespace gfx {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero, exactly as the platform's MulDiv. A zero divisor or
// a result that does not fit 32 bits answers -1, as the platform does.
[[nodiscard]] int32_t MulDiv(int32_t a, int32_t b, int32_t c) noexcept;

// Nearest integer, halves to even (banker's rounding).
[[nodiscard]] int64_t Round(double value) noexcept;

} // namespace gfx
