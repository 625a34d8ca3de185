#pragma once
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/FormDescription.h"
#include "framework/ShortCut.h"
#include "framework/win32/Controls.h"

// Forms (top-level windows holding controls, created from a form description
// stored as a resource), the application object that runs the message loop
// and reports errors, and the screen.
namespace framework {

class TMainMenu;
class TMenu;

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint8_t;
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition : uint8_t { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // Raises OnDestroy and frees the owned components. A form class whose
  // handlers use its own fields calls it first in its destructor, so that
  // OnDestroy and the events components raise while they go still find the
  // whole form; TForm's destructor calls it otherwise. Runs once.
  void BeforeDestruction();

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // Streams the form's description (the resource named after the class,
  // "<CLASSNAME>.FORM") when there is one, then raises OnCreate. Runs once;
  // Application.CreateForm calls it. An error in OnCreate is reported and
  // the form stays usable, as with any event.
  void InitForm();
  // Reads a description given as text (binary files from the loader).
  void ReadDescription(std::string_view text, const TBinaryLoader& loader = {});

  [[nodiscard]] TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  [[nodiscard]] TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  [[nodiscard]] TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  [[nodiscard]] TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  [[nodiscard]] bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  [[nodiscard]] int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value) { pixelsPerInch_ = value > 0 ? value : pixelsPerInch_; }
  // When on, a form stored at another resolution is scaled to the screen's
  // when it is loaded.
  [[nodiscard]] bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  [[nodiscard]] bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }
  [[nodiscard]] int StoredClientWidth() const { return ClientWidth(); }
  [[nodiscard]] int StoredClientHeight() const { return ClientHeight(); }
  [[nodiscard]] gfx::TRect ClientRect() const override;
  void SetClientSize(int width, int height) override;

  void SetVisible(bool value) override;
  void Show();
  void Close();
  TModalResult ShowModal();
  [[nodiscard]] TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  // Frees the form once the messages now waiting have been handled.
  void Release();
  [[nodiscard]] TCanvas& Canvas() { return PaintCanvas(); }
  [[nodiscard]] TWinControl* ActiveControl() const;

  // The menu bar. Showing one does not take room from the client area: the
  // window grows by the bar's height (and shrinks again without it).
  [[nodiscard]] TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);
  // ----- Several documents in one window -----
  // A form of style fsMDIForm holds an MDI client window in what its aligned
  // controls leave of its client area; forms of style fsMDIChild live in the
  // main form's client. Without an MDI main form a child cannot be made.
  [[nodiscard]] HWND ClientHandle() const { return clientHandle_; }
  [[nodiscard]] TForm* ActiveMDIChild() const;
  [[nodiscard]] int MDIChildCount() const;
  [[nodiscard]] TForm* MDIChildren(int index) const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();

  // The menu that has an item for this shortcut: the menu bar, then the
  // pop-up menus of the control with the focus and of its parents; nullptr
  // when none has.
  [[nodiscard]] TMenu* ShortCutMenu(TShortCut shortCut, TControl* focused) const;

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void ChangeScale(int m, int d) override;
  void WndProc(TMessage& message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DefaultHandler(TMessage& message) override;
  void Paint() override { OnPaint(this); }
  virtual void DoCreate();
  virtual void DoDestroy();

private:
  void PlaceOnScreen();
  // Puts the menu's current handle in the window (or none), keeping the
  // client area's size.
  void AttachMenu();
  bool OfferDialogChar(TMessage& message);
  [[nodiscard]] DWORD WindowStyle() const;
  [[nodiscard]] DWORD WindowExStyle() const;
  void CreateMDIClient();
  // Lays the MDI client over what the aligned controls leave free.
  void PlaceMDIClient();
  [[nodiscard]] std::vector<TForm*> MDIChildForms() const;

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
  TFormStyle formStyle_ = fsNormal;
  TPosition position_ = poDesigned;
  bool keyPreview_ = false;
  int pixelsPerInch_;
  bool scaled_ = true;
  bool autoScroll_ = false;
  bool initialised_ = false;
  bool destructionBegun_ = false;
  bool placed_ = false;
  int modalResult_ = mrNone;
  bool modal_ = false;
  int pendingClientWidth_ = -1, pendingClientHeight_ = -1;
  TMainMenu* menu_ = nullptr;
  HWND clientHandle_ = nullptr;
};

// The MDI main form's client window an MDI child is made in; throws when
// the application's main form is not an MDI form with its window made.
[[nodiscard]] HWND MDIParentClient();

