// The player as a user starts it: with a folder, without one (the splash
// first), and with a path that is not a folder.
#include "tests/app/DialogAnswerer.h"
#include "tests/app/PlayerProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

using apptest::TDialogAnswerer;
using apptest::TPlayerProcess;

namespace {

constexpr int kStartTimeoutMs = 60000;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

} // namespace

TEST(PlayerProcess, WithAFolderTheWindowOpensWithoutTheSplashAndClosesCleanly)
{
  TPlayerProcess player(Quoted(apptest::ProgramFolder() + L"Photos"));
  ASSERT_TRUE(player.Started());
  TDialogAnswerer answerer(player.Id());
  bool splashSeen = false;
  HWND main = player.WaitForWindow(L"TMainForm", kStartTimeoutMs,
                                   [&] { splashSeen = splashSeen || player.VisibleWindow(L"TSplashForm"); });
  ASSERT_NE(main, nullptr);
  const auto shown = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - player.StartTime());
  std::printf("main window shown %.0f ms after the process started\n", shown.count());
  EXPECT_FALSE(splashSeen);
  EXPECT_EQ(apptest::WindowText(main), L"Automatic picture player");
  EXPECT_TRUE(player.Close());
  EXPECT_TRUE(answerer.Seen().empty());
}

TEST(PlayerProcess, WithoutAFolderTheSplashPlaysFirstAndGoesWhenTheWindowShows)
{
  TPlayerProcess player(L"");
  ASSERT_TRUE(player.Started());
  TDialogAnswerer answerer(player.Id());
  HWND splash = player.WaitForWindow(L"TSplashForm", kStartTimeoutMs);
  ASSERT_NE(splash, nullptr);
  RECT bounds;
  GetWindowRect(splash, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 450);
  EXPECT_EQ(bounds.bottom - bounds.top, 260);
  // Two transitions, the holds and the pause take several seconds.
  HWND main = player.WaitForWindow(L"TMainForm", kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  const auto end = GetTickCount() + 5000;
  while (IsWindow(splash) && IsWindowVisible(splash) && int32_t(GetTickCount() - end) < 0)
    Sleep(20);
  EXPECT_FALSE(IsWindow(splash) && IsWindowVisible(splash));
  EXPECT_TRUE(player.Close());
  EXPECT_TRUE(answerer.Seen().empty());
}

TEST(PlayerProcess, APathThatIsNotAFolderIsReportedAndTheWindowOpensAnyway)
{
  const std::wstring missing = apptest::ProgramFolder() + L"no such folder";
  TPlayerProcess player(Quoted(missing));
  ASSERT_TRUE(player.Started());
  TDialogAnswerer answerer(player.Id(), {L"OK"});
  HWND main = player.WaitForWindow(L"TMainForm", kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  const auto seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 1u);
  ASSERT_FALSE(seen[0].texts.empty());
  // The framework ends a reported message with a full stop.
  EXPECT_EQ(seen[0].texts.back(), L"Invalid file name - " + missing + L".");
  EXPECT_TRUE(player.Close());
}
