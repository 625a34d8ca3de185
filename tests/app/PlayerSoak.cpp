#include "tests/app/PlayerSoak.h"

#include "app/PlayerQuery.h"
#include "gfx/codecs/Jpeg.h"
#include "tests/app/PlayerProcess.h"
#include "tests/win32/ResourceCount.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace apptest {

namespace {

// ---------------------------------------------------------------------------
// The folder.

std::vector<uint8_t> ReadWholeFile(const fs::path& path)
{
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  std::vector<uint8_t> bytes(size_t(std::max<std::streamoff>(file.tellg(), 0)));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file || bytes.empty())
    throw std::runtime_error("cannot read " + path.string());
  return bytes;
}

void WriteWholeFile(const fs::path& path, std::span<const uint8_t> bytes)
{
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file)
    throw std::runtime_error("cannot write " + path.string());
}

struct TPhotoSize {
  const wchar_t* Name;
  const wchar_t* Sample; // the sample picture it is enlarged from
  int32_t Width, Height;
};

// Sizes that cameras and phones write, the largest a player has been tried
// with among them; one held upright.
constexpr TPhotoSize kPhotos[] = {
  {L"Photo 5640 x 3172.jpg", L"Harbour at night.jpg", 5640, 3172},
  {L"Photo 4000 x 3000.jpg", L"Alpine dawn.jpg", 4000, 3000},
  {L"Photo 3000 x 4000.jpg", L"Lighthouse.jpg", 3000, 4000},
};

constexpr const wchar_t* kCutShortName = L"Cut short.jpg";

uint8_t Grained(uint32_t channel, int grain)
{
  return uint8_t(std::clamp(int(channel & 0xFF) + grain, 0, 255));
}

// A sample enlarged to a photo's size with a fine grain over it: without the
// grain an enlargement compresses far better, and decodes faster, than what
// a camera writes.
gfx::TPixmap Enlarged(const gfx::TPixmap& sample, int32_t width, int32_t height)
{
  gfx::TPixmap photo(width, height);
  uint32_t seed = 1;
  for (int32_t y = 0; y < height; ++y) {
    const gfx::TPixel* from = sample.ScanLine(int32_t(int64_t(y) * sample.Height() / height));
    gfx::TPixel* row = photo.ScanLine(y);
    for (int32_t x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = int(seed >> 28) - 8;
      const gfx::TPixel p = from[int64_t(x) * sample.Width() / width];
      row[x] = gfx::TPixel(Grained(p, grain)) | gfx::TPixel(Grained(p >> 8, grain)) << 8 |
               gfx::TPixel(Grained(p >> 16, grain)) << 16;
    }
  }
  return photo;
}

bool DecodesAsJpeg(std::span<const uint8_t> bytes)
{
  try {
    (void)gfx::DecodeJpeg(bytes);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void FillSoakFolder(const fs::path& path)
{
  const fs::path samples = fs::path(ProgramFolder()) / L"Photos";
  for (const fs::directory_entry& entry : fs::directory_iterator(samples))
    fs::copy_file(entry.path(), path / entry.path().filename());
  for (const TPhotoSize& photo : kPhotos) {
    const gfx::TPixmap sample = gfx::DecodeJpeg(ReadWholeFile(samples / photo.Sample));
    WriteWholeFile(path / photo.Name, gfx::EncodeJpeg(Enlarged(sample, photo.Width, photo.Height), {.Quality = 90}));
  }
  // The first third of a photo, as an interrupted copy leaves it.
  std::vector<uint8_t> cut = ReadWholeFile(path / kPhotos[0].Name);
  cut.resize(cut.size() / 3);
  if (DecodesAsJpeg(cut))
    throw std::runtime_error("a JPEG cut to a third still decodes: the folder would have no unreadable picture");
  WriteWholeFile(path / kCutShortName, cut);
}

// ---------------------------------------------------------------------------
// Talking to the player.

constexpr UINT kAnswerTimeoutMs = 30000;
constexpr auto kTransitionTimeout = std::chrono::seconds(60);
constexpr DWORD kPollMs = 4;

// A message sent to the player's thread, which must answer within the time.
LRESULT SendToPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs, &answer))
    throw std::runtime_error("the player did not answer within " + std::to_string(kAnswerTimeoutMs / 1000) + " s");
  return LRESULT(answer);
}

