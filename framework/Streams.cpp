#include "framework/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace framework {

// ----- TStream --------------------------------------------------------------

int64_t TStream::Size()
{
  const int64_t here = Seek(0, soCurrent);
  const int64_t end = Seek(0, soEnd);
  Seek(here, soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, size_t count)
{
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t got = Read(out + done, count - done);
    if (got == 0)
      throw EReadError("Stream read error: " + std::to_string(count) + " bytes expected, " +
                       std::to_string(done) + " available");
    done += got;
  }
}

void TStream::WriteBuffer(const void* buffer, size_t count)
{
  const auto* in = static_cast<const uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t put = Write(in + done, count - done);
    if (put == 0)
      throw EWriteError("Stream write error");
    done += put;
  }
}

std::vector<uint8_t> TStream::ReadToEnd()
{
  const int64_t remaining = Size() - Position();
  std::vector<uint8_t> bytes(size_t(std::max<int64_t>(remaining, 0)));
  ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

std::vector<uint8_t> TStream::ReadBytes(size_t count)
{
  const int64_t remaining = Size() - Position();
  if (remaining < 0 || uint64_t(remaining) < count)
    throw EReadError("Stream read error: " + std::to_string(count) + " bytes expected, " +
                     std::to_string(std::max<int64_t>(remaining, 0)) + " available");
  std::vector<uint8_t> bytes(count);
  ReadBuffer(bytes.data(), count);
  return bytes;
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> block(size_t(std::min<int64_t>(std::max<int64_t>(count, 1), 1 << 16)));
  int64_t left = count;
  while (left > 0) {
    const size_t n = size_t(std::min<int64_t>(left, int64_t(block.size())));
    source.ReadBuffer(block.data(), n);
    WriteBuffer(block.data(), n);
    left -= int64_t(n);
  }
  return count;
}

uint8_t TStream::ReadUInt8()
{
  uint8_t v = 0;
  ReadBuffer(&v, 1);
  return v;
}

uint32_t TStream::ReadUInt32()
{
  uint8_t b[4];
  ReadBuffer(b, 4);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

void TStream::WriteUInt32(uint32_t value)
{
  const uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  WriteBuffer(b, 4);
}

// ----- TMemoryStream --------------------------------------------------------

size_t TMemoryStream::Read(void* buffer, size_t count)
{
  if (position_ >= data_.size())
    return 0;
  const size_t n = std::min(count, data_.size() - position_);
  std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count)
{
  if (count == 0)
    return 0;
  if (data_.size() < position_ + count)
    data_.resize(position_ + count);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
  int64_t base = 0;
  if (origin == soCurrent)
    base = int64_t(position_);
  else if (origin == soEnd)
    base = int64_t(data_.size());
  const int64_t target = base + offset;
  if (target < 0)
    throw EStreamError("Stream seek error: position " + std::to_string(target) + " is before the start");
  // Seeking past the end is allowed; a later write fills the gap with zeros.
  position_ = size_t(target);
  return target;
}

void TMemoryStream::SetSize(int64_t size)
{
  if (size < 0)
    throw EStreamError("Stream size cannot be negative");
  data_.resize(size_t(size));
  position_ = std::min(position_, data_.size());
}

void TMemoryStream::Clear() noexcept
{
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
  source.SetPosition(0);
  std::vector<uint8_t> bytes = source.ReadToEnd();
  data_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
  data_ = ReadFileBytes(fileName);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const
{
  target.WriteBuffer(data_.data(), data_.size());
}

void TMemoryStream::SaveToFile(const std::string& fileName) const
{
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ----- TFileStream ----------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : fileName_(fileName)
{
  const char* narrowMode = "rb";
  switch (mode) {
  case fmOpenRead:
    narrowMode = "rb";
    break;
  case fmOpenWrite:
  case fmOpenReadWrite:
    narrowMode = "r+b";
    break;
  case fmCreate:
    narrowMode = "w+b";
    break;
  }
  errno = 0;
#ifdef _WIN32
  const std::wstring wideMode = Utf8ToWide(narrowMode);
  file_ = _wfopen(Utf8ToWide(fileName).c_str(), wideMode.c_str());
#else
  file_ = std::fopen(fileName.c_str(), narrowMode);
#endif
  if (!file_) {
    const std::string reason = errno ? std::string(". ") + std::strerror(errno) : std::string();
    if (mode == fmCreate)
      throw EFCreateError("Cannot create file \"" + fileName + "\"" + reason);
    throw EFOpenError("Cannot open file \"" + fileName + "\"" + reason);
  }
}

TFileStream::~TFileStream()
{
  std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count)
{
  return std::fread(buffer, 1, count, file_);
}

size_t TFileStream::Write(const void* buffer, size_t count)
{
  return std::fwrite(buffer, 1, count, file_);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  const bool ok = _fseeki64(file_, offset, whence) == 0;
  const int64_t position = _ftelli64(file_);
#else
  const bool ok = fseeko(file_, off_t(offset), whence) == 0;
  const int64_t position = int64_t(ftello(file_));
#endif
  if (!ok || position < 0)
    throw EStreamError("Cannot seek in file \"" + fileName_ + "\"");
  return position;
}

void TFileStream::SetSize(int64_t size)
{
  std::fflush(file_);
#ifdef _WIN32
  const bool ok = _chsize_s(_fileno(file_), size) == 0;
#else
  const bool ok = ftruncate(fileno(file_), off_t(size)) == 0;
#endif
  if (!ok)
    throw EWriteError("Cannot change the size of file \"" + fileName_ + "\"");
}

std::vector<uint8_t> ReadFileBytes(const std::string& fileName)
{
  TFileStream file(fileName, fmOpenRead);
  const int64_t size = file.Size();
  if (size < 0 || uint64_t(size) > SIZE_MAX / 2)
    throw EReadError("File \"" + fileName + "\" is too large");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  try {
    file.ReadBuffer(bytes.data(), bytes.size());
  } catch (const EReadError&) {
    throw EReadError("Cannot read file \"" + fileName + "\"");
  }
  return bytes;
}

// ----- UTF-8 and UTF-16 -------------------------------------------------------

std::wstring Utf8ToWide(std::string_view text)
{
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const uint8_t c = uint8_t(text[i]);
    uint32_t cp = 0xFFFD;
    size_t length = 1;
    size_t need = 0;
    uint32_t min = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      need = 1;
      cp = c & 0x1F;
      min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      need = 2;
      cp = c & 0x0F;
      min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      need = 3;
      cp = c & 0x07;
      min = 0x10000;
    }
    if (need > 0) {
      bool ok = true;
      for (size_t k = 1; ok && k <= need; ++k) {
        if (i + k >= text.size() || (uint8_t(text[i + k]) & 0xC0) != 0x80)
          ok = false;
        else
          cp = (cp << 6) | (uint8_t(text[i + k]) & 0x3F);
      }
      if (ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF))
        length = need + 1;
      else
        cp = 0xFFFD;
    } else if (c >= 0x80) {
      cp = 0xFFFD;
    }
    i += length;
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(wchar_t(0xD800 + (cp >> 10)));
        out.push_back(wchar_t(0xDC00 + (cp & 0x3FF)));
        continue;
      }
    }
    out.push_back(wchar_t(cp));
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text)
{
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = uint32_t(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      cp &= 0xFFFF;
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && (uint32_t(text[i + 1]) & 0xFC00) == 0xDC00) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + ((uint32_t(text[i + 1]) & 0xFFFF) - 0xDC00);
        ++i;
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
      cp = 0xFFFD;
    if (cp < 0x80) {
      out.push_back(char(cp));
    } else if (cp < 0x800) {
      out.push_back(char(0xC0 | (cp >> 6)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(char(0xE0 | (cp >> 12)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (cp >> 18)));
      out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

} // namespace framework
