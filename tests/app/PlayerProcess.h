#pragma once
// The player started as a program: a copy of player.exe sits next to the
// test (or benchmark) executable, with the sample "Photos" folder.
#include "tests/app/DialogAnswerer.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

namespace apptest {

inline std::wstring ProgramFolder()
{
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// A running player; closed (and killed if it does not close) on destruction.
class TPlayerProcess {
public:
  // parameters: the rest of the command line after the program name.
  explicit TPlayerProcess(const std::wstring& parameters)
  {
    std::wstring commandLine = L"\"" + ProgramFolder() + L"player.exe\"";
    if (!parameters.empty())
      commandLine += L" " + parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
      process_ = {};
  }
  ~TPlayerProcess()
  {
    if (!process_.hProcess)
      return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      Close();
      if (WaitForSingleObject(process_.hProcess, 20000) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  TPlayerProcess(const TPlayerProcess&) = delete;
  TPlayerProcess& operator=(const TPlayerProcess&) = delete;

  [[nodiscard]] bool Started() const { return process_.hProcess != nullptr; }
  [[nodiscard]] DWORD Id() const { return process_.dwProcessId; }
  [[nodiscard]] HANDLE Handle() const { return process_.hProcess; }
  [[nodiscard]] std::chrono::steady_clock::time_point StartTime() const { return started_; }

  // The visible top-level window of the given class, or nullptr.
  [[nodiscard]] HWND VisibleWindow(const std::wstring& cls) const
  {
    TWindowSearch search{process_.dwProcessId, cls, nullptr};
    EnumWindows(&MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Polls every few milliseconds until the window shows or the time is up;
  // each poll also calls the observer (for what shows in the meantime).
  template <typename TObserver>
  HWND WaitForWindow(const std::wstring& cls, int milliseconds, TObserver observe) const
  {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
      observe();
      if (HWND window = VisibleWindow(cls))
        return window;
      if (WaitForSingleObject(process_.hProcess, 10) == WAIT_OBJECT_0)
        return nullptr;
    }
    return nullptr;
  }
  HWND WaitForWindow(const std::wstring& cls, int milliseconds) const
  {
    return WaitForWindow(cls, milliseconds, [] {});
  }

  // Asks the main window to close; true when the program then ends with 0.
  bool Close(int milliseconds = 20000)
  {
    if (HWND main = VisibleWindow(L"TMainForm"))
      PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, DWORD(milliseconds)) != WAIT_OBJECT_0)
      return false;
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    return code == 0;
  }

private:
  struct TWindowSearch {
    DWORD process;
    const std::wstring& cls;
    HWND found;
  };

  // An enumeration callback: the platform's calling convention, not a lambda's.
  static BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM data)
  {
    auto* search = reinterpret_cast<TWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window) || WindowClass(window) != search->cls)
      return TRUE;
    search->found = window;
    return FALSE;
  }

  PROCESS_INFORMATION process_{};
  std::chrono::steady_clock::time_point started_;
};

} // namespace apptest
