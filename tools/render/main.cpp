// render: draws frames of the transition effects to BMP and PNG files, for
// users who want to see an effect and for checking the effects by eye.
#include "ContactSheet.h"
#include "ImageFiles.h"
#include "Patterns.h"
#include "RenderOptions.h"

#include "effects/EffectTable.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

constexpr int32_t kPatternWidth = 320;
constexpr int32_t kPatternHeight = 240;
constexpr std::string_view kPatternPrefix = "pattern:";

std::filesystem::path PathOf(const std::string& utf8)
{
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool IsPattern(const std::string& source)
{
  return source.starts_with(kPatternPrefix);
}

gfx::TPixmap LoadSource(const std::string& source, int32_t width, int32_t height)
{
  if (IsPattern(source))
    return render::PatternPixmap(source.substr(kPatternPrefix.size()), width, height);
  return render::LoadPicture(PathOf(source));
}

void Save(const gfx::TPixmap& pixels, const std::string& base)
{
  render::SaveBmp(pixels, PathOf(base + ".bmp"));
  std::printf("wrote %s.bmp", base.c_str());
  if (render::CanSavePng()) {
    render::SavePng(pixels, PathOf(base + ".png"));
    std::printf(" and %s.png", base.c_str());
  }
  std::printf("\n");
}

std::string Numbered(const std::string& base, const char* tag, int value)
{
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "_%s%03d", tag, value);
  return base + suffix;
}

void ListStyles()
{
  for (effects::TShowStyle s = 1; s <= effects::kMaxStyle; ++s)
    std::printf("%3d  %s\n", s, std::string(effects::StyleName(s)).c_str());
}

int Run(const std::vector<std::string>& args)
{
  const render::TRenderOptions options = render::ParseRenderOptions(args);
  if (options.Help) {
    std::fputs(render::RenderUsage().c_str(), stdout);
    return 0;
  }
  if (options.List) {
    ListStyles();
    return 0;
  }

  // The frame takes the new picture's size unless a size is given; patterns
  // are made at the frame size.
  int32_t width = options.Size ? options.Size->Width : kPatternWidth;
  int32_t height = options.Size ? options.Size->Height : kPatternHeight;
  gfx::TPixmap newPicture = LoadSource(options.New, width, height);
  if (!options.Size) {
    width = newPicture.Width();
    height = newPicture.Height();
  }
  const gfx::TPixmap oldPicture = LoadSource(options.Old, width, height);
  const gfx::TPixmap newImage = render::LayOut(newPicture, width, height);
  const gfx::TPixmap oldImage = render::LayOut(oldPicture, width, height);

  if (!options.SheetProgress.empty()) {
    const gfx::TPixmap sheet = render::RenderContactSheet(oldImage, newImage, options.Styles, options.SheetProgress,
                                                          options.Cell.Width, options.Cell.Height, options.Seed);
    Save(sheet, options.Out);
    return 0;
  }

  for (effects::TShowStyle style : options.Styles) {
    const std::string base = options.Styles.size() > 1 ? Numbered(options.Out, "s", style) : options.Out;
    if (options.FrameStep > 0) {
      for (int32_t p = 0;; p += options.FrameStep) {
        p = std::min(p, 100);
        Save(render::RenderFrame(oldImage, newImage, style, p, options.Seed), Numbered(base, "p", p));
        if (p == 100)
          break;
      }
    } else {
      Save(render::RenderFrame(oldImage, newImage, style, options.Progress, options.Seed), base);
    }
  }
  return 0;
}

std::vector<std::string> Arguments(int argc, char** argv)
{
#ifdef _WIN32
  // The narrow command line is in the ANSI code page; file names with other
  // characters survive only through the UTF-16 one.
  (void)argc;
  (void)argv;
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide)
    return args;
  for (int i = 1; i < count; ++i) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(bytes > 0 ? bytes - 1 : 0), '\0');
    if (bytes > 1)
      WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), bytes, nullptr, nullptr);
    args.push_back(std::move(utf8));
  }
  LocalFree(wide);
  return args;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

} // namespace

int main(int argc, char** argv)
{
  try {
    return Run(Arguments(argc, argv));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "render: %s\n", e.what());
    return 1;
  }
}
