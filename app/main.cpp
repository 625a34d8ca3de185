// The program block: the application object, the splash, the player window.
#include "app/MainForm.h"
#include "app/SplashForm.h"

#include <windows.h>

TMainForm* MainForm = nullptr;

namespace {

// The icon of the player window and of the taskbar entry.
void ShowProgramIcon(HWND window)
{
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto load = [instance](int metricX, int metricY) {
    return reinterpret_cast<LPARAM>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(metricX),
                                               GetSystemMetrics(metricY), LR_SHARED));
  };
  SendMessageW(window, WM_SETICON, ICON_BIG, load(SM_CXICON, SM_CYICON));
  SendMessageW(window, WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON));
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
  using framework::Application;
  Application->Initialize();
  transition::RegisterLumetta();
  Application->SetTitle("TLumetta Demo");
  try {
    SplashForm = TSplashForm::ShowSplash();
  } catch (const std::exception& error) {
    Application->ShowException(error);
  }
  // The splash, by now showing the desktop it captured, stays until the
  // player window exists, and goes whether or not that worked.
  try {
    Application->CreateForm(MainForm);
  } catch (const std::exception& error) {
    delete SplashForm;
    SplashForm = nullptr;
    Application->ShowException(error);
    return 1;
  }
  delete SplashForm;
  SplashForm = nullptr;
  ShowProgramIcon(MainForm->Handle());
  ShowProgramIcon(Application->Handle());
  Application->Run();
  return 0;
}
