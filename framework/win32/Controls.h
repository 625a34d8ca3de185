#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Component.h"
#include "framework/TypeInfo.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Messages.h"
#include "gfx/Geometry.h"

// Controls: TControl (bounds, alignment, appearance, mouse, the window-
// procedure chain), TWinControl (a control with a window, its children, focus
// and keyboard), TCustomControl (a windowed control that paints itself on a
// canvas) and TGraphicControl (a windowless control painted by its parent).
//
// Every message a control gets goes through WindowProc, which starts as the
// control's WndProc; derived classes override WndProc and pass what they do
// not handle to the base, which ends in DefaultHandler (the window class's
// own procedure). Perform sends a message straight into that chain.
namespace framework {

class TWinControl;
class TForm;
class TPopupMenu;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = uint8_t;
constexpr TAnchors kDefaultAnchors = (1u << akLeft) | (1u << akTop);
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = uint8_t;
using TCursor = int32_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

// Control style flags.
enum TControlStyleItem : uint32_t {
  csAcceptsControls = 1u << 0,
  csCaptureMouse = 1u << 1,
  csClickEvents = 1u << 2,
  csFramed = 1u << 3,
  csSetCaption = 1u << 4,
  csOpaque = 1u << 5,
  csDoubleClicks = 1u << 6,
  csParentBackground = 1u << 7,
};
using TControlStyle = uint32_t;

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, wchar_t& Key)>;
using TCanResizeEvent = TEvent<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;

const TEnumInfo& AlignInfo();
const TEnumInfo& AnchorInfo();
const TEnumInfo& AlignmentInfo();

[[nodiscard]] TShiftState KeysToShiftState(WPARAM keys);
[[nodiscard]] TShiftState KeyboardStateToShiftState();

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // ----- Position and size (in the parent's client coordinates) -----
  [[nodiscard]] int Left() const { return left_; }
  [[nodiscard]] int Top() const { return top_; }
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  [[nodiscard]] gfx::TRect BoundsRect() const { return gfx::TRect::Bounds(left_, top_, width_, height_); }
  [[nodiscard]] virtual gfx::TRect ClientRect() const;
  [[nodiscard]] int ClientWidth() const { return ClientRect().Width(); }
  [[nodiscard]] int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientSize(int width, int height);
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  [[nodiscard]] gfx::TPoint ClientToScreen(gfx::TPoint point) const;
  [[nodiscard]] gfx::TPoint ScreenToClient(gfx::TPoint point) const;
  // Where the control's client origin lies in its parent window's client
  // area (windowless controls) or in its own window.
  [[nodiscard]] virtual gfx::TPoint ClientOrigin() const;

  [[nodiscard]] TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  [[nodiscard]] TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value) { anchors_ = value; }
  [[nodiscard]] bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Given a proposed size, adjusts it to what the control's content needs;
  // answers whether the control may be resized at all.
  virtual bool CanAutoSize(int& newWidth, int& newHeight);
  void AdjustSize();

  // ----- Appearance -----
  [[nodiscard]] bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, with every parent visible up to a top-level window.
  [[nodiscard]] bool Showing() const;
  [[nodiscard]] bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  [[nodiscard]] gfx::TColor Color() const { return color_; }
  void SetColor(gfx::TColor value);
  [[nodiscard]] bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  [[nodiscard]] TControlFont* Font() const { return font_.get(); }
  [[nodiscard]] bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  [[nodiscard]] virtual std::string Caption() const { return caption_; }
  virtual void SetCaption(const std::string& value);
  [[nodiscard]] std::string Text() const { return Caption(); }
  void SetText(const std::string& value) { SetCaption(value); }
  [[nodiscard]] const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  [[nodiscard]] bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  [[nodiscard]] bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  [[nodiscard]] TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  [[nodiscard]] TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

  // The menu a right click on the control opens (when its AutoPopup is on).
  [[nodiscard]] TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  void Notification(TComponent* component, TOperation operation) override;

  // ----- Parent -----
  [[nodiscard]] TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  [[nodiscard]] TComponent* GetParentComponent() const override;
  [[nodiscard]] bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* parent) override;
  // The form this control is placed on (the outermost windowed parent that is a form).
  [[nodiscard]] TForm* ParentForm() const;
  void BringToFront();
  void SendToBack();

  // ----- Painting -----
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }

  // ----- Messages -----
  // Sends a message through WindowProc and answers its Result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  // ----- Scaling -----
  // Scales position, size and font by m/d (MulDiv), children included.
  void ScaleBy(int m, int d);
  virtual void ChangeScale(int m, int d);

  void Loaded() override;

  virtual void Click();
  virtual void DblClick();
  // Raises OnMouseDown; public so that a companion painting or handling the
  // control's window on its behalf can pass a press on.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;

