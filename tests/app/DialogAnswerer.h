#pragma once
// Answers the modal boxes of a process from a thread of its own, so that a
// test never waits on a box nobody presses: every visible dialog window of the
// process is recorded (caption and static texts) and its first matching
// button pressed. Works across processes too (the player started as a
// program), since it only reads window texts with time limits and posts clicks.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace apptest {

inline std::wstring WindowClass(HWND window)
{
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// The window's text, read without waiting on a thread that does not answer.
inline std::wstring WindowText(HWND window)
{
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 500, &length))
    return {};
  return std::wstring(text, length);
}

inline bool IsDialogClass(const std::wstring& cls) { return cls == L"#32770" || cls == L"TMessageForm"; }

struct TSeenDialog {
  std::wstring caption;
  std::vector<std::wstring> texts;
};

class TDialogAnswerer {
public:
  // Presses the first button whose caption is in answers (by default Cancel,
  // then OK) on every dialog of the given process.
  explicit TDialogAnswerer(DWORD processId = GetCurrentProcessId(),
                           std::vector<std::wstring> answers = {L"Cancel", L"OK"})
      : processId_(processId), answers_(std::move(answers)), thread_([this] { Watch(); })
  {
  }
  ~TDialogAnswerer()
  {
    stop_ = true;
    thread_.join();
  }
  TDialogAnswerer(const TDialogAnswerer&) = delete;
  TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

  [[nodiscard]] std::vector<TSeenDialog> Seen() const
  {
    std::lock_guard lock(mutex_);
    return seen_;
  }
  void Forget()
  {
    std::lock_guard lock(mutex_);
    seen_.clear();
  }

private:
  struct TSearch {
    TDialogAnswerer* self;
    std::vector<HWND> dialogs;
  };

  void Watch()
  {
    while (!stop_) {
      TSearch search{this, {}};
      EnumWindows(&TDialogAnswerer::CollectDialog, reinterpret_cast<LPARAM>(&search));
      for (HWND dialog : search.dialogs)
        Answer(dialog);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  static BOOL CALLBACK CollectDialog(HWND window, LPARAM data)
  {
    auto* search = reinterpret_cast<TSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->self->processId_ && IsWindowVisible(window) && IsDialogClass(WindowClass(window)))
      search->dialogs.push_back(window);
    return TRUE;
  }

  static BOOL CALLBACK CollectChild(HWND child, LPARAM data)
  {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
  }

  void Answer(HWND dialog)
  {
    if (dialog == lastAnswered_ && IsWindow(dialog))
      return; // pressed already; the box is closing
    std::vector<HWND> children;
    EnumChildWindows(dialog, &TDialogAnswerer::CollectChild, reinterpret_cast<LPARAM>(&children));
    TSeenDialog seen{WindowText(dialog), {}};
    HWND press = nullptr;
    for (const std::wstring& answer : answers_)
      for (HWND child : children)
        if (!press && _wcsicmp(WindowClass(child).c_str(), L"Button") == 0 && WindowText(child) == answer)
          press = child;
    for (HWND child : children) {
      if (_wcsicmp(WindowClass(child).c_str(), L"Static") == 0) {
        std::wstring text = WindowText(child);
        if (!text.empty())
          seen.texts.push_back(text);
      }
    }
    {
      std::lock_guard lock(mutex_);
      seen_.push_back(seen);
    }
    if (press) {
      PostMessageW(press, BM_CLICK, 0, 0);
      lastAnswered_ = dialog;
    }
  }

  const DWORD processId_;
  const std::vector<std::wstring> answers_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<TSeenDialog> seen_;
  HWND lastAnswered_ = nullptr;
  std::thread thread_;
};

} // namespace apptest
