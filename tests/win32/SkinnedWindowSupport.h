#pragma once
// The skinning suites' world: the application object, the skin platform and
// manager installed, a skin data component loaded from a package beside the
// executable, and plain top-level windows that the manager frames when they
// are activated.
#include <windows.h>

#include "framework/win32/Forms.h"
#include "skin/SkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/win32/SkinDataWin32.h"
#include "skin/win32/SkinManage.h"
#include "tests/win32/InputSupport.h"
#include "tests/win32/ProbeSkinSupport.h"
#include "tests/win32/ScreenProbe.h"
#include "tests/win32/TestWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

// The stored skin's package beside the executable.
inline std::vector<uint8_t> StoredSkinPackage()
{
  const std::filesystem::path path = ExecutableFolder() / "tarsel.skn";
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("the stored skin is not next to the suite: " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Once per process: the framework's application, the skin's platform parts
// and the manager's seam.
inline void InstallSkinning()
{
  static const bool installed = [] {
    framework::Application->Initialize();
    skin::RegisterSkinDataClass();
    skin::win32::InstallSkinPlatform();
    skin::InstallSkinManager();
    return true;
  }();
  (void)installed;
}

// A skin data component as a form would have it after loading: the package
// applied, active, Loaded run (which makes the manager and its hook).
inline std::unique_ptr<skin::TSkinData> LoadedSkinData(const std::vector<uint8_t>& package,
                                                       skin::TSkinFormType type = skin::sfMainform)
{
  InstallSkinning();
  auto data = std::make_unique<skin::TSkinData>(nullptr);
  data->SetSkinFormtype(type);
  data->SetPackage(package);
  if (!data->ApplyPackage())
    throw std::runtime_error("the skin package did not load");
  data->SetActive(true);
  data->Loaded();
  return data;
}

// A suite whose tests share one skin data component, loaded from the package
// once for the whole suite.
template <std::vector<uint8_t> (*Package)()>
class TSkinnedSuite : public ::testing::Test {
protected:
  static void SetUpTestSuite() { data_ = LoadedSkinData(Package()).release(); }
  static void TearDownTestSuite()
  {
    delete data_;
    data_ = nullptr;
  }
  static inline skin::TSkinData* data_ = nullptr;
};

inline skin::TSkinManage& Manager()
{
  skin::TSkinManage* manager = skin::SkinManager();
  if (!manager)
    throw std::runtime_error("no skin manager");
  return *manager;
}

// Handles messages until the manager has framed the window and the frame
// has started (or the time is up); the frame, or nullptr.
inline skin::TWinSkinForm* WaitForFrame(HWND window, int32_t timeoutMs = 3000)
{
  skin::TWinSkinForm* frame = nullptr;
  PumpUntil(
    [&] {
      frame = Manager().FrameOf(window);
      return frame && frame->State() == skin::fsRunning;
    },
    timeoutMs);
  return frame && frame->State() == skin::fsRunning ? frame : nullptr;
}

// The class of the suites' plain windows: a client area in one colour.
inline LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(window, message, wParam, lParam);
}

inline const TWindowClass& PlainWindowClass()
{
  static const TWindowClass windowClass(L"SkinSuitePlainWindow", &PlainWindowProc,
                                        static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return windowClass;
}

// A plain top-level window of the given styles, shown and activated.
inline TWindow MakeActiveWindow(DWORD style, int32_t x, int32_t y, int32_t width, int32_t height,
                                const wchar_t* title = L"Skinned window", DWORD exStyle = 0,
                                const wchar_t* className = nullptr)
{
  TWindow window(CreateWindowExW(exStyle, className ? className : PlainWindowClass().Name(), title,
                                 style | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  BringToFront(window.Handle());
  return window;
}

inline RECT WindowRectOf(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

inline SIZE ClientSizeOf(HWND window)
{
  RECT r{};
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

} // namespace testsupport
