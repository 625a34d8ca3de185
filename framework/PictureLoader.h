#pragma once
// Reads and decodes picture files on a thread of its own, so that the thread
// showing pictures does not wait for the next one.
#include "framework/Graphic.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace framework {

// One file at a time: Start hands the worker a file, Take collects what came
// of the file started last. Starting another file abandons the one before
// (a load under way is finished and its result dropped). Every member is
// called from one owning thread; only the notification runs on the worker.
class TPictureLoader {
public:
  // What came of a load: the graphic, or the message of the error that
  // loading the file raised on the worker.
  struct TResult {
    std::string FileName;
    std::unique_ptr<TGraphic> Graphic;
    std::string Error;
  };

  // notify, when given, runs on the worker thread after each load whose
  // result waits to be taken; the owner uses it to wake its own thread. It
  // must not call back into the loader.
  explicit TPictureLoader(std::function<void()> notify = {});
  // Waits for a load under way; a file not yet begun is not loaded.
  ~TPictureLoader();
  TPictureLoader(const TPictureLoader&) = delete;
  TPictureLoader& operator=(const TPictureLoader&) = delete;

  // Loads the file on the worker under the show limit, over the background
  // colour (see TGraphic::SetShowLimit and SetBackground).
  void Start(std::string fileName, TGraphic::TShowLimit limit, gfx::TColor background = gfx::clWhite);
  // A file was started and its result not yet taken.
  [[nodiscard]] bool Pending() const;
  // The result is there: Take will not wait.
  [[nodiscard]] bool Ready() const;
  // The result of the file started last, waiting for it when it is not there
  // yet; nothing when no file is pending.
  [[nodiscard]] std::optional<TResult> Take();

private:
  struct TRequest {
    uint64_t Ticket;
    std::string FileName;
    TGraphic::TShowLimit Limit;
    gfx::TColor Background;
  };
  void Run(std::stop_token stop);

  std::function<void()> notify_;
  mutable std::mutex mutex_;
  std::condition_variable_any wake_;
  std::condition_variable done_;
  std::optional<TRequest> request_;  // started, not yet begun by the worker
  std::optional<TResult> result_;    // of the ticket started last
  uint64_t ticket_ = 0;              // the ticket started last
  bool pending_ = false;             // a ticket started and not yet taken
  std::jthread worker_;              // last: it starts once the rest is built and stops first
};

} // namespace framework
