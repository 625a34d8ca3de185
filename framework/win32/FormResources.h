#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/FormDescription.h"

// Form descriptions and the binary files they refer to are compiled into the
// executable as RCDATA resources by player_add_form_resources() (see
// cmake/Forms.cmake): each file becomes one resource named after the file,
// upper-cased ("TMAINFORM.FORM", "MAINFORM-SKIN.BIN"). A form of class
// TMainForm reads the resource "TMAINFORM.FORM".
namespace framework {

// A resource that a form description needs is missing.
class EResNotFound : public Exception {
public:
  using Exception::Exception;
};

// The bytes of the resource made from a file of that name, or false.
bool FindResourceFile(const std::string& fileName, std::vector<uint8_t>& data, HMODULE module = nullptr);
// The same, raising EResNotFound when there is none.
[[nodiscard]] std::vector<uint8_t> LoadResourceFile(const std::string& fileName, HMODULE module = nullptr);
// A loader for ReadComponentTree that takes the files from the resources.
[[nodiscard]] TBinaryLoader ResourceLoader(HMODULE module = nullptr);

} // namespace framework
