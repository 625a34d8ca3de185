#pragma once
#include "framework/Exceptions.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Streams: a sequence of bytes with a position, read and written in blocks.
// File names are UTF-8 everywhere in the program; the file stream converts
// them to UTF-16 where the platform wants that, and is the one place where
// files are opened.
namespace framework {

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream {
public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Reads up to count bytes; answers how many were read (0 at the end).
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes count bytes; answers how many were written.
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Moves the position; answers the new position. Positions before the
  // start raise EStreamError.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(int64_t size) = 0;

  [[nodiscard]] int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  [[nodiscard]] int64_t Size();

  // Read or write exactly count bytes, or raise EReadError / EWriteError.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  void WriteBuffer(std::span<const uint8_t> bytes) { WriteBuffer(bytes.data(), bytes.size()); }
  // Everything from the position to the end.
  [[nodiscard]] std::vector<uint8_t> ReadToEnd();
  // Exactly count bytes, refusing counts beyond what the stream still holds
  // (so a corrupt length field cannot make us allocate gigabytes).
  [[nodiscard]] std::vector<uint8_t> ReadBytes(size_t count);
  // Copies count bytes from source's position; count 0 copies the whole
  // source from its start. Answers the number of bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);

  // Little-endian integers, as every format we stream stores them.
  [[nodiscard]] uint8_t ReadUInt8();
  [[nodiscard]] uint32_t ReadUInt32();
  void WriteUInt8(uint8_t value) { WriteBuffer(&value, 1); }
  void WriteUInt32(uint32_t value);
};

// A stream in memory, growing as it is written.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

  [[nodiscard]] const std::vector<uint8_t>& Memory() const noexcept { return data_; }
  [[nodiscard]] std::vector<uint8_t>& Memory() noexcept { return data_; }
  void Clear() noexcept;
  void LoadFromStream(TStream& source);
  void LoadFromFile(const std::string& fileName);
  void SaveToStream(TStream& target) const;
  void SaveToFile(const std::string& fileName) const;

private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

enum TFileMode : uint8_t {
  fmOpenRead,      // an existing file, read only
  fmOpenWrite,     // an existing file, write only
  fmOpenReadWrite, // an existing file, read and write
  fmCreate,        // a new or emptied file, read and write
};

// A file on disk. Opening failures raise EFOpenError (EFCreateError for
// fmCreate) with the file name and the system's reason.
class TFileStream : public TStream {
public:
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

  [[nodiscard]] const std::string& FileName() const noexcept { return fileName_; }

private:
  std::FILE* file_ = nullptr;
  std::string fileName_;
};

// The whole content of a file, read through TFileStream.
[[nodiscard]] std::vector<uint8_t> ReadFileBytes(const std::string& fileName);

// UTF-8 <-> UTF-16 for the platform boundary. Invalid UTF-8 sequences become
// U+FFFD, as do unpaired surrogates in the other direction.
[[nodiscard]] std::wstring Utf8ToWide(std::string_view text);
[[nodiscard]] std::string WideToUtf8(std::wstring_view text);

} // namespace framework
