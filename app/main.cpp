// The program block: the application object, the splash, the player window.
#include "app/MainForm.h"
#include "app/SplashForm.h"
#include "skin/win32/SkinDataWin32.h"
#include "skin/win32/SkinManage.h"

#include <windows.h>

TMainForm* MainForm = nullptr;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
  using framework::Application;
  Application->Initialize();
  transition::RegisterLumetta();
  skin::RegisterSkinDataClass();
  skin::win32::InstallSkinPlatform();
  skin::InstallSkinManager();
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
  skin::win32::SetApplicationWindow(MainForm->Handle());
  Application->Run();
  // The forms go now, while everything they use is still there, rather than
  // with the application object among the program's static objects.
  Application->DestroyComponents();
  skin::FinalizeSkinManager();
  return 0;
}
