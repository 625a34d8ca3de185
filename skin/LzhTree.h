#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace skin {

// The adaptive Huffman model shared by the LZH decoder and the packer's
// encoder. Both sides must update it identically after every symbol, so it
// lives in one place.
//
// Symbols 0..255 are literal bytes, 256..313 are match lengths 3..60. The tree
// is kept in an array ordered by frequency: node i's children are son[i] and
// son[i] + 1, a leaf stores symbol + T in son, and prnt[symbol + T] names the
// leaf of each symbol.
namespace lzh {

constexpr int32_t N = 4096;          // ring buffer size
constexpr int32_t F = 60;            // longest match
constexpr int32_t THRESHOLD = 2;     // matches shorter than THRESHOLD + 1 are literals
constexpr int32_t N_CHAR = 256 - THRESHOLD + F;
constexpr int32_t T = 2 * N_CHAR - 1;
constexpr int32_t R = T - 1;
constexpr uint32_t MAX_FREQ = 0x8000;

// A match position's upper six bits are coded with a variable-length prefix:
// dCode maps the first byte read to those bits and dLen gives the total number
// of prefix bits. Both tables come from the run lengths below.
struct TPositionTables {
  std::array<uint8_t, 256> dCode{};
  std::array<uint8_t, 256> dLen{};
  // The encoder's view: for upper bits u, the prefix (left-aligned in a byte)
  // and its length.
  std::array<uint8_t, 64> pCode{};
  std::array<uint8_t, 64> pLen{};
};

constexpr TPositionTables MakePositionTables()
{
  // (first upper value, count of upper values, bytes per value, prefix bits)
  constexpr int32_t groups[6][4] = {
    {0, 1, 32, 3}, {1, 3, 16, 4}, {4, 8, 8, 5}, {12, 12, 4, 6}, {24, 24, 2, 7}, {48, 16, 1, 8},
  };
  TPositionTables t;
  int32_t byte = 0;
  for (const auto& g : groups) {
    for (int32_t u = g[0]; u < g[0] + g[1]; ++u) {
      t.pCode[size_t(u)] = uint8_t(byte);
      t.pLen[size_t(u)] = uint8_t(g[3]);
      for (int32_t k = 0; k < g[2]; ++k, ++byte) {
        t.dCode[size_t(byte)] = uint8_t(u);
        t.dLen[size_t(byte)] = uint8_t(g[3]);
      }
    }
  }
  return t;
}

inline constexpr TPositionTables kPositionTables = MakePositionTables();

} // namespace lzh

class TLzhTree {
public:
  TLzhTree() { Start(); }

  // The initial tree: every symbol with count 1, pairs joined bottom-up.
  void Start();
  // Counts one more occurrence of symbol s and restores the ordering.
  void Update(int32_t s);

  [[nodiscard]] int32_t Son(int32_t node) const { return son_[size_t(node)]; }
  [[nodiscard]] int32_t Parent(int32_t node) const { return prnt_[size_t(node)]; }
  [[nodiscard]] uint16_t Freq(int32_t node) const { return freq_[size_t(node)]; }

private:
  // Halves every count and rebuilds the tree from the leaves once the root's
  // count reaches MAX_FREQ, so counts stay within 16 bits.
  void Rebuild();

  std::array<uint16_t, lzh::T + 1> freq_{};
  std::array<int16_t, lzh::T> son_{};
  std::array<int16_t, lzh::T + lzh::N_CHAR> prnt_{};
};

} // namespace skin