LRESULT AskPlayer(HWND main, TPlayerQuery query)
{
  return SendToPlayer(main, PlayerQueryMessage(), query, 0);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

bool HasClass(HWND window, const wchar_t* cls)
{
  return lstrcmpiW(WindowClass(window).c_str(), cls) == 0;
}

// The edit that the up-down of the given range steps: the player places each
// up-down against the right edge of its edit.
HWND EditOfUpDown(HWND main, int min, int max)
{
  std::vector<HWND> children;
  EnumChildWindows(main, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND upDown : children) {
    if (!HasClass(upDown, UPDOWN_CLASSW) || SendToPlayer(upDown, UDM_GETRANGE, 0, 0) != MAKELONG(max, min))
      continue;
    RECT stepper;
    GetWindowRect(upDown, &stepper);
    for (HWND edit : children) {
      RECT box;
      if (HasClass(edit, L"Edit") && GetWindowRect(edit, &box) && box.right == stepper.left && box.top == stepper.top)
        return edit;
    }
  }
  return nullptr;
}

// Types a number into the edit of the up-down of that range, as a user
// would, and reads back what the player made of it. While the skin frames the
// window just shown, its controls move under the search, which is then tried
// again.
void TypeSetting(HWND main, int min, int max, int value)
{
  HWND edit = nullptr;
  for (int attempt = 0; attempt < 50 && !edit; ++attempt) {
    if (attempt > 0)
      Sleep(100);
    edit = EditOfUpDown(main, min, max);
  }
  if (!edit)
    throw std::runtime_error("no edit with an up-down from " + std::to_string(min) + " to " + std::to_string(max));
  const std::wstring text = std::to_wstring(value);
  SendToPlayer(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (WindowText(edit) != text)
    throw std::runtime_error("the player did not take " + std::to_string(value) + " for the setting from " +
                             std::to_string(min) + " to " + std::to_string(max));
}

// The Right key, which is the player's Next picture wherever the focus is.
void PressNext(HWND main)
{
  const DWORD key = 1 | MapVirtualKeyW(VK_RIGHT, MAPVK_VK_TO_VSC) << 16 | 1u << 24;
  PostMessageW(main, WM_KEYDOWN, VK_RIGHT, LPARAM(key));
  PostMessageW(main, WM_KEYUP, VK_RIGHT, LPARAM(key | 3u << 30));
}

std::string Narrow(const std::wstring& text)
{
  std::string narrow;
  for (wchar_t c : text)
    narrow += c < 128 ? char(c) : '?';
  return narrow;
}

void ThrowOnDialog(const TDialogAnswerer& answerer)
{
  const std::vector<TSeenDialog> seen = answerer.Seen();
  if (seen.empty())
    return;
  std::wstring text = seen.front().caption;
  for (const std::wstring& line : seen.front().texts)
    text += L" | " + line;
  throw std::runtime_error("the player showed a message box: " + Narrow(text));
}

// Waits until the player has ended more transitions than before; answers
// how many it has ended now.
long WaitForTransitionEnd(const TPlayerProcess& player, HWND main, const TDialogAnswerer& answerer, long before)
{
  const auto end = std::chrono::steady_clock::now() + kTransitionTimeout;
  for (;;) {
    if (WaitForSingleObject(player.Handle(), kPollMs) == WAIT_OBJECT_0)
      throw std::runtime_error("the player ended during the run");
    ThrowOnDialog(answerer);
    const long ended = long(AskPlayer(main, pqTransitionsEnded));
    if (ended > before)
      return ended;
    if (std::chrono::steady_clock::now() > end)
      throw std::runtime_error("no transition ended within a minute of pressing Next");
  }
}

// ---------------------------------------------------------------------------
// The figures.

constexpr std::array kFigures = {&TSoakFigures::PrivateBytes, &TSoakFigures::GdiObjects,
                                 &TSoakFigures::UserObjects, &TSoakFigures::HeapInUse};

TSoakFigures ReadFigures(const TPlayerProcess& player, HWND main, bool& systemCounts)
{
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(player.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  const DWORD gdi = GetGuiResources(player.Handle(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(player.Handle(), GR_USEROBJECTS);
  systemCounts = gdi != 0 || user != 0;
  TSoakFigures figures;
  // Wine leaves PrivateUsage 0 and gives the process's anonymous memory as
  // PagefileUsage, which on Windows is the same figure as PrivateUsage.
  figures.PrivateBytes = int64_t(memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage);
  figures.GdiObjects = systemCounts ? int64_t(gdi) : int64_t(AskPlayer(main, pqHeldGdiHandles));
  figures.UserObjects =
    systemCounts ? int64_t(user) : testsupport::CountThreadWindows(GetWindowThreadProcessId(main, nullptr));
  figures.HeapInUse = int64_t(AskPlayer(main, pqHeapBytesInUse));
  return figures;
}

class TSpanTally {
public:
  void Add(const TSoakFigures& figures)
  {
    if (count_++ == 0)
      least_ = most_ = figures;
    for (auto field : kFigures) {
      least_.*field = std::min(least_.*field, figures.*field);
      most_.*field = std::max(most_.*field, figures.*field);
    }
    last_ = figures;
  }
  [[nodiscard]] bool Empty() const { return count_ == 0; }
  // The span so far, and a new one begun.
  TSoakSpan Close(int transitions)
  {
    const auto now = std::chrono::steady_clock::now();
    TSoakSpan span{transitions, std::chrono::duration<double>(now - started_).count(), least_, most_, last_};
    count_ = 0;
    started_ = now;
    return span;
  }

private:
  int count_ = 0;
  TSoakFigures least_, most_, last_;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

} // namespace

TSoakFolder::TSoakFolder()
  : path_(fs::temp_directory_path() / (L"player-soak-" + std::to_wstring(GetCurrentProcessId())))
{
  fs::remove_all(path_);
  fs::create_directories(path_);
  try {
    FillSoakFolder(path_);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
    throw;
  }
}

TSoakFolder::~TSoakFolder()
{
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

TSoakFigures FloorGrowth(std::span<const TSoakSpan> spans, size_t from)
{
  TSoakFigures growth;
  for (size_t i = from + 1; i < spans.size(); ++i)
    for (auto field : kFigures)
      growth.*field = std::max(growth.*field, spans[i].Least.*field - spans[from].Least.*field);
  return growth;
}

TPlayerSoak::TPlayerSoak(std::filesystem::path folder, TSoakSettings settings)
  : folder_(std::move(folder)), settings_(settings)
{
}

std::vector<TSoakSpan> TPlayerSoak::Run(const std::function<void(const TSoakSpan&)>& onSpan)
{
  TPlayerProcess player(L"\"" + folder_.wstring() + L"\"");
  if (!player.Started())
    throw std::runtime_error("player.exe did not start");
  TDialogAnswerer answerer(player.Id());
  HWND main = player.WaitForWindow(L"TMainForm", 60000);
  if (!main)
    throw std::runtime_error("the player's window did not show");
  // The ranges of the step and interval up-downs name them.
  TypeSetting(main, 1, 25, settings_.Step);
  TypeSetting(main, 5, 1000, settings_.Delay);

  std::vector<TSoakSpan> spans;
  TSpanTally tally;
  const long first = long(AskPlayer(main, pqTransitionsEnded));
  long ended = first;
  int spanEnd = settings_.SpanLength;
  while (ended - first < settings_.Transitions) {
    PressNext(main);
    ended = WaitForTransitionEnd(player, main, answerer, ended);
    tally.Add(ReadFigures(player, main, systemCounts_));
    const int done = int(ended - first);
    if (done >= spanEnd || done >= settings_.Transitions) {
      spans.push_back(tally.Close(done));
      onSpan(spans.back());
      spanEnd = (done / settings_.SpanLength + 1) * settings_.SpanLength;
    }
  }
  if (!player.Close())
    throw std::runtime_error("the player did not end cleanly after the run");
  ThrowOnDialog(answerer);
  return spans;
}

void PrintSpanHeader()
{
  std::printf("%11s %8s | %-23s | %-23s | %-17s | %-17s\n", "transitions", "seconds", "private memory (MB)",
              "heap in use (MB)", "GDI objects", "USER objects");
  std::printf("%11s %8s | %7s %7s %7s | %7s %7s %7s | %5s %5s %5s | %5s %5s %5s\n", "", "", "least", "most", "last",
              "least", "most", "last", "least", "most", "last", "least", "most", "last");
}

void PrintSpan(const TSoakSpan& span)
{
  std::printf("%11d %8.1f | %7.2f %7.2f %7.2f | %7.2f %7.2f %7.2f | %5lld %5lld %5lld | %5lld %5lld %5lld\n",
              span.Transitions, span.Seconds, Megabytes(span.Least.PrivateBytes), Megabytes(span.Most.PrivateBytes),
              Megabytes(span.Last.PrivateBytes), Megabytes(span.Least.HeapInUse), Megabytes(span.Most.HeapInUse),
              Megabytes(span.Last.HeapInUse), (long long)span.Least.GdiObjects, (long long)span.Most.GdiObjects,
              (long long)span.Last.GdiObjects, (long long)span.Least.UserObjects, (long long)span.Most.UserObjects,
              (long long)span.Last.UserObjects);
  std::fflush(stdout);
}

} // namespace apptest
