#pragma once
// An endurance run of the player as users see it: player.exe (next to this
// program) plays a folder of mixed pictures made here, and is driven through
// transition after transition with its Next key, the next one pressed as soon
// as the player has ended the last. After every transition its private
// memory and its GDI and USER objects are read from outside the process; the figures are summed up per span of transitions.
#include "tests/app/DialogAnswerer.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace apptest {

// The sample pictures, photos of the sizes cameras write, and a JPEG cut
// short as by an interrupted copy; made in the temporary folder and removed
// with their owner.
class TSoakFolder {
public:
  TSoakFolder();
  ~TSoakFolder();
  TSoakFolder(const TSoakFolder&) = delete;
  TSoakFolder& operator=(const TSoakFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
  [[nodiscard]] int PictureCount() const { return pictures_; }

private:
  std::filesystem::path path_;
  int pictures_ = 0;
};

// What the player holds at one moment. Where the system counts no GDI and
// USER objects (Wine), GdiObjects are the handles the player's owners hold,
// as it answers when asked, and UserObjects the windows of its GUI thread.
// HeapInUse is what its heaps have handed out, as it answers when asked: the
// part of its private memory that a leak of ours lifts, without what the
// heaps keep committed after blocks were freed.
struct TSoakFigures {
  int64_t PrivateBytes = 0;
  int64_t GdiObjects = 0;
  int64_t UserObjects = 0;
  int64_t HeapInUse = 0;
};

// A span of transitions: the least and the most of each figure seen after
// each of them, and the figures after the last.
struct TSoakSpan {
  int Transitions = 0; // ended since the start, when the span closed
  double Seconds = 0;
  TSoakFigures Least, Most, Last;
};

struct TSoakSettings {
  int Transitions = 300;
  int SpanLength = 50;
  int Step = 25;  // percent of the way per animation step
  int Delay = 5;  // milliseconds between animation steps
};

// How far each figure's floor (its least within a span) rose after the
// given span: the highest later floor less that span's. The floor is what a
// leak lifts; the most within a span also depends on which picture happens
// to be loaded for the next transition when the figures are read.
[[nodiscard]] TSoakFigures FloorGrowth(std::span<const TSoakSpan> spans, size_t from);

[[nodiscard]] inline double Megabytes(int64_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

// Runs the player over the folder with the settings. Each closed span is
// handed to onSpan as it closes. Throws std::runtime_error when the player
// does not start, stops answering, ends, or shows a message box.
class TPlayerSoak {
public:
  TPlayerSoak(std::filesystem::path folder, TSoakSettings settings);

  std::vector<TSoakSpan> Run(const std::function<void(const TSoakSpan&)>& onSpan);

  // Whether the GDI and USER figures are the system's own counts.
  [[nodiscard]] bool SystemCounts() const { return systemCounts_; }

private:
  std::filesystem::path folder_;
  TSoakSettings settings_;
  bool systemCounts_ = false;
};

// Prints a span as one line of a table; PrintSpanHeader prints its heading.
void PrintSpanHeader();
void PrintSpan(const TSoakSpan& span);

} // namespace apptest
