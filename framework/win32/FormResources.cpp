#include "framework/win32/FormResources.h"

#include <algorithm>
#include <cctype>

#include "framework/win32/Graphics.h"

namespace framework {

bool FindResourceFile(const std::string& fileName, std::vector<uint8_t>& data, HMODULE module)
{
  std::string name = fileName;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  std::wstring wide = Utf8ToWide(name);
  HRSRC info = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
  if (!info)
    return false;
  HGLOBAL loaded = LoadResource(module, info);
  DWORD size = SizeofResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes && size != 0)
    return false;
  const auto* begin = static_cast<const uint8_t*>(bytes);
  data.assign(begin, begin + size);
  return true;
}

std::vector<uint8_t> LoadResourceFile(const std::string& fileName, HMODULE module)
{
  std::vector<uint8_t> data;
  if (!FindResourceFile(fileName, data, module))
    throw EResNotFound("Resource " + fileName + " not found");
  return data;
}

TBinaryLoader ResourceLoader(HMODULE module)
{
  return [module](const std::string& fileName) { return LoadResourceFile(fileName, module); };
}

} // namespace framework
