#include "framework/win32/Subclass.h"

#include <memory>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/win32/Forms.h"
#include "framework/win32/WindowTable.h"

namespace framework {

namespace {

constexpr size_t kTop = size_t(-1);

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC CurrentProc(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

} // namespace

// The subclasses of one window, bottom first. All of them share one window
// procedure (SubclassProc), so a window carries it at most once for each run
// of our layers that no foreign subclass interrupts:
//
//   original <- A <- foreign F <- B <- C        (window procedure: SubclassProc)
//
// Each layer remembers the procedure that was current when it was installed:
// A the original, B the foreign F, C SubclassProc itself. Passing a message on
// from C goes straight to B; from B it calls F, which calls SubclassProc,
// which must then enter A: `enter` says so for that one call.
//
// A layer removed while the window's procedure or another subclass still
// refers to it stays in the list as a pass-through, and goes when the window
// is destroyed. Layers are only erased when no message is being handled, so a
// layer's index is stable while any of its handlers runs.
class TSubclassChain {
public:
  explicit TSubclassChain(HWND window) : window_(window) {}

  static TSubclassChain* Find(HWND window) { return Chains().Find(window); }

  static TSubclassChain& For(HWND window)
  {
    if (TSubclassChain* chain = Find(window))
      return *chain;
    auto chain = std::make_unique<TSubclassChain>(window);
    Chains().Add(window, chain.get());
    return *chain.release();
  }

  void Add(TSubclass& subclass)
  {
    WNDPROC previous = CurrentProc(window_);
    if (previous != &SubclassProc) {
      SetLastError(0);
      previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
      if (!previous || CurrentProc(window_) != &SubclassProc) {
        DropIfEmpty();
        throw Exception("Cannot subclass the window");
      }
    }
    layers_.push_back({&subclass, previous});
    subclass.window_ = window_;
    subclass.chain_ = this;
    subclass.layer_ = layers_.size() - 1;
  }

  void Remove(TSubclass& subclass)
  {
    layers_[subclass.layer_].owner = nullptr;
    subclass.window_ = nullptr;
    if (depth_ > 0) {
      // It may still pass on the message it is handling: it keeps its place
      // until the dispatch ends.
      leaving_.push_back(&subclass);
      return;
    }
    subclass.chain_ = nullptr;
    Compact();
  }

  void Forget(TSubclass& subclass) { std::erase(leaving_, &subclass); }

  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
  {
    size_t index = enter_ != kTop ? enter_ : layers_.size() - 1;
    enter_ = kTop;
    ++depth_;
    LRESULT result = 0;
    try {
      result = Run(index, message, wParam, lParam);
    } catch (...) {
      if (Application)
        Application->HandleException(nullptr);
    }
    --depth_;
    if (message == WM_NCDESTROY)
      destroyed_ = true;
    if (depth_ == 0) {
      if (destroyed_)
        Finish();
      else
        Compact();
    }
    return result;
  }

  LRESULT PassOn(size_t index, UINT message, WPARAM wParam, LPARAM lParam)
  {
    WNDPROC previous = layers_[index].previous;
    if (previous == &SubclassProc)
      return Run(index - 1, message, wParam, lParam);
    if (index == 0)
      return CallWindowProcW(previous, window_, message, wParam, lParam);
    // A foreign subclass sits below this layer; when it passes the message
    // on, it comes back through SubclassProc, which then enters the layer
    // below it.
    size_t saved = enter_;
    enter_ = index - 1;
    LRESULT result = CallWindowProcW(previous, window_, message, wParam, lParam);
    enter_ = saved;
    return result;
  }

private:
  static TWindowTable<TSubclassChain>& Chains() { return TWindowTable<TSubclassChain>::Instance(); }

  struct TLayer {
    TSubclass* owner; // nullptr: removed, passes everything on
    WNDPROC previous;
  };

  LRESULT Run(size_t index, UINT message, WPARAM wParam, LPARAM lParam)
  {
    if (TSubclass* owner = layers_[index].owner)
      return owner->WindowProc(message, wParam, lParam);
    return PassOn(index, message, wParam, lParam);
  }

  // Erases the removed layers that nothing refers to any more; the last one
  // gives the window its procedure back and frees the chain.
  void Compact()
  {
    for (TSubclass* subclass : leaving_)
      subclass->chain_ = nullptr;
    leaving_.clear();
    for (size_t i = layers_.size(); i-- > 0;) {
      if (layers_[i].owner)
        continue;
      bool top = i + 1 == layers_.size();
      if (layers_[i].previous == &SubclassProc) {
        // Below it is a layer of ours: whoever called into this one calls
        // into that one instead.
      } else if (top && CurrentProc(window_) == &SubclassProc) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(layers_[i].previous));
      } else if (!top && layers_[i + 1].previous == &SubclassProc) {
        layers_[i + 1].previous = layers_[i].previous;
      } else {
        continue; // a foreign procedure still calls into this layer
      }
      layers_.erase(layers_.begin() + std::ptrdiff_t(i));
    }
    for (size_t i = 0; i < layers_.size(); ++i)
      if (layers_[i].owner)
        layers_[i].owner->layer_ = i;
    DropIfEmpty();
  }

  // After WM_NCDESTROY: every subclass still installed is told, and the
  // window gives up the chain.
  void Finish()
  {
    std::vector<TSubclass*> owners;
    for (const TLayer& layer : layers_)
      if (layer.owner)
        owners.push_back(layer.owner);
    for (TSubclass* subclass : leaving_)
      subclass->chain_ = nullptr;
    if (!layers_.empty() && CurrentProc(window_) == &SubclassProc)
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(layers_.front().previous));
    Chains().Remove(window_);
    delete this;
    for (TSubclass* subclass : owners) {
      subclass->window_ = nullptr;
      subclass->chain_ = nullptr;
    }
    // A subclass may free itself when told; none is touched after that.
    for (TSubclass* subclass : owners)
      subclass->WindowDestroyed();
  }

  void DropIfEmpty()
  {
    if (!layers_.empty() || depth_ > 0)
      return;
    Chains().Remove(window_);
    delete this;
  }

  HWND window_;
  std::vector<TLayer> layers_;
  std::vector<TSubclass*> leaving_;
  size_t enter_ = kTop;
  int depth_ = 0;
  bool destroyed_ = false;
};

namespace {

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (TSubclassChain* chain = TSubclassChain::Find(window))
    return chain->Dispatch(message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TSubclass::~TSubclass()
{
  Remove();
  if (chain_)
    chain_->Forget(*this);
}

void TSubclass::Install(HWND window)
{
  if (window_)
    throw Exception("The subclass is already installed on a window");
  DWORD process = 0;
  if (!IsWindow(window) || (GetWindowThreadProcessId(window, &process), process != GetCurrentProcessId()))
    throw Exception("Cannot subclass a window of another process");
  if (chain_) // removed while its window was handling a message
    chain_->Forget(*this);
  chain_ = nullptr;
  TSubclassChain::For(window).Add(*this);
}

void TSubclass::Remove()
{
  if (window_)
    chain_->Remove(*this);
}

bool TSubclass::IsSubclassed(HWND window) { return TSubclassChain::Find(window) != nullptr; }

LRESULT TSubclass::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (!chain_)
    return 0; // the window is gone
  return chain_->PassOn(layer_, message, wParam, lParam);
}

} // namespace framework
