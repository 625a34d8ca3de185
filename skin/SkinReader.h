#pragma once
#include "framework/Exceptions.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

// A package whose layout is damaged: sizes that cannot be true, lists or
// tables that run past the end of the data. The message says what is wrong.
class ESkinPackage : public framework::Exception {
public:
  using framework::Exception::Exception;
};

// Reads a skin package: a 32-bit unpacked size followed by an LZH stream that
// unpacks to an archive of named files (a header, a format block, a list of
// names, a table of sizes and the files back to back).
class TSkinReader {
public:
  // More files than this are refused.
  static constexpr size_t kMaxFiles = 1001;
  // Unpacked sizes above this are refused before anything is allocated.
  static constexpr int64_t kDefaultMaxUnpackedSize = int64_t{64} << 20;

  // Unpacks and parses a package. Returns false, after telling the user, when
  // the archive's format code is unknown (a package that unpacks to nothing
  // reads as format 0); throws ESkinPackage when the package is damaged. On
  // failure the reader is left empty.
  bool Open(std::span<const uint8_t> package);
  // The same for an archive that is already unpacked.
  bool OpenArchive(std::span<const uint8_t> archive);

  // Copies the first file whose name equals name, ignoring letter case, into
  // out; out is left empty when there is none.
  void ExtractByName(std::string_view name, std::vector<uint8_t>& out) const;
  // Copies the first file whose lower-cased name contains text into out and
  // returns that name; returns an empty name and empty out when none does.
  std::string ExtractByPart(std::string_view text, std::vector<uint8_t>& out) const;

  [[nodiscard]] const std::vector<std::string>& Names() const { return names_; }
  [[nodiscard]] const std::vector<int32_t>& Sizes() const { return sizes_; }
  [[nodiscard]] uint32_t FormatCode() const { return formatCode_; }
  [[nodiscard]] int32_t NameListLength() const { return nameListLength_; }
  // Everything after the size table, as the files' bytes back to back.
  [[nodiscard]] std::span<const uint8_t> Data() const { return data_; }
  // The unpacked size the last package declared.
  [[nodiscard]] int64_t UnpackedSize() const { return unpackedSize_; }

  // Lowers the bound on unpacked sizes (tools and fuzzing use a smaller one).
  void SetMaxUnpackedSize(int64_t bytes) { maxUnpackedSize_ = bytes; }

  // The size of the format block that follows the header, or -1 for a format
  // code we do not know.
  [[nodiscard]] static int32_t FormatBlockSize(uint32_t formatCode);

private:
  void Clear();
  [[nodiscard]] std::span<const uint8_t> FileBytes(size_t index) const;

  std::vector<std::string> names_;
  std::vector<int32_t> sizes_;
  std::vector<size_t> offsets_;
  std::vector<uint8_t> data_;
  uint32_t formatCode_ = 0;
  int32_t nameListLength_ = 0;
  int64_t unpackedSize_ = 0;
  int64_t maxUnpackedSize_ = kDefaultMaxUnpackedSize;
};

// Splits text into lines the way string lists do: CR LF, LF or CR end a line,
// a line end at the very end adds no empty line, and a NUL ends the text.
[[nodiscard]] std::vector<std::string> SplitLines(std::string_view text);

} // namespace skin
