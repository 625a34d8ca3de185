#include "RenderOptions.h"

#include <charconv>
#include <stdexcept>

namespace render {

namespace {

std::optional<int32_t> ParseInt(std::string_view text)
{
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty())
    return std::nullopt;
  return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos)
      return parts;
    start = at + 1;
  }
}

int32_t ParseProgress(std::string_view text)
{
  const std::optional<int32_t> p = ParseInt(text);
  if (!p || *p < 0 || *p > 100)
    throw std::invalid_argument("progress \"" + std::string(text) + "\" is not a number from 0 to 100");
  return *p;
}

} // namespace

effects::TShowStyle ParseStyle(std::string_view text)
{
  if (const std::optional<int32_t> n = ParseInt(text)) {
    if (*n < 1 || *n > effects::kMaxStyle)
      throw std::invalid_argument("style " + std::string(text) + " is not a style number from 1 to 176");
    return effects::TShowStyle(*n);
  }
  const std::optional<effects::TShowStyle> found = effects::FindStyle(text);
  if (!found || *found == effects::kCustomStyle)
    throw std::invalid_argument("no effect is named \"" + std::string(text) + "\" (--list shows the names)");
  return *found;
}

std::vector<effects::TShowStyle> ParseStyleList(std::string_view text)
{
  std::vector<effects::TShowStyle> styles;
  if (text == "all") {
    for (effects::TShowStyle s = 1; s <= effects::kMaxStyle; ++s)
      styles.push_back(s);
    return styles;
  }
  for (std::string_view item : Split(text, ',')) {
    const size_t dash = item.find('-');
    if (dash != std::string_view::npos && ParseInt(item.substr(0, dash)) && ParseInt(item.substr(dash + 1))) {
      const effects::TShowStyle first = ParseStyle(item.substr(0, dash));
      const effects::TShowStyle last = ParseStyle(item.substr(dash + 1));
      if (first > last)
        throw std::invalid_argument("style range \"" + std::string(item) + "\" runs backward");
      for (int32_t s = first; s <= last; ++s)
        styles.push_back(effects::TShowStyle(s));
    } else {
      styles.push_back(ParseStyle(item));
    }
  }
  return styles;
}

uint32_t ParseSeed(std::string_view text)
{
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end)
    throw std::invalid_argument("seed \"" + std::string(text) + "\" is not a number from 0 to 4294967295");
  return value;
}

TFrameSize ParseSize(std::string_view text)
{
  const size_t x = text.find('x');
  const std::optional<int32_t> w = x == std::string_view::npos ? std::nullopt : ParseInt(text.substr(0, x));
  const std::optional<int32_t> h = x == std::string_view::npos ? std::nullopt : ParseInt(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > 16384 || *h > 16384)
    throw std::invalid_argument("size \"" + std::string(text) + "\" is not WIDTHxHEIGHT from 1x1 to 16384x16384");
  return {*w, *h};
}

TRenderOptions ParseRenderOptions(const std::vector<std::string>& args)
{
  TRenderOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size())
        throw std::invalid_argument(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
    } else if (arg == "--list") {
      options.List = true;
    } else if (arg == "--old") {
      options.Old = value();
    } else if (arg == "--new") {
      options.New = value();
    } else if (arg == "--style" || arg == "--styles") {
      options.Styles = ParseStyleList(value());
    } else if (arg == "--progress") {
      options.Progress = ParseProgress(value());
    } else if (arg == "--size") {
      options.Size = ParseSize(value());
    } else if (arg == "--cell") {
      options.Cell = ParseSize(value());
    } else if (arg == "--out") {
      options.Out = value();
      if (options.Out.empty())
        throw std::invalid_argument("--out needs a file name");
    } else if (arg == "--frames") {
      const std::optional<int32_t> step = ParseInt(value());
      if (!step || *step < 1 || *step > 100)
        throw std::invalid_argument("--frames needs a step from 1 to 100");
      options.FrameStep = *step;
    } else if (arg == "--seed") {
      options.Seed = ParseSeed(value());
    } else if (arg == "--sheet") {
      options.SheetProgress.clear();
      for (std::string_view p : Split(value(), ','))
        options.SheetProgress.push_back(ParseProgress(p));
    } else {
      throw std::invalid_argument("unknown argument \"" + arg + "\" (--help lists them)");
    }
  }
  if (options.FrameStep > 0 && !options.SheetProgress.empty())
    throw std::invalid_argument("--frames and --sheet cannot be combined");
  return options;
}

std::string RenderUsage()
{
  return "render: draws frames of the transition effects\n"
         "\n"
         "  --old PICTURE      the old image: a picture file (bmp, ico, wmf, emf, jpg,\n"
         "                     jpeg), or pattern:NAME"
         " (bars, rings, grid, checker);\n"
         "                     default pattern:bars\n"
         "  --new PICTURE      the new picture; default pattern:rings\n"
         "  --style STYLES     a style number or name, or a list such as 1-13,52,Fade,\n"
         "                     or all; default 1\n"
         "  --progress P       0 to 100; default 50\n"
         "  --size WxH         the frame size; default the new picture's own size\n"
         "                     (320x240 when it is a pattern)\n"
         "  --out PATH         output name without extension; default frame\n"
         "  --frames STEP      every frame from 0 to 100 in steps of STEP\n"
         "  --sheet P1,P2,...  a contact sheet: one row per style, one column per\n"
         "                     progress value, labelled by style number\n"
         "  --cell WxH         the size of a contact sheet cell; default 120x90\n"
         "  --seed N           reproducible output: the random generator starts every\n"
         "                     frame from N, and N is the new picture's handle\n"
         "                     (0 to 4294967295)\n"
         "  --list             lists the styles by number and name\n"
         "\n"
         "Frames are written as PATH.bmp and, where PNG output is built in, PATH.png.\n"
         "The pictures are drawn at their own size at the top left of the frame, on\n"
         "black, as the player lays out a new picture.\n";
}

} // namespace render
