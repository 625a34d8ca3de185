#pragma once
// Working memory that calls reuse from one to the next, whichever thread they
// run on, so that a frame allocates nothing once the largest frame has been
// drawn. A thread_local buffer does the same only for threads that live long
// and that the C++ runtime started: its destructor does not run when a thread
// the system started ends, and the multimedia timer that paces transitions
// may run each timer on a new system thread (Wine does), which then left its
// buffers behind with every transition. The pool keeps as many objects as
// calls ever held at once, until ReleaseIdleScratch lets go of those no call
// holds (a transition does when it ends), or the process ends.
#include <atomic>
#include <cstddef>
#include <thread>

namespace gfx {

// Frees the objects no call holds, in every pool. Memory then stays with the
// work in hand: a long run does not keep the most that any frame ever needed
// (the largest region, the most calls at once). Objects held stay and return
// to their pool as usual.
void ReleaseIdleScratch() noexcept;

namespace scratch_detail {

// A lock held for a pointer move or two, never across an allocation or a
// wait, so a spin costs less than a mutex would. (The release holds the list
// of pools while it frees their idle objects: pools are made once.)
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

// What ReleaseIdleScratch reaches. A pool enrols once it is whole and leaves
// before it is taken apart, so the release never meets half a pool.
struct TEnrolment {
  void (*ReleaseIdle)(void* pool) noexcept;
  void* Pool;
  TEnrolment* Next = nullptr;
};
void Enrol(TEnrolment& enrolment) noexcept;
void Leave(TEnrolment& enrolment) noexcept;

} // namespace scratch_detail

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

  TScratchPool() noexcept { scratch_detail::Enrol(enrolment_); }
  ~TScratchPool()
  {
    scratch_detail::Leave(enrolment_);
    DeleteAll(idle_);
  }
  TScratchPool(const TScratchPool&) = delete;
  TScratchPool& operator=(const TScratchPool&) = delete;

  TLease Acquire()
  {
    TNode* node = nullptr;
    {
      scratch_detail::TSpin held(busy_);
      node = idle_;
      if (node)
        idle_ = node->Next;
    }
    return TLease(*this, node ? node : new TNode);
  }

  // Objects waiting for the next lease.
  [[nodiscard]] size_t Idle()
  {
    scratch_detail::TSpin held(busy_);
    size_t count = 0;
    for (const TNode* node = idle_; node; node = node->Next)
      ++count;
    return count;
  }

private:
  void GiveBack(TNode* node) noexcept
  {
    scratch_detail::TSpin held(busy_);
    node->Next = idle_;
    idle_ = node;
  }

  static void ReleaseIdle(void* pool) noexcept
  {
    auto& self = *static_cast<TScratchPool*>(pool);
    TNode* idle = nullptr;
    {
      scratch_detail::TSpin held(self.busy_);
      idle = self.idle_;
      self.idle_ = nullptr;
    }
    DeleteAll(idle);
  }

  static void DeleteAll(TNode* node) noexcept
  {
    while (node) {
      TNode* next = node->Next;
      delete node;
      node = next;
    }
  }

  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  TNode* idle_ = nullptr;
  scratch_detail::TEnrolment enrolment_{&TScratchPool::ReleaseIdle, this};
};

} // namespace gfx
