#pragma once
// TSkinControl: the companion that sits in front of a standard control's
// window procedure and paints it from the skin. The control keeps its own
// behaviour; the companion takes over painting and the little state machine
// of hot, pressed, focused and disabled looks.
//
// It attaches either to a framework control, through the control's
// WindowProc chain, or to a bare window of a system dialog, through a
// subclass. Both ends meet in one dispatcher: the skin switch message, then
// BeforeMessage, the control's own procedure, AfterMessage. Descendants
// override those hooks and DrawSkin, and use the shared painting helpers here.
#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/win32/Controls.h"
#include "framework/win32/Messages.h"
#include "framework/win32/Subclass.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "skin/frame/FrameCompanion.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace skin {

class TSkinData;
class TWinSkinForm;

// The private messages shared with the frame and the manager.
inline constexpr UINT WM_SKIN_SWITCH = 0x3506;
// Asks a skinned edit to paint its text on the DC in WParam. It carries the
// skin-aware tag in LParam and is answered with the tag.
inline constexpr UINT WM_SKIN_EDIT_PAINT = 0xBC4A;

// A skin colour (system colours resolved) as GDI takes it.
[[nodiscard]] COLORREF ColourRef(gfx::TColor color);

// Asks the system for a WM_MOUSELEAVE once the mouse leaves window, so that a
// hot look can be taken back.
void AskForLeaveNotice(HWND window);

// The companion's life: new, attached, un-skinned (panels), destroyed.
enum TCompanionLife : int32_t { clNew = 0, clAttached = 1, clUnskinned = 2, clKeepColour = 4, clDestroyed = 6 };

// Bits of the look state; descendants add their own above these.
enum TLookBit : uint8_t { lbHot = 1u << 0, lbPressed = 1u << 1 };

class TSkinControl : public framework::TObject, public TFrameCompanion, private framework::THandleListener {
public:
  TSkinControl();
  ~TSkinControl() override;
  TSkinControl(const TSkinControl&) = delete;
  TSkinControl& operator=(const TSkinControl&) = delete;

  // Attaches to a framework control; a second attach does nothing.
  virtual void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour);
  // Attaches to a window that has no framework object.
  virtual void AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window);

  // TFrameCompanion
  [[nodiscard]] bool Discarded() const override { return life_ == clDestroyed; }
  [[nodiscard]] bool Skins(HWND window) const override { return window_ && window_ == window; }
  void Unskin() override;
  void SkinChanged() override;

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] framework::TWinControl* Control() const { return control_; }
  // The framework control skinned, with a window or without one.
  [[nodiscard]] framework::TControl* SkinnedControl() const;
  [[nodiscard]] bool SkinActive() const { return skinActive_; }
  [[nodiscard]] uint8_t LookState() const { return look_; }
  [[nodiscard]] TCompanionLife Life() const { return life_; }
  [[nodiscard]] int32_t Mode() const { return mode_; }
  // Whether the control's Color is replaced by the skin's face colour while
  // skinned. A companion the application hands in sets it before attaching.
  [[nodiscard]] bool Recolour() const { return recolour_; }
  void SetRecolour(bool value) { recolour_ = value; }