protected:
  friend class TWinControl;
  friend class TApplication;

  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Resize();
  // Called after the bounds changed (before OnResize).
  virtual void BoundsChanged() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged() {}
  // The parent's font or colour changed: follow it when told to.
  void ParentFontChanged();
  void ParentColorChanged();
  void ParentShowHintChanged();
  // Moves the control's window, if it has one. Windowless controls repaint
  // the area of the parent instead.
  virtual void UpdateBounds(const gfx::TRect& oldBounds);
  void RequestAlign();
  // Handles mouse messages common to every control: events, clicks,
  // mouse enter and leave.
  void HandleMouse(TMessage& message);

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TWinControl* parent_ = nullptr;
  TAlign align_ = alNone;
  TAnchors anchors_ = kDefaultAnchors;
  bool autoSize_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  gfx::TColor color_ = gfx::clBtnFace;
  bool parentColor_ = false;
  std::unique_ptr<TControlFont> font_;
  bool parentFont_ = true;
  bool followingParentFont_ = false;
  std::string caption_;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  bool mouseDownInside_ = false;
  bool adjustingSize_ = false;
  TPopupMenu* popupMenu_ = nullptr;
};

// Creation parameters of a control's window.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  // A system window class (BUTTON, EDIT...) to subclass, or empty for a
  // class of our own named after the framework class.
  std::wstring SystemClass;
  std::wstring OwnClassName;
  UINT ClassStyle = CS_DBLCLKS;
  // The icon of a class of our own (caption and task bar of a top-level window).
  HICON ClassIcon = nullptr;
};

// Told when a control's window is about to be destroyed (while it still
// exists, on every path: DestroyHandle, RecreateWnd, the control's end, a
// parent window's end) and after a new window was made. Whoever subclasses a
// control's window listens, so that it lets go of the old window in time and
// takes up the new one.
class THandleListener {
public:
  virtual void HandleDestroying(TWinControl* control, HWND window) = 0;
  virtual void HandleCreated(TWinControl* control, HWND window) = 0;

protected:
  virtual ~THandleListener() = default;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // The window; made when first asked for (with the parents' windows).
  [[nodiscard]] HWND Handle();
  [[nodiscard]] HWND HandleIfAllocated() const { return handle_; }
  [[nodiscard]] bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // Destroys the window and makes a new one with the current properties.
  void RecreateWnd();
  void DestroyHandle();
  // A window that is not part of the framework to be placed in, when the
  // control has no Parent.
  [[nodiscard]] HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND window);

  [[nodiscard]] int ControlCount() const { return int(controls_.size()); }
  [[nodiscard]] TControl* Controls(int index) const { return controls_.at(size_t(index)); }
  [[nodiscard]] TControl* ControlAtPos(gfx::TPoint point, bool allowDisabled = false) const;
  [[nodiscard]] int TabOrder() const;
  void SetTabOrder(int value);
  [[nodiscard]] bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // Every windowed control inside this one, depth first, in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  [[nodiscard]] bool CanFocus() const;
  [[nodiscard]] bool Focused() const;
  virtual void SetFocus();
  // Moves the focus to the next (or previous) tab stop after current.
  void SelectNext(TWinControl* current, bool forward);

  [[nodiscard]] bool ParentBackground() const { return (controlStyle_ & csParentBackground) != 0; }
  void SetParentBackground(bool value);

  void AlignControls();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  void SetBounds(int left, int top, int width, int height) override;
  [[nodiscard]] gfx::TRect ClientRect() const override;
  [[nodiscard]] gfx::TPoint ClientOrigin() const override;
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  [[nodiscard]] std::string Caption() const override;
  void SetCaption(const std::string& value) override;
  void Invalidate() override;
  void Update() override;
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void ChangeScale(int m, int d) override;
  void Loaded() override;

  // The object of a window made by the framework, or nullptr. The one way
  // from a window to its control.
  [[nodiscard]] static TWinControl* FindControl(HWND window);

  // Listeners to the making and destruction of the window. A listener is
  // told in the order added; it may remove itself while told.
  void AddHandleListener(THandleListener* listener);
  void RemoveHandleListener(THandleListener* listener);

  // Paints the windowless children on a canvas in the control's client
  // coordinates; public for companions that paint the window themselves.
  void PaintControls(TCanvas& canvas);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

