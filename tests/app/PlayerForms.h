#pragma once
// What the player's forms need before one is made in a suite: the
// application object, the display component's and the skin data's classes
// for the form descriptions, and the skin's platform parts, as the program's
// start does.
#include "framework/win32/Forms.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"
#include "transition/win32/Lumetta.h"

namespace apptest {

inline void InstallPlayerClasses()
{
  framework::Application->Initialize();
  transition::RegisterLumetta();
  skin::RegisterSkinDataClass();
  skin::win32::InstallSkinPlatform();
}

} // namespace apptest
