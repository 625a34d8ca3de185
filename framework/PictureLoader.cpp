#include "framework/PictureLoader.h"

#include <exception>
#include <utility>

namespace framework {

TPictureLoader::TPictureLoader(std::function<void()> notify)
  : notify_(std::move(notify)), worker_([this](std::stop_token stop) { Run(stop); })
{
}

// The thread is asked to stop and joined by its own destructor; it sees the
// stop between two files, so a load under way ends first.
TPictureLoader::~TPictureLoader() = default;

void TPictureLoader::Start(std::string fileName, TGraphic::TShowLimit limit, gfx::TColor background)
{
  {
    std::lock_guard lock(mutex_);
    request_ = TRequest{++ticket_, std::move(fileName), std::move(limit), background};
    result_.reset();
    pending_ = true;
  }
  wake_.notify_one();
}

bool TPictureLoader::Pending() const
{
  std::lock_guard lock(mutex_);
  return pending_;
}

bool TPictureLoader::Ready() const
{
  std::lock_guard lock(mutex_);
  return result_.has_value();
}

std::optional<TPictureLoader::TResult> TPictureLoader::Take()
{
  std::unique_lock lock(mutex_);
  if (!pending_)
    return std::nullopt;
  done_.wait(lock, [this] { return result_.has_value(); });
  pending_ = false;
  return std::exchange(result_, std::nullopt);
}

void TPictureLoader::Run(std::stop_token stop)
{
  std::unique_lock lock(mutex_);
  while (wake_.wait(lock, stop, [this] { return request_.has_value(); }) && !stop.stop_requested()) {
    TRequest request = std::move(*request_);
    request_.reset();
    lock.unlock();
    TResult result{request.FileName, nullptr, {}};
    try {
      result.Graphic = LoadGraphicFromFile(request.FileName, std::move(request.Limit), request.Background);
    } catch (const std::exception& error) {
      result.Error = error.what();
    }
    lock.lock();
    // A file started meanwhile replaces this one: its result is not wanted.
    if (request.Ticket != ticket_)
      continue;
    result_ = std::move(result);
    done_.notify_all();
    if (notify_) {
      lock.unlock();
      notify_();
      lock.lock();
    }
  }
}

} // namespace framework
