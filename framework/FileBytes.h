#pragma once
// The bytes of a picture file as an image holds them. They never change once
// read, so copies of an image share them instead of copying a file that may
// be many megabytes.
#include <cstdint>
#include <memory>
#include <vector>

namespace framework {

using TFileBytes = std::shared_ptr<const std::vector<uint8_t>>;

// The bytes of every image that holds none; never null.
[[nodiscard]] const TFileBytes& NoFileBytes();

[[nodiscard]] inline TFileBytes ShareFileBytes(std::vector<uint8_t> bytes)
{
  return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

} // namespace framework
