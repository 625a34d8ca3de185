#pragma once
// A recursive mutex that gives back what the thread library allocated for it.
//
// Where the thread library offers a static initialiser for recursive mutexes
// (pthreads), std::recursive_mutex is built from it and its destructor does
// nothing. That is harmless where a mutex holds no memory of its own (glibc),
// but the Win32 pthreads of MinGW allocate a mutex's state on its first lock,
// and without a destroy call it stays behind when the mutex goes. Objects
// that come and go by the thousand (every canvas, every transition's images)
// would leak it one by one.
#include <mutex>
#include <pthread.h>
#include <type_traits>

namespace framework {

class TRecursiveMutex {
public:
  TRecursiveMutex() = default;
  ~TRecursiveMutex()
  {
    if constexpr (kReleasedByHand)
      pthread_mutex_destroy(mutex_.native_handle());
  }
  TRecursiveMutex(const TRecursiveMutex&) = delete;
  TRecursiveMutex& operator=(const TRecursiveMutex&) = delete;

  void lock() { mutex_.lock(); }
  [[nodiscard]] bool try_lock() noexcept { return mutex_.try_lock(); }
  void unlock() { mutex_.unlock(); }

private:
  // The standard type's own destructor releases nothing exactly when it is
  // trivial; a library whose destructor is not trivial destroys the mutex
  // itself, and a second destroy would be wrong.
  static constexpr bool kReleasedByHand =
    std::is_trivially_destructible_v<std::recursive_mutex> &&
    std::is_same_v<std::recursive_mutex::native_handle_type, pthread_mutex_t*>;

  std::recursive_mutex mutex_;
};

} // namespace framework