protected:
  friend class TControl;
  friend class TApplication;
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);

  virtual void CreateParams(TCreateParams& params);
  // Makes the window; derived classes override to set the window up after
  // the base made it (ranges, items, fonts).
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // The window is about to go: save what only the window holds (typed text).
  virtual void WindowDestroying() {}
  // The area children are aligned in (client area less borders and captions).
  virtual gfx::TRect AdjustClientRect(gfx::TRect rect) const { return rect; }
  void UpdateBounds(const gfx::TRect& oldBounds) override;
  void FontChanged() override;
  void ColorChanged() override;

  // Painting of windows of our own classes: the window is drawn into a
  // bitmap (background, Paint, windowless children) and copied at once.
  virtual void PaintWindow(HDC dc);
  virtual void Paint() {}
  [[nodiscard]] TCanvas& PaintCanvas();
  [[nodiscard]] bool OwnClass() const { return ownClass_; }

  // Key handling shared by every windowed control: the form sees keys first
  // when it has KeyPreview. Answers true when the key was consumed.
  bool DoKeyDown(TMessage& message);
  bool DoKeyPress(TMessage& message);
  bool DoKeyUp(TMessage& message);

  [[nodiscard]] HBRUSH BackgroundBrush();

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  bool ownClass_ = false;
  std::vector<TControl*> controls_;
  HWND parentWindow_ = nullptr;
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool alignPending_ = false;
  bool aligning_ = false;
  int lastClientWidth_ = -1, lastClientHeight_ = -1;
  TControl* mouseCapture_ = nullptr;
  TGdiBrush brush_;
  std::unique_ptr<TCanvas> idleCanvas_;
  TCanvas* paintCanvas_ = nullptr;
  bool creating_ = false;

private:
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void AttachHandle(HWND window);
  void DetachHandle();
  void ReflectNotification(TMessage& message, HWND child);
  void ApplyAnchors(int oldWidth, int oldHeight, int newWidth, int newHeight);
  bool RouteMouseToGraphic(TMessage& message);
  // Makes the window (CreateWnd) and tells the listeners.
  void CreateHandle();
  void NotifyHandleDestroying();

  // The handlers WndProc dispatches to: each answers true when it dealt
  // with the message, false to pass it on to TControl's handling.
  bool WMPaint(TMessage& message);
  bool WMEraseBkgnd(TMessage& message);
  bool WMWindowPosChanged(TMessage& message);
  bool WMChildCommand(TMessage& message);
  bool WMNotify(TMessage& message);
  bool WMCtlColor(TMessage& message);
  bool WMDrawItem(TMessage& message);
  bool CNCtlColor(TMessage& message);
  bool WMSetFocus(TMessage& message);
  bool WMKillFocus(TMessage& message);
  bool WMSetCursor(TMessage& message);
  bool WMMouseLeave(TMessage& message);
  bool WMContextMenu(TMessage& message);
  bool WMDestroy(TMessage& message);
  bool WMMouse(TMessage& message);

  std::vector<THandleListener*> handleListeners_;
  // The window the listeners were last told is going, so they hear it once.
  HWND destroyNotified_ = nullptr;
};

// A windowed control that paints itself: override Paint and draw on Canvas.
// Canvas draws only while Paint runs (it is the bitmap the window is drawn
// into); elsewhere it has no surface and draws nothing.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }
  [[nodiscard]] TCanvas& Canvas() { return PaintCanvas(); }

protected:
  void Paint() override {}
};

// A control without a window, drawn by its parent on the parent's canvas in
// the control's own coordinates.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }
  // Valid while Paint runs.
  [[nodiscard]] TCanvas& Canvas();

  virtual void Paint() {}
  // The parent paints a windowless control by sending it WM_PAINT (WParam 0)
  // through WindowProc while Canvas is set up, so that whatever stands in
  // front of the control may paint it instead; this ends in Paint.
  void WndProc(TMessage& message) override;

protected:
  friend class TWinControl;
  TCanvas* paintCanvas_ = nullptr;
  std::unique_ptr<TCanvas> idleCanvas_;
};

// The registered window procedure of every framework window.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace framework
