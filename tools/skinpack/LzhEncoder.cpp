#include "tools/skinpack/LzhEncoder.h"

#include "skin/LzhTree.h"

#include <algorithm>

namespace skinpack {

using namespace skin::lzh;

namespace {

// Writes bits most significant first; the last byte is padded with zeros,
// which the decoder also assumes past the end of its input.
class TBitWriter {
public:
  void Put(uint32_t value, int32_t bits)
  {
    for (int32_t k = bits - 1; k >= 0; --k) {
      acc_ = uint8_t((acc_ << 1) | ((value >> k) & 1u));
      if (++count_ == 8) {
        out_.push_back(acc_);
        acc_ = 0;
        count_ = 0;
      }
    }
  }
  std::vector<uint8_t> Finish()
  {
    if (count_ > 0)
      out_.push_back(uint8_t(acc_ << (8 - count_)));
    count_ = 0;
    acc_ = 0;
    return std::move(out_);
  }

private:
  std::vector<uint8_t> out_;
  uint8_t acc_ = 0;
  int32_t count_ = 0;
};

class TEncoder {
public:
  explicit TEncoder(std::span<const uint8_t> data)
  {
    // The decoder's ring starts with N - F spaces; matches may reach back
    // into them, so the search runs over the same prefix.
    text_.assign(size_t(N - F), uint8_t(' '));
    text_.insert(text_.end(), data.begin(), data.end());
    prev_.assign(text_.size(), -1);
    head_.assign(kHashSize, -1);
    for (size_t p = 0; p < size_t(N - F); ++p)
      Insert(p);
  }

  std::vector<uint8_t> Run()
  {
    size_t cur = size_t(N - F);
    while (cur < text_.size()) {
      const TMatch match = Find(cur);
      if (match.length > THRESHOLD && match.length < F && cur + 1 < text_.size()) {
        // One step of lazy evaluation: when the match starting one byte later
        // is longer, a literal now pays for itself.
        Insert(cur);
        if (Find(cur + 1).length > match.length) {
          PutSymbol(text_[cur]);
          ++cur;
          continue;
        }
      }
      if (match.length > THRESHOLD) {
        PutMatch(match);
        for (size_t k = 0; k < size_t(match.length); ++k)
          Insert(cur + k);
        cur += size_t(match.length);
      } else {
        PutSymbol(text_[cur]);
        Insert(cur);
        ++cur;
      }
    }
    return bits_.Finish();
  }

private:
  static constexpr size_t kHashBits = 15;
  static constexpr size_t kHashSize = size_t{1} << kHashBits;
  static constexpr int32_t kChainLimit = 256;

  struct TMatch {
    int32_t length = 0;
    int32_t distance = 0;
  };

  [[nodiscard]] size_t Hash(size_t p) const
  {
    const uint32_t v = uint32_t(text_[p]) | (uint32_t(text_[p + 1]) << 8) | (uint32_t(text_[p + 2]) << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  void Insert(size_t p)
  {
    if (p + 3 > text_.size() || inserted_ > p)
      return;
    const size_t h = Hash(p);
    prev_[p] = head_[h];
    head_[h] = int32_t(p);
    inserted_ = p + 1;
  }

  [[nodiscard]] TMatch Find(size_t cur) const
  {
    TMatch best;
    const int32_t maxLength = int32_t(std::min<size_t>(size_t(F), text_.size() - cur));
    if (maxLength <= THRESHOLD)
      return best;
    int32_t candidate = head_[Hash(cur)];
    // Positions at or after cur may already be in the chains (lazy search).
    while (candidate >= 0 && size_t(candidate) >= cur)
      candidate = prev_[size_t(candidate)];
    for (int32_t steps = 0; candidate >= 0 && steps < kChainLimit; ++steps) {
      const size_t p = size_t(candidate);
      if (cur - p > size_t(N))
        break;
      int32_t length = 0;
      while (length < maxLength && text_[p + size_t(length)] == text_[cur + size_t(length)])
        ++length;
      if (length > best.length) {
        best = {length, int32_t(cur - p)};
        if (length == maxLength)
          break;
      }
      candidate = prev_[p];
    }
    return best;
  }

  void PutSymbol(int32_t symbol)
  {
    // The code is the path from the root to the symbol's leaf; collect it
    // leaf upwards, then write it root first.
    uint32_t path[T];
    int32_t depth = 0;
    for (int32_t k = tree_.Parent(symbol + T); k != R; k = tree_.Parent(k))
      path[depth++] = uint32_t(k - tree_.Son(tree_.Parent(k)));
    while (depth > 0)
      bits_.Put(path[--depth], 1);
    tree_.Update(symbol);
  }

  void PutMatch(const TMatch& match)
  {
    PutSymbol(255 - THRESHOLD + match.length);
    const uint32_t position = uint32_t(match.distance - 1);
    const uint32_t upper = position >> 6;
    const int32_t prefixBits = kPositionTables.pLen[upper];
    bits_.Put(uint32_t(kPositionTables.pCode[upper]) >> (8 - prefixBits), prefixBits);
    bits_.Put(position & 63u, 6);
  }

  std::vector<uint8_t> text_;
  std::vector<int32_t> prev_;
  std::vector<int32_t> head_;
  size_t inserted_ = 0;
  skin::TLzhTree tree_;
  TBitWriter bits_;
};

} // namespace

std::vector<uint8_t> EncodeLzh(std::span<const uint8_t> data)
{
  return TEncoder(data).Run();
}

} // namespace skinpack
