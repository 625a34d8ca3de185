#include "app/ProgramVersion.h"

#include <windows.h>

#include <cstring>

std::string ProgramVersion()
{
  HMODULE program = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
  const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes)
    return {};
  // The fixed part follows the block's header and key; it starts with its
  // signature on a 32-bit boundary.
  const DWORD size = SizeofResource(program, found);
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, bytes + at, sizeof info);
    if (info.dwSignature == 0xFEEF04BD)
      return std::to_string(HIWORD(info.dwFileVersionMS)) + "." + std::to_string(LOWORD(info.dwFileVersionMS)) + "." +
             std::to_string(HIWORD(info.dwFileVersionLS));
  }
  return {};
}
