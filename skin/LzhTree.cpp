#include "skin/LzhTree.h"

namespace skin {

using namespace lzh;

void TLzhTree::Start()
{
  for (int32_t i = 0; i < N_CHAR; ++i) {
    freq_[size_t(i)] = 1;
    son_[size_t(i)] = int16_t(i + T);
    prnt_[size_t(i + T)] = int16_t(i);
  }
  for (int32_t i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq_[size_t(j)] = uint16_t(freq_[size_t(i)] + freq_[size_t(i + 1)]);
    son_[size_t(j)] = int16_t(i);
    prnt_[size_t(i)] = prnt_[size_t(i + 1)] = int16_t(j);
  }
  freq_[T] = 0xFFFF; // sentinel: stops the upward search in Update
  prnt_[R] = 0;
}

void TLzhTree::Rebuild()
{
  // Leaves first, in their current order, with halved counts.
  int32_t j = 0;
  for (int32_t i = 0; i < T; ++i) {
    if (son_[size_t(i)] >= T) {
      freq_[size_t(j)] = uint16_t((freq_[size_t(i)] + 1u) / 2u);
      son_[size_t(j)] = son_[size_t(i)];
      ++j;
    }
  }
  // Then the internal nodes, each inserted where its count keeps the array
  // sorted; its children are always below the insertion point.
  for (int32_t i = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
    const uint32_t f = uint32_t(freq_[size_t(i)]) + freq_[size_t(i + 1)];
    int32_t k = jj;
    while (k > 0 && f < freq_[size_t(k - 1)])
      --k;
    for (int32_t m = jj; m > k; --m) {
      freq_[size_t(m)] = freq_[size_t(m - 1)];
      son_[size_t(m)] = son_[size_t(m - 1)];
    }
    freq_[size_t(k)] = uint16_t(f);
    son_[size_t(k)] = int16_t(i);
  }
  for (int32_t i = 0; i < T; ++i) {
    const int32_t k = son_[size_t(i)];
    if (k >= T) {
      prnt_[size_t(k)] = int16_t(i);
    } else {
      prnt_[size_t(k)] = prnt_[size_t(k + 1)] = int16_t(i);
    }
  }
}

void TLzhTree::Update(int32_t s)
{
  if (freq_[R] == MAX_FREQ)
    Rebuild();
  int32_t x = prnt_[size_t(s + T)];
  do {
    const uint16_t k = ++freq_[size_t(x)];
    if (k > freq_[size_t(x + 1)]) {
      // Move x behind the last node that still has a smaller count.
      int32_t l = x + 1;
      while (k > freq_[size_t(l + 1)])
        ++l;
      freq_[size_t(x)] = freq_[size_t(l)];
      freq_[size_t(l)] = k;

      const int32_t i = son_[size_t(x)];
      prnt_[size_t(i)] = int16_t(l);
      if (i < T)
        prnt_[size_t(i + 1)] = int16_t(l);

      const int32_t j = son_[size_t(l)];
      son_[size_t(l)] = int16_t(i);
      prnt_[size_t(j)] = int16_t(x);
      if (j < T)
        prnt_[size_t(j + 1)] = int16_t(x);
      son_[size_t(x)] = int16_t(j);

      x = l;
    }
    x = prnt_[size_t(x)];
  } while (x != 0);
}

} // namespace skin
