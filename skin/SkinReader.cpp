#include "skin/SkinReader.h"

#include "skin/AnsiText.h"
#include "skin/LZH.h"
#include "skin/SkinMessages.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

constexpr size_t kHeaderSize = 16;

int32_t ReadInt32(std::span<const uint8_t> bytes, size_t offset)
{
  uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k)
    if (offset + k < bytes.size())
      v |= uint32_t(bytes[offset + k]) << (8 * k);
  return int32_t(v);
}

} // namespace

std::vector<std::string> SplitLines(std::string_view text)
{
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos)
    text = text.substr(0, nul);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r')
      ++end;
    if (end < text.size() && text[end] == '\n')
      ++end;
    start = end;
  }
  return lines;
}

int32_t TSkinReader::FormatBlockSize(uint32_t formatCode)
{
  switch (formatCode) {
  case 20000: return 0;
  case 30000: return 256;
  case 40000: return 80;
  case 50000: return 48;
  case 60000: return 117;
  case 70000: return 69;
  default: return -1;
  }
}

void TSkinReader::Clear()
{
  names_.clear();
  sizes_.clear();
  offsets_.clear();
  data_.clear();
  formatCode_ = 0;
  nameListLength_ = 0;
}

bool TSkinReader::Open(std::span<const uint8_t> package)
{
  Clear();
  unpackedSize_ = ReadInt32(package, 0);
  if (unpackedSize_ > maxUnpackedSize_) {
    const int64_t declared = unpackedSize_;
    unpackedSize_ = 0;
    throw ESkinPackage("The skin package declares " + std::to_string(declared) +
                       " bytes of unpacked data, more than the " + std::to_string(maxUnpackedSize_) +
                       " bytes a skin may hold; the file is damaged or not a skin package");
  }
  std::vector<uint8_t> archive;
  if (unpackedSize_ > 0)
    archive = TLZH::DecodeBuffer(package.size() > 4 ? package.subspan(4) : std::span<const uint8_t>(), unpackedSize_);
  return OpenArchive(archive);
}

bool TSkinReader::OpenArchive(std::span<const uint8_t> archive)
{
  Clear();
  const uint32_t formatCode = uint32_t(ReadInt32(archive, 0));
  const int32_t blockSize = FormatBlockSize(formatCode);
  if (blockSize < 0) {
    ShowSkinMessage(kOlderSkinFileMessage);
    return false;
  }
  const size_t listStart = kHeaderSize + size_t(blockSize);
  if (archive.size() < listStart)
    throw ESkinPackage("The skin package is shorter than its header");

  const int32_t listLength = ReadInt32(archive, 4);
  if (listLength < 0 || size_t(listLength) > archive.size() - listStart)
    throw ESkinPackage("The skin package's list of file names runs past the end of the package");

  const auto listBytes = archive.subspan(listStart, size_t(listLength));
  const std::string listText = AnsiLowerCase(std::string_view(reinterpret_cast<const char*>(listBytes.data()), listBytes.size()));
  std::vector<std::string> names = SplitLines(listText);
  if (names.size() > kMaxFiles)
    throw ESkinPackage("The skin package lists " + std::to_string(names.size()) + " files; at most " +
                       std::to_string(kMaxFiles) + " are accepted");

  const size_t tableStart = listStart + size_t(listLength);
  if ((archive.size() - tableStart) / 4 < names.size())
    throw ESkinPackage("The skin package's table of file sizes runs past the end of the package");

  const size_t dataStart = tableStart + 4 * names.size();
  const size_t dataSize = archive.size() - dataStart;
  std::vector<int32_t> sizes(names.size());
  std::vector<size_t> offsets(names.size());
  size_t offset = 0;
  for (size_t k = 0; k < names.size(); ++k) {
    sizes[k] = ReadInt32(archive, tableStart + 4 * k);
    if (sizes[k] < 0)
      throw ESkinPackage("The skin package gives the file \"" + names[k] + "\" a negative size");
    if (size_t(sizes[k]) > dataSize - offset)
      throw ESkinPackage("The file \"" + names[k] + "\" runs past the end of the skin package");
    offsets[k] = offset;
    offset += size_t(sizes[k]);
  }

  names_ = std::move(names);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  data_.assign(archive.begin() + std::ptrdiff_t(dataStart), archive.end());
  formatCode_ = formatCode;
  nameListLength_ = listLength;
  return true;
}

std::span<const uint8_t> TSkinReader::FileBytes(size_t index) const
{
  return std::span<const uint8_t>(data_).subspan(offsets_[index], size_t(sizes_[index]));
}

void TSkinReader::ExtractByName(std::string_view name, std::vector<uint8_t>& out) const
{
  out.clear();
  const std::string wanted = AnsiLowerCase(name);
  for (size_t k = 0; k < names_.size(); ++k) {
    if (names_[k] == wanted) {
      const auto bytes = FileBytes(k);
      out.assign(bytes.begin(), bytes.end());
      return;
    }
  }
}

std::string TSkinReader::ExtractByPart(std::string_view text, std::vector<uint8_t>& out) const
{
  out.clear();
  for (size_t k = 0; k < names_.size(); ++k) {
    if (names_[k].find(text) != std::string::npos) {
      const auto bytes = FileBytes(k);
      out.assign(bytes.begin(), bytes.end());
      return names_[k];
    }
  }
  return {};
}

} // namespace skin
