#pragma once
// The renderer's command line.
#include "effects/EffectTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace render {

struct TFrameSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

struct TRenderOptions {
  std::string Old = "pattern:bars";
  std::string New = "pattern:rings";
  std::vector<effects::TShowStyle> Styles{1};
  int32_t Progress = 50;
  std::optional<TFrameSize> Size;
  std::string Out = "frame";
  // Every frame of the transition in steps of FrameStep (0: one frame only).
  int32_t FrameStep = 0;
  // A contact sheet at these progress values (empty: no sheet).
  std::vector<int32_t> SheetProgress;
  TFrameSize Cell{120, 90};
  // Makes the output reproducible: before every frame the process-wide
  // generator's seed is Seed, and the new picture's bitmap handle (which
  // seeds the random effects and turns styles 150 to 152 one way or the
  // other) is Seed too. Without it the generator starts where the process
  // left it and the handle is whatever the bitmap was given.
  std::optional<uint32_t> Seed;
  bool List = false;
  bool Help = false;
};

// Reads the arguments (without the program name). Throws
// std::invalid_argument with a message for the user on any mistake.
[[nodiscard]] TRenderOptions ParseRenderOptions(const std::vector<std::string>& args);

// A style given by number (1..176) or by name, compared ignoring case.
[[nodiscard]] effects::TShowStyle ParseStyle(std::string_view text);

// A comma-separated list of styles and ranges ("1-13,52,Fade"), or "all".
[[nodiscard]] std::vector<effects::TShowStyle> ParseStyleList(std::string_view text);

// A seed: a decimal number from 0 to 4294967295.
[[nodiscard]] uint32_t ParseSeed(std::string_view text);

// "WIDTHxHEIGHT" with both at least 1 and at most 16384.
[[nodiscard]] TFrameSize ParseSize(std::string_view text);

[[nodiscard]] std::string RenderUsage();

} // namespace render
