#pragma once
// The MDI client of a skinned MDI frame. Documents come and go, are arranged
// and get a new frame menu through messages to the client; the hook lets the
// frame's skinned menu bar and the documents' frames follow what they did,
// and keeps the system's scroll bars off the client while the skin has none
// for it.
#include <windows.h>

#include "framework/win32/Subclass.h"

namespace skin {

class TSkinManage;
class TWinSkinForm;

// Posted to the MDI client by a document's frame when what the MDI frame
// shows of it changed (it was maximised or restored): the frame redraws
// itself with all its children.
inline constexpr UINT WM_SKIN_MDI_REDRAW = 0x3516;

class TMdiClientHook final : private framework::TSubclass {
public:
  // frame is the skinned MDI frame the client belongs to.
  TMdiClientHook(TWinSkinForm& frame, TSkinManage& manager, HWND client);
  // Takes the hook off and gives the client back the scroll bars it had.
  ~TMdiClientHook() override;

  [[nodiscard]] HWND Client() const { return client_; }

private:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void KeepScrollBarsOff();
  // A document went: the menu state follows the active one, and the bar
  // shows the frame's own menu again once none is left.
  void DocumentDestroyed();

  TWinSkinForm& frame_;
  TSkinManage& manager_;
  HWND client_;
  // The scroll-bar style bits the client had before the hook took them off.
  LONG_PTR scrollBars_;
  // The skin data's menu-update flag as it was when the frame attached.
  bool menuUpdate_;
};

} // namespace skin
