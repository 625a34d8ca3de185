#pragma once
// TSkinManage: the one object of the process that finds the windows to skin.
// A thread hook sees every window of the GUI thread being created, activated
// and destroyed; the manager puts a frame on each top-level window that
// qualifies and a skinner on each pop-up menu window, and carries out the
// switching on, off and refreshing that the skin data components ask for,
// from a timer so that a burst of requests ends in one action.
#include <windows.h>

#include "framework/win32/Hooks.h"
#include "framework/win32/Timer.h"
#include "skin/SkinData.h"
#include "skin/frame/CaptionHost.h"

#include <memory>
#include <optional>
#include <vector>

namespace framework {
class TForm;
class TWinControl;
}

namespace skin {

class TWinSkinForm;
class TWinSkinPopMenu;

// The manager's start state: nothing is skinned before a window of the
// program has been activated (or skinning was turned on), and nothing after
// the manager began to go.
enum TManagerStart : uint8_t { msNotStarted = 0, msRunning = 1, msShuttingDown = 4 };

// What a pending action does.
enum TSkinAction : int32_t { saNone = 0, saSkinOn = 1, saSkinOff = 2, saRefresh = 3 };

class TSkinManage final : public TSkinManagerLink {
public:
  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // TSkinManagerLink
  void Register(TSkinData& data) override;
  void Unregister(TSkinData& data) override;
  void InstallHook() override;
  void PostAction(TSkinData& data, int32_t code, int32_t delayMs) override;
  void MarkStarted() override;
  void SkinningOnRaiseStart() override;
  void SkinOwnerForm(TSkinData& data) override;
  void SetCurrentSkinData(TSkinData& data) override;
  void DropCaptionButtons(TSkinData& data) override;
  [[nodiscard]] bool ApplicationRunning() const override;

  // Puts a frame on the window when it qualifies; whether it did.
  bool SkinWindow(HWND window);
  // A visible form that is not a child window gets a frame.
  void SkinForm(framework::TForm& form);
  // A top-level form about to appear gets its frame started while hidden.
  void FormShowing(framework::TForm& form);
  [[nodiscard]] TWinSkinForm* FrameOf(HWND window) const;
  // Frames whose window is gone are dropped and freed.
  void DiscardStaleFrames();

  [[nodiscard]] bool SkinningOn() const { return skinningOn_; }
  [[nodiscard]] int32_t StartState() const { return startState_; }
  void SetStartState(int32_t state) { startState_ = state; }
  [[nodiscard]] TSkinData* MainSkinData() const { return mainData_; }
  [[nodiscard]] TSkinAction PendingAction() const { return pending_; }
  [[nodiscard]] size_t FrameCount() const { return frames_.size(); }
  [[nodiscard]] size_t PopupSkinnerCount() const { return popups_.size(); }
  // The skinner of a pop-up menu window, or nullptr.
  [[nodiscard]] TWinSkinPopMenu* PopupSkinnerOf(HWND window) const;
  // The skinner of the pop-up opened last, or nullptr when none is open.
  [[nodiscard]] TWinSkinPopMenu* NewestPopupSkinner() const;
  // The open pop-ups belong to a menu bar's drop-down.
  void FlagBarPopups();

  [[nodiscard]] TPopupKind PopupKind() const { return popupKind_; }
  void SetPopupKind(TPopupKind kind) { popupKind_ = kind; }
  [[nodiscard]] bool MenuBarTracking() const { return menuBarTracking_; }
  void SetMenuBarTracking(bool on) { menuBarTracking_ = on; }
  [[nodiscard]] bool MdiMenuState() const { return mdiMenuState_; }
  void SetMdiMenuState(bool on);

private:
  [[nodiscard]] std::optional<LRESULT> HookEvent(int code, WPARAM wParam, LPARAM lParam);
  void WindowCreated(HWND window, const CREATESTRUCTW& create);
  void WindowDestroying(HWND window);
  void AttachPopupSkinner(HWND window);
  [[nodiscard]] bool Qualifies(HWND window, const std::string& className, framework::TForm* form) const;
  [[nodiscard]] bool ClassPasses(HWND window, const std::string& className) const;
  [[nodiscard]] TSkinData* ChooseSkinData(HWND window, const std::string& className) const;
  void TimerFired(framework::TObject* sender);
  void RunAction(TSkinData& data, TSkinAction action);
  void SkinAllForms(TSkinData* stopAtOwnerOf);
  void UnskinFrames(TSkinData* only);
  void RefreshFrames(TSkinData* only);

  std::unique_ptr<framework::TTimer> timer_;
  TSkinAction pending_ = saNone;
  TSkinData* actionData_ = nullptr;
  TSkinData* mainData_ = nullptr;
  bool skinningOn_ = false;
  bool forced_ = false;
  int32_t startState_ = msNotStarted;
  std::vector<std::unique_ptr<TWinSkinForm>> frames_;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
  std::vector<TSkinData*> dataList_;
  TPopupKind popupKind_ = pkContextMenu;
  bool menuBarTracking_ = false;
  bool mdiMenuState_ = false;
  std::unique_ptr<framework::TThreadHook> hook_;
};

// Makes the skin data components find the manager: it is created when the
// first of them is loaded. The program calls it once at start-up.
void InstallSkinManager();
// The manager of the process, or nullptr while none exists.
[[nodiscard]] TSkinManage* SkinManager();
// Un-skins every window and removes the manager and its hook; the program
// calls it before its windows go. Safe to call when there is none.
void FinalizeSkinManager();

} // namespace skin
