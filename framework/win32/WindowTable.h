#pragma once
// Objects of this process found from their windows. Window properties
// (SetProp/GetProp) would do the same, but a property look-up may be a round
// trip to the window server (under Wine it is one, some 20 microseconds), and
// the look-ups here happen on every message a window of ours receives. The
// table is a hash look-up in the process instead.
//
// Whoever adds a window removes it again when the window ends (at
// WM_NCDESTROY) or when the object lets the window go: unlike a property, an
// entry does not end with its window.
#include <windows.h>

#include <mutex>
#include <unordered_map>

namespace framework {

template <class T>
class TWindowTable {
public:
  // Windows may be made on any thread; the table outlives every window, so
  // it is made once and never destroyed.
  static TWindowTable& Instance()
  {
    static TWindowTable* table = new TWindowTable;
    return *table;
  }

  void Add(HWND window, T* object)
  {
    const std::lock_guard held(lock_);
    objects_[window] = object;
  }

  void Remove(HWND window)
  {
    const std::lock_guard held(lock_);
    objects_.erase(window);
  }

  [[nodiscard]] T* Find(HWND window) const
  {
    if (!window)
      return nullptr;
    const std::lock_guard held(lock_);
    const auto found = objects_.find(window);
    return found == objects_.end() ? nullptr : found->second;
  }

private:
  TWindowTable() = default;

  mutable std::mutex lock_;
  std::unordered_map<HWND, T*> objects_;
};

} // namespace framework
