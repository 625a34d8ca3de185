#include "app/CommandLine.h"

#include "framework/Streams.h"

#include <windows.h>

#include <shellapi.h>

std::vector<std::string> CommandLineParameters()
{
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> parameters;
  for (int i = 1; arguments && i < count; ++i)
    parameters.push_back(framework::WideToUtf8(arguments[i]));
  LocalFree(arguments);
  return parameters;
}

std::string ProgramFolder()
{
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()))) == path.size())
    path.resize(path.size() * 2);
  path.resize(length);
  path.erase(path.find_last_of(L"\\/") + 1);
  return framework::WideToUtf8(path);
}