protected:
  // Before the control's own procedure: true passes the message on, false
  // means it was handled completely.
  virtual bool BeforeMessage(framework::TMessage& message);
  // After the control's own procedure handled a message BeforeMessage let through.
  virtual void AfterMessage(framework::TMessage& message);
  // Paints the whole window now, on dc or, when it is null, on the window's DC.
  virtual void PaintNow(HDC dc);
  // Draws the control on dc over rect (origin 0,0, the window's size).
  virtual void DrawSkin(HDC /*dc*/, const gfx::TRect& /*rect*/) {}
  // The skin was switched off or on for this control: windows a companion
  // keeps of its own (overlays, buttons) hide or show with it.
  virtual void SkinSwitched(bool /*active*/) {}

  // Takes the control and the skin without stepping into the control's
  // window procedure (panels only recolour); recolours when asked.
  void BindControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour);
  // Lets go of the control when its window goes, for companions that bound
  // themselves without the window procedure.
  void ListenForControlEnd();
  // Attaches to a control without a window: its WindowProc, and repaints
  // through its Invalidate. A second attach does nothing.
  void AttachWindowless(TWinSkinForm& form, TSkinData& data, framework::TControl& control);
  // Gives the control its ParentBackground and Color back.
  void GiveColourBack();
  // Draws through an off-screen bitmap of rect's size, copied to dc in one
  // transfer, so that the control never shows a half-drawn face. onCanvas,
  // when given, then draws on the face bitmap's own canvas.
  void DrawThroughFace(HDC dc, const gfx::TRect& rect, const std::function<void(HDC)>& draw,
                       const std::function<void(framework::TBitmap&)>& onCanvas = {});
  // The same through a bitmap the caller keeps (one several companions share).
  static void DrawThroughBitmap(framework::TBitmap& bitmap, HDC dc, const gfx::TRect& rect,
                                const std::function<void(HDC)>& draw,
                                const std::function<void(framework::TBitmap&)>& onCanvas = {});

  // Passes the message to the procedure the companion was put in front of.
  void PassOn(framework::TMessage& message);
  void Repaint();
  // WM_PAINT routed here paints through DrawSkin; not passed on.
  void PaintHandler(framework::TMessage& message);
  // WM_ERASEBKGND routed here paints the parent's background; not passed on.
  void EraseHandler(framework::TMessage& message);
  // Forwards a left press to the framework control, with the cursor's own
  // position for controls too large for the message's 16-bit coordinates.
  void ForwardMouseDown(const framework::TMessage& message);

  // Fills in the skin's ButtonFace, in the parent's colour, or in any colour.
  void FillSkinColour(HDC dc, const gfx::TRect& rect) const;
  void FillParentColour(HDC dc, const gfx::TRect& rect) const;
  // The published Color of the control's parent, or ButtonFace.
  [[nodiscard]] gfx::TColor ParentColour() const;
  static void FillColour(HDC dc, const gfx::TRect& rect, gfx::TColor color);
  // A one-pixel ring just inside rect in a colour; rings inside it follow
  // from the rectangle moved in by one each.
  static void FrameColour(HDC dc, const gfx::TRect& rect, gfx::TColor color);
  // The skin's border around an edit-like control: rings from the outside
  // in, the first in ButtonShadow, the rest white.
  void FrameSkinBorder(HDC dc, const gfx::TRect& rect, int32_t rings) const;
  // Draws text with the control's reading order added to format.
  void DrawUnicodeText(HDC dc, const std::wstring& text, RECT& rect, UINT format) const;
  // A focus rectangle around caption_ as it is drawn into rect with format.
  void DrawFocusAroundText(HDC dc, UINT format, const RECT& rect) const;
  [[nodiscard]] bool RightToLeft() const;

  // The caption as the control has it now (framework Caption or window text).
  [[nodiscard]] std::wstring ReadCaption() const;
  // The font to draw the caption with and its colour.
  [[nodiscard]] HFONT CaptionFont() const;
  [[nodiscard]] gfx::TColor FontColour() const;
  // Reads the enabled look and the focus from the window.
  void ReadWindowState();
  [[nodiscard]] bool HasStyle(DWORD bits) const;

  [[nodiscard]] TSkinData& Data() const { return *data_; }
  [[nodiscard]] TWinSkinForm* Form() const { return form_; }

  uint8_t look_ = 0;
  bool handled_ = false;
  bool enabledLook_ = true;
  bool focused_ = false;
  std::wstring caption_;
  bool unicode_ = true;
  gfx::TRect windowRect_;
  // When set, a repaint invalidates this control (a control without a window).
  framework::TControl* repaintTarget_ = nullptr;
  bool recolour_ = false;
  int32_t mode_ = 0;
  bool spare_ = false;
  TCompanionLife life_ = clNew;

private:
  class TBareWindowHook;
  class TControlEndWatch;

  void Dispatch(framework::TMessage& message);
  void RestoreWindowProc();
  void SwitchParentBackgroundOff();
  void GiveParentBackgroundBack();

  // THandleListener: the control's window goes; the companion lets go of it
  // while the control is still whole.
  void HandleDestroying(framework::TWinControl* control, HWND window) override;
  void HandleCreated(framework::TWinControl*, HWND) override {}
  // A control without a window is being freed: nothing of it may be touched.
  void WindowlessControlGone();

  TSkinData* data_ = nullptr;
  TWinSkinForm* form_ = nullptr;
  HWND window_ = nullptr;
  framework::TWinControl* control_ = nullptr;
  framework::TControl* windowless_ = nullptr;
  std::unique_ptr<TControlEndWatch> windowlessWatch_;
  framework::TWndMethod previousWindowProc_;
  std::unique_ptr<TBareWindowHook> hook_;
  bool skinActive_ = true;
  bool attached_ = false;
  gfx::TColor savedColour_ = 0;
  bool backgroundSwitched_ = false;
  framework::TBitmap face_;
};

} // namespace skin
