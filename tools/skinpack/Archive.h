#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skinpack {

struct TPackFile {
  std::string Name;
  std::vector<uint8_t> Bytes;
};

// The unpacked archive: header (format code, name-list length, 8 unused
// bytes), the format block of zeros, the names one per CR LF line in the given
// order, their sizes, and the files back to back. Throws std::invalid_argument
// for an unknown format code, a name with a line break or an empty name.
[[nodiscard]] std::vector<uint8_t> BuildArchive(std::span<const TPackFile> files, uint32_t formatCode = 70000);

// A skin package: the archive's size followed by the archive in LZH form.
[[nodiscard]] std::vector<uint8_t> BuildPackage(std::span<const TPackFile> files, uint32_t formatCode = 70000);
[[nodiscard]] std::vector<uint8_t> PackArchive(std::span<const uint8_t> archive);

} // namespace skinpack
