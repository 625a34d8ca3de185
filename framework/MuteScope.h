#pragma once
// The one guard that mutes a change notification for a scope. Whatever
// leaves the scope - return or exception - puts the notification back.
#include <utility>

namespace framework {

// For a notification callback (a std::function or an event): the callback is
// detached while the guard lives and attached again when it goes.
template <class T>
class [[nodiscard]] TMuteScope {
public:
  explicit TMuteScope(T& notification) : slot_(notification), saved_(std::move(notification)) { slot_ = T(); }
  ~TMuteScope() { slot_ = std::move(saved_); }
  TMuteScope(const TMuteScope&) = delete;
  TMuteScope& operator=(const TMuteScope&) = delete;

private:
  T& slot_;
  T saved_;
};

// For a flag the notifier checks ("updating", "filling"): raised (or set to
// the value given) while the guard lives, given its previous value back when
// it goes, so guards on one flag nest.
template <>
class [[nodiscard]] TMuteScope<bool> {
public:
  explicit TMuteScope(bool& flag, bool value = true) noexcept : flag_(flag), saved_(std::exchange(flag, value)) {}
  ~TMuteScope() { flag_ = saved_; }
  TMuteScope(const TMuteScope&) = delete;
  TMuteScope& operator=(const TMuteScope&) = delete;

private:
  bool& flag_;
  bool saved_;
};

} // namespace framework
