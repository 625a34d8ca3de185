#include "app/PicturePrefetch.h"

namespace {
// Posted by the worker: a result waits. A notice that arrives after the
// result was taken, or after another file was started, finds nothing ready
// and is dropped.
constexpr UINT WM_PICTURE_READY = WM_APP + 0x50;
} // namespace

TPicturePrefetch::TPicturePrefetch(std::function<void()> onReady)
  : onReady_(std::move(onReady)),
    window_([this](UINT message, WPARAM, LPARAM) {
      if (message == WM_PICTURE_READY && loader_.Ready() && onReady_)
        onReady_();
    }),
    loader_([this] { window_.Post(WM_PICTURE_READY); })
{
}

void TPicturePrefetch::Start(std::string fileName, framework::TGraphic::TShowLimit limit,
                             gfx::TColor background)
{
  loader_.Start(std::move(fileName), std::move(limit), background);
}
