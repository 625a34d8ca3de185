#pragma once
// Working memory that calls reuse from one to the next, whichever thread they
// run on, so that a frame allocates nothing once the largest frame has been
// drawn. A thread_local buffer does the same only for threads that live long
// and that the C++ runtime started: its destructor does not run when a thread
// the system started ends, and the multimedia timer that paces transitions
// may run each timer on a new system thread (Wine does), which then left its
// buffers behind with every transition. The pool keeps as many objects as
// calls ever held at once, and frees them when the process ends.
#include <atomic>
#include <cstddef>
#include <thread>

namespace gfx {

template <class T>
class TScratchPool {
  struct TNode {
    T Object{};
    TNode* Next = nullptr;
  };

public:
  // One object of the pool for a scope; handed back, contents and capacity
  // kept, when the lease ends, also when an error passes through.
  class [[nodiscard]] TLease {
  public:
    TLease(TScratchPool& pool, TNode* node) noexcept : pool_(pool), node_(node) {}
    ~TLease() { pool_.GiveBack(node_); }
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;

    T& operator*() const noexcept { return node_->Object; }
    T* operator->() const noexcept { return &node_->Object; }

  private:
    TScratchPool& pool_;
    TNode* node_;
  };

  TScratchPool() = default;
  ~TScratchPool()
  {
    while (TNode* node = idle_) {
      idle_ = node->Next;
      delete node;
    }
  }
  TScratchPool(const TScratchPool&) = delete;
  TScratchPool& operator=(const TScratchPool&) = delete;

  TLease Acquire()
  {
    TNode* node = nullptr;
    {
      TSpin held(busy_);
      node = idle_;
      if (node)
        idle_ = node->Next;
    }
    return TLease(*this, node ? node : new TNode);
  }

  // Objects waiting for the next lease.
  [[nodiscard]] size_t Idle()
  {
    TSpin held(busy_);
    size_t count = 0;
    for (const TNode* node = idle_; node; node = node->Next)
      ++count;
    return count;
  }

private:
  // The list is locked for a pointer move or two, never across an
  // allocation or a wait, so a spin costs less than a mutex would.
  class TSpin {
  public:
    explicit TSpin(std::atomic_flag& flag) noexcept : flag_(flag)
    {
      while (flag_.test_and_set(std::memory_order_acquire))
        std::this_thread::yield();
    }
    ~TSpin() { flag_.clear(std::memory_order_release); }
    TSpin(const TSpin&) = delete;
    TSpin& operator=(const TSpin&) = delete;

  private:
    std::atomic_flag& flag_;
  };

  void GiveBack(TNode* node) noexcept
  {
    TSpin held(busy_);
    node->Next = idle_;
    idle_ = node;
  }

  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  TNode* idle_ = nullptr;
};

} // namespace gfx
