#include "tools/skinpack/Archive.h"

#include "skin/SkinReader.h"
#include "tools/skinpack/LzhEncoder.h"

#include <limits>
#include <stdexcept>

namespace skinpack {

namespace {

void PutInt32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int32_t k = 0; k < 4; ++k)
    out.push_back(uint8_t(v >> (8 * k)));
}

} // namespace

std::vector<uint8_t> BuildArchive(std::span<const TPackFile> files, uint32_t formatCode)
{
  const int32_t blockSize = skin::TSkinReader::FormatBlockSize(formatCode);
  if (blockSize < 0)
    throw std::invalid_argument("unknown archive format code " + std::to_string(formatCode));
  if (files.size() > skin::TSkinReader::kMaxFiles)
    throw std::invalid_argument("a skin package holds at most " + std::to_string(skin::TSkinReader::kMaxFiles) +
                                " files");
  std::string names;
  size_t total = 0;
  for (const TPackFile& f : files) {
    if (f.Name.empty() || f.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
      throw std::invalid_argument("file name \"" + f.Name + "\" cannot be stored in a skin package");
    if (f.Bytes.size() > size_t(std::numeric_limits<int32_t>::max()))
      throw std::invalid_argument("file \"" + f.Name + "\" is too large for a skin package");
    names += f.Name;
    names += "\r\n";
    total += f.Bytes.size();
  }
  std::vector<uint8_t> out;
  out.reserve(16 + size_t(blockSize) + names.size() + 4 * files.size() + total);
  PutInt32(out, formatCode);
  PutInt32(out, uint32_t(names.size()));
  out.resize(out.size() + 8 + size_t(blockSize), 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const TPackFile& f : files)
    PutInt32(out, uint32_t(f.Bytes.size()));
  for (const TPackFile& f : files)
    out.insert(out.end(), f.Bytes.begin(), f.Bytes.end());
  if (out.size() > size_t(skin::TSkinReader::kDefaultMaxUnpackedSize))
    throw std::invalid_argument("the files are too large together for one skin package");
  return out;
}

std::vector<uint8_t> PackArchive(std::span<const uint8_t> archive)
{
  std::vector<uint8_t> out;
  PutInt32(out, uint32_t(archive.size()));
  const std::vector<uint8_t> stream = EncodeLzh(archive);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

std::vector<uint8_t> BuildPackage(std::span<const TPackFile> files, uint32_t formatCode)
{
  return PackArchive(BuildArchive(files, formatCode));
}

} // namespace skinpack
