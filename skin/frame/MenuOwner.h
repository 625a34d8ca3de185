#pragma once
// A menu made for one use (the skinned system menu), destroyed with its owner.
#include <windows.h>

#include <utility>

namespace skin {

class [[nodiscard]] TMenuOwner {
public:
  TMenuOwner() noexcept = default;
  explicit TMenuOwner(HMENU menu) noexcept : menu_(menu) {}
  ~TMenuOwner() { Reset(); }
  TMenuOwner(TMenuOwner&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  TMenuOwner& operator=(TMenuOwner&& other) noexcept
  {
    if (this != &other) {
      Reset();
      menu_ = std::exchange(other.menu_, nullptr);
    }
    return *this;
  }
  TMenuOwner(const TMenuOwner&) = delete;
  TMenuOwner& operator=(const TMenuOwner&) = delete;

  [[nodiscard]] HMENU Get() const noexcept { return menu_; }
  explicit operator bool() const noexcept { return menu_ != nullptr; }
  void Reset() noexcept
  {
    if (menu_)
      DestroyMenu(std::exchange(menu_, nullptr));
  }

private:
  HMENU menu_ = nullptr;
};

} // namespace skin
