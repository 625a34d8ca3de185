#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace skinpack {

// Compresses data into the LZH bit stream that skin::TLZH decodes: the same
// ring, match lengths, adaptive Huffman model and position code. Matches are
// found through hash chains with one step of lazy evaluation.
[[nodiscard]] std::vector<uint8_t> EncodeLzh(std::span<const uint8_t> data);

} // namespace skinpack