// The form a window belongs to: the form of its control, or, for a window
// standing alone on the screen (a control shown full screen), the form
// that owns it. nullptr when there is none.
[[nodiscard]] TForm* FormOfWindow(HWND window);

// The screen: size and resolution, the forms in the order they were made,
// and the font of menus.
class TScreen {
public:
  [[nodiscard]] int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  [[nodiscard]] int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  [[nodiscard]] int PixelsPerInch() const;

  // Every form that exists, in creation order; a form leaves the list when
  // its destruction begins.
  [[nodiscard]] int FormCount() const { return int(forms_.size()); }
  [[nodiscard]] TForm* Forms(int index) const;
  // The platform's menu font (the non-client metrics' menu font).
  [[nodiscard]] TControlFont* MenuFont();

  // A form is about to appear: its window exists and is placed, but is not
  // visible yet. What draws forms' frames sets this one up here, so that the
  // form never shows without it. The sender is the form.
  TNotifyEvent OnFormShowing;

private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);

  std::vector<TForm*> forms_;
  std::unique_ptr<TControlFont> menuFont_;
};
extern TScreen* Screen;

using TExceptionEvent = TEvent<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // Common controls, the platform's colours, COM for the shell dialogs, and
  // the registry of the standard control classes. Safe to call twice.
  void Initialize();
  [[nodiscard]] const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  // A hidden window that owns the forms' dialogs and carries the title.
  [[nodiscard]] HWND Handle();

  // Creates a form owned by the application and streams its description;
  // the first form created becomes the main form.
  template <class T>
  void CreateForm(T*& reference)
  {
    reference = nullptr;
    auto* form = new T(this);
    try {
      form->InitForm();
    } catch (...) {
      delete form;
      throw;
    }
    reference = form;
    if (!mainForm_)
      mainForm_ = form;
  }
  [[nodiscard]] TForm* MainForm() const { return mainForm_; }
  // Shows the main form and handles messages until the program ends.
  void Run();
  void ProcessMessages();
  // Waits for and handles one message.
  void HandleMessage();
  void Terminate();
  [[nodiscard]] bool Terminated() const { return terminated_; }
  // True while Run handles messages.
  [[nodiscard]] bool Running() const { return running_; }

  // Reports the exception being handled (call from a catch block): OnException
  // when assigned, else a message box with the error's text.
  void HandleException(TObject* sender);
  // Shows the error's text in a message box titled with the application's
  // title. An error raised while a report is on screen is shown after it,
  // once: boxes never pile up on each other.
  void ShowException(const std::exception& e);
  TExceptionEvent OnException;

  // The hint of what the user points at in a menu; OnHint is raised when it
  // changes (a status bar may show it).
  [[nodiscard]] const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  TNotifyEvent OnHint;

  // Hints.
  [[nodiscard]] bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  [[nodiscard]] int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  [[nodiscard]] int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  // Hides the hint being shown; the control under the mouse shows its hint
  // again after the pause when the mouse next moves.
  void CancelHint();
  [[nodiscard]] HWND HintWindow() const { return hintWindow_; }
  [[nodiscard]] TControl* MouseControl() const { return mouseControl_; }

  // Called by controls: the mouse is over a control; a window lost the
  // mouse; a control or window is going away.
  void MouseOver(TControl* control);
  void MouseLeftWindow(TWinControl* control);
  void ControlDestroyed(TControl* control);
  void WindowGone(TWinControl* control);

private:
  static LRESULT CALLBACK AppWindowProc(HWND, UINT, WPARAM, LPARAM);
  bool ProcessMessage(MSG& msg);
  bool IsShortCutKey(MSG& msg);
  bool IsDialogChar(MSG& msg);
  bool IsDialogKey(MSG& msg);
  void HintTimerFired();
  void ShowHintWindow();
  void HideHintWindow();
  [[nodiscard]] static bool EffectiveShowHint(const TControl* control);

  std::string title_;
  std::string hint_;
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool running_ = false;
  bool initialized_ = false;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  TControl* mouseControl_ = nullptr;
  TControl* hintControl_ = nullptr;
  HWND hintWindow_ = nullptr;
  bool hintShown_ = false;
  std::wstring hintText_;
  bool reporting_ = false;
  std::vector<std::string> pendingReports_;
};

extern TApplication* Application;

// Registers every control class of the framework for form descriptions.
void RegisterStandardClasses();

} // namespace framework
