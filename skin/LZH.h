#pragma once
#include "framework/Exceptions.h"
#include "skin/LzhTree.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace skin {

// Raised when the decoder's tables cannot be allocated.
class ElzhException : public framework::Exception {
public:
  using framework::Exception::Exception;
};

// Decoder of the skin package's LZH stream: LZ77 over a 4096-byte ring with
// matches of 3..60 bytes, literals and match lengths coded with an adaptive
// Huffman tree, match positions with a fixed prefix code.
//
// Input and output go through callbacks so that the caller decides where the
// bytes come from and where they go; the decoder reads and writes in blocks.
// Missing input reads as zero bits: a truncated stream still decodes to the
// requested size, and the output is then meaningless but harmless.
class TLZH {
public:
  // Reads up to buffer.size() bytes, returns how many it read (0 at the end).
  using TReadBytes = std::function<size_t(std::span<uint8_t> buffer)>;
  // Appends the bytes to the output.
  using TWriteBytes = std::function<void(std::span<const uint8_t> bytes)>;

  TLZH(TReadBytes reader, TWriteBytes writer);
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Decodes until at least count bytes have been written; the last match is
  // always written whole, so the output may run up to 59 bytes past count.
  // Returns the number of bytes written. count <= 0 writes nothing.
  int64_t Decode(int64_t count);

  // Convenience for in-memory data: the decoded bytes of a whole stream.
  [[nodiscard]] static std::vector<uint8_t> DecodeBuffer(std::span<const uint8_t> input, int64_t count);

private:
  struct TState;

  TReadBytes reader_;
  TWriteBytes writer_;
};

} // namespace skin
