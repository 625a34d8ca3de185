#pragma once
// TWinSkinForm: the skin's frame around one top-level window of the process
// (a form of ours, a message box, a common dialog). It subclasses the window,
// makes the non-client area as thick as the skin's borders, paints borders,
// caption, title and caption buttons from the skin data, cuts the window
// region along the borders' transparent pixels, and gives everything back
// when skinning stops.
#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Messages.h"
#include "framework/win32/Subclass.h"
#include "framework/win32/Timer.h"
#include "skin/frame/CaptionHost.h"
#include "skin/frame/FrameCompanion.h"
#include "skin/frame/FrameGeometry.h"
#include "gfx/Region.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace framework {
class TForm;
}

namespace skin {

class TBarMenuTracking;
class TCaptionButtons;
class TMdiClientHook;
class TMenuBtn;
class TSkinManage;
class TWinSkinMenu;

// The frame's life: attached and waiting for the start message, running,
// running with geometry to rebuild, un-skinning, applying the frame, and
// discarded once its window is destroyed.
enum TFrameState : uint8_t {
  fsAttached = 0,
  fsRunning = 1,
  fsRebuild = 3,
  fsUnskinning = 4,
  fsApplying = 5,
  fsDiscarded = 6,
};

// The private message the manager posts to start a new frame.
inline constexpr UINT WM_SKIN_START = 0x3503;
inline constexpr UINT WM_SKIN_QUERY = 0x3523;
inline constexpr UINT WM_SKIN_AWARE = 0xBC4E;
inline constexpr LPARAM kSkinAwareTag = 0x41A2;
// Opens the menu of the bar button under a screen point (lParam).
inline constexpr UINT WM_SKIN_NCPOINT = 0x3518;

class TWinSkinForm final : public TCaptionHost, private framework::TSubclass {
public:
  // Attaches to window (subclassing it) for the skin data; form is the
  // framework form of the window, or nullptr for a foreign window.
  TWinSkinForm(TSkinManage& manager, TSkinData& data, HWND window, std::string className, framework::TForm* form);
  ~TWinSkinForm() override;

  [[nodiscard]] TFrameState State() const { return state_; }
  [[nodiscard]] bool Discarded() const { return state_ == fsDiscarded; }
  [[nodiscard]] framework::TForm* Form() const { return form_; }
  [[nodiscard]] bool FrameSkinning() const { return frameSkinning_; }
  [[nodiscard]] TBorderMetrics Borders() const { return borders_; }

  // Takes over the bar, applies the frame and skins the controls now rather
  // than when the posted start message arrives (which then finds it done).
  void StartNow() { Start(); }
  // Gives the window its own frame, procedure, style, size and region back.
  // resize is false while the window is being destroyed.
  void Unskin(bool resize = true);
  // A new skin file was loaded: the caption buttons go and come back with
  // the next geometry.
  void DropCaptionButtons();
  void RecomputeGeometry();
  // Re-applies the frame after a skin change and repaints.
  void RepaintAfterSkinChange();
  // A size grip was created on the window; its skinning comes with the
  // window's controls.
  void GripCreated(HWND grip) { grip_ = grip; }
  [[nodiscard]] HWND Grip() const { return grip_; }

  // The skinned controls of the window.
  bool RegisterCompanion(std::unique_ptr<TFrameCompanion> companion);
  void UnregisterCompanion(const TFrameCompanion* companion);
  void DropDiscardedCompanions();
  void FreeCompanions();
  [[nodiscard]] size_t CompanionCount() const { return companions_.size(); }
  [[nodiscard]] bool HasCompanionFor(HWND control) const { return CompanionFor(control) != nullptr; }
  [[nodiscard]] TFrameCompanion* CompanionFor(HWND control) const;
  [[nodiscard]] bool ListsCompanion(const TFrameCompanion* companion) const;

