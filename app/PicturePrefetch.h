#pragma once
// The player's next picture, read and decoded on a worker thread while the
// current one shows. The worker is framework::TPictureLoader; this adds the
// way back to the GUI thread: when a result waits, OnReady runs there, from a
// message posted to a window of its own.
#include "framework/PictureLoader.h"
#include "framework/win32/MessageWindow.h"

#include <functional>
#include <optional>
#include <string>

class TPicturePrefetch {
public:
  // onReady runs on the thread that made the prefetch, each time the file
  // started last has been loaded or failed and its result waits to be taken.
  explicit TPicturePrefetch(std::function<void()> onReady);

  void Start(std::string fileName, framework::TGraphic::TShowLimit limit, gfx::TColor background);
  [[nodiscard]] bool Pending() const { return loader_.Pending(); }
  [[nodiscard]] bool Ready() const { return loader_.Ready(); }
  // The result of the file started last, waiting for it when it is not there;
  // nothing when no file is pending.
  [[nodiscard]] std::optional<framework::TPictureLoader::TResult> Take() { return loader_.Take(); }

private:
  std::function<void()> onReady_;
  framework::TMessageWindow window_;
  // After the window: the worker stops before the window it posts to goes.
  framework::TPictureLoader loader_;
};
