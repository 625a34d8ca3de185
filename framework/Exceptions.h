#pragma once
#include <stdexcept>
#include <string>

// The framework's exceptions. Every error the framework raises derives from
// Exception and carries a message meant for the user, so that the application's
// top-level handler can show Message() as it stands.
namespace framework {

class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  [[nodiscard]] std::string Message() const { return what(); }
};

// A stream or file could not be read or written after it was opened.
class EStreamError : public Exception {
public:
  using Exception::Exception;
};

// A file could not be opened; the message names the file.
class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

// A file could not be created for writing; the message names the file.
class EFCreateError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

// A stream ended before the data it promised.
class EReadError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

// Picture data that cannot be decoded, or a file of an unknown picture format.
class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};

// An operation the graphic's format does not allow (saving a format we cannot
// write, drawing a metafile where no platform renderer exists).
class EInvalidGraphicOperation : public Exception {
public:
  using Exception::Exception;
};

} // namespace framework