  // TCaptionHost
  [[nodiscard]] HWND Window() const override { return window_; }
  [[nodiscard]] TSkinData& SkinData() const override { return data_; }
  [[nodiscard]] const std::string& WindowClassName() const override { return className_; }
  [[nodiscard]] bool Active() const override { return active_; }
  [[nodiscard]] TFrameShowState ShowState() const override { return showState_; }
  void SetShowState(TFrameShowState state) override { showState_ = state; }
  [[nodiscard]] TFrameBorderKind BorderKind() const override { return borderKind_; }
  [[nodiscard]] uint8_t BorderIcons() const override { return borderIcons_; }
  [[nodiscard]] bool IsMdiFrame() const override { return mdiClient_ != nullptr; }
  [[nodiscard]] bool IsMdiChild() const override { return mdiChild_; }
  [[nodiscard]] bool RightToLeft() const override { return rightToLeft_; }
  [[nodiscard]] int32_t LeftWidth() const override { return borders_.Left; }
  [[nodiscard]] int32_t TopHeight() const override { return borders_.Top; }
  [[nodiscard]] int32_t RightWidth() const override { return borders_.Right; }
  [[nodiscard]] int32_t BottomHeight() const override { return borders_.Bottom; }
  [[nodiscard]] int32_t MenuHeight() const override { return menuHeight_; }
  [[nodiscard]] bool HasSkinnedMenuBar() const override { return menuBar_ != nullptr; }
  // The skinned menu bar, or nullptr when the window shows no menu.
  [[nodiscard]] TWinSkinMenu* MenuBar() const { return menuBar_.get(); }
  // Whether a drop-down of the bar is open.
  [[nodiscard]] bool MenuOpen() const;
  // Opens a bar button's drop-down (after posting its command); false when
  // it has none.
  bool OpenBarMenu(TMenuBtn& button);
  // The bar reads the window's menu again (an MDI frame's last document went).
  void RebuildMenuBar();
  // An MDI frame's client was given a new frame menu: the bar takes it over.
  void MdiMenuSet();
  // The manager's MDI menu state changed: a document's frame follows its
  // window's state again.
  void MdiMenuStateChanged();
  [[nodiscard]] gfx::TRect TitleRect() const override { return titleRect_; }
  [[nodiscard]] const framework::TBitmap& IconBitmap() const override { return iconBitmap_; }
  void StopTimer() override;
  void RedrawFrame() override;
  [[nodiscard]] std::optional<int32_t> MenuBarButtonsLeft() const override;
  [[nodiscard]] bool FrameVisible() const override { return !(mdiChild_ && showState_ == ssMaximized); }
  void SetPopupKind(TPopupKind kind) override;
  void SetMdiMenuState(bool on) override;
  [[nodiscard]] HMENU SystemMenu() const override { return systemMenu_; }
  LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) override { return CallPrevious(message, wParam, lParam); }
  void SystemMenuOpening(HMENU menu) override;
  void SystemMenuClosed() override { systemMenuOpen_ = nullptr; }

private:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void WindowDestroyed() override;
  [[nodiscard]] std::optional<LRESULT> RunningMessage(UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] std::optional<LRESULT> MouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] std::optional<LRESULT> SysCommand(WPARAM wParam, LPARAM lParam);
  [[nodiscard]] std::optional<LRESULT> KeyMenu(WPARAM wParam, LPARAM lParam);
  [[nodiscard]] std::optional<LRESULT> MenuBarMouse(UINT message, gfx::TPoint at);
  void MenuChanged();
  void TakeMenuBar();
  void GiveMenuBarBack(bool destroying);
  // Alt with a letter: the bar button with that accelerator opens.
  bool OpenByAccelerator(wchar_t key);
  // A dialog character the form left unhandled: its bar, else the MDI
  // frame's form for a document, else the main form; whether one took it.
  bool DialogCharElsewhere(WPARAM key, LPARAM keyData);
  // The MDI frame a document lies in, or nullptr.
  [[nodiscard]] HWND MdiFrameWindow() const;
  // The document was deactivated and none is active in its stead.
  void LastDocumentDeactivated();
  void PostBarPress(const TMenuBtn& button);
  // Menu items measured and drawn from the skin (ODT_MENU only).
  [[nodiscard]] std::optional<LRESULT> MeasureMenuItem(MEASUREITEMSTRUCT& measure);
  [[nodiscard]] std::optional<LRESULT> DrawMenuItem(const DRAWITEMSTRUCT& draw);
  // The form's pop-up and main menus are drawn by the frame while skinned.
  void PrepareFrameworkMenus(bool on);

  void ReadStyle();
  void NoteSystemFrame();
  void AttachMdiClient();
  // A document whose caption is lower than the system's makes up the
  // difference with a band under it.
  void CorrectMdiChildMenuHeight();
  void Start();
  // A window framed while it was being created is known as a form only now.
  void AdoptForm();
  void HookForm();
  void SkinControls();
  void ApplyFrame();
  void WidenDialogForCaption(int32_t& width);
  void ReadShowState();
  void MakeIconBitmap();
  void UpdateRegion();
  // A maximised document shows no frame: it covers the MDI client exactly.
  void FitMaximizedMdiChild(WINDOWPOS& position) const;
  // Tells the MDI frame that what it shows of this document changed.
  void NotifyMdiFrame() const;
  void HookFormWindowProc();
  void UnhookFormWindowProc();

  LRESULT CalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT HitTest(WPARAM wParam, LPARAM lParam);
  LRESULT NcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT NcActivate(WPARAM wParam, LPARAM lParam);
  LRESULT SetText(WPARAM wParam, LPARAM lParam);
  void PaintFrame(HDC dc);
  void PaintCaptionBand(HDC dc, int32_t width);
  void PaintTitle(HDC dc, int32_t width);
  void PaintMenuBand(HDC dc, int32_t width);
  [[nodiscard]] HBRUSH ButtonFaceBrush();
  [[nodiscard]] gfx::TRegion FrameRegion(gfx::TPoint size);
  // The composed image of one border of a window of the given size.
  const framework::TBitmap& BorderImage(int part, gfx::TPoint windowSize);
  void TimerFired(framework::TObject* sender);

  TSkinManage& manager_;
  TSkinData& data_;
  HWND window_;
  std::string className_;
  framework::TForm* form_;
  framework::TWndMethod formWindowProc_;
  gfx::TColor formColor_ = 0;
  TFrameState state_ = fsAttached;
  bool frameSkinning_ = false;
  TBorderMetrics borders_;
  int32_t menuHeight_ = 0;
  bool active_ = true;
  TFrameShowState showState_ = ssNormal;
  bool mdiChild_ = false;
  TFrameBorderKind borderKind_ = fbSizeable;
  uint8_t borderIcons_ = 0;
  bool rightToLeft_ = false;
  // The system frame's extra size over the client area, noted when the
  // window was taken over, to give the window its size back.
  gfx::TPoint systemFrameExtra_;
  bool frameApplied_ = false;
  gfx::TPoint regionSize_{-1, -1};
  bool regionSet_ = false;
  HMENU systemMenu_ = nullptr;
  HWND grip_ = nullptr;
  bool painting_ = false;
  gfx::TRect titleRect_;
  framework::TBitmap captionBitmap_;
  framework::TBitmap iconBitmap_;
  framework::TGdiBrush buttonFaceBrush_;
  gfx::TColor buttonFaceColor_ = 0;
  struct TBorderCache {
    gfx::TPoint Size{-1, -1};
    int32_t Frame = 0;
    std::unique_ptr<framework::TBitmap> Image;
  };
  TBorderCache borderCache_[4];
  std::unique_ptr<TCaptionButtons> buttons_;
  std::unique_ptr<TWinSkinMenu> menuBar_;
  std::unique_ptr<TBarMenuTracking> barTracking_;
  // The client of an MDI frame, watched while the frame is skinned.
  std::unique_ptr<TMdiClientHook> mdiClient_;
  HMENU systemMenuOpen_ = nullptr;
  bool menusPrepared_ = false;
  std::unique_ptr<framework::TTimer> timer_;
  std::vector<std::unique_ptr<TFrameCompanion>> companions_;
};

} // namespace skin
