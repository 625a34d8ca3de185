#include "app/MainForm.h"

#include "app/CommandLine.h"
#include "app/PlayerQuery.h"
#include "app/ProgramVersion.h"
#include "effects/EffectTable.h"
#include "framework/Graphic.h"
#include "framework/MuteScope.h"
#include "framework/win32/FileCtrl.h"
#include "framework/win32/HeapUsage.h"
#include "gfx/Random.h"
#include "gfx/win32/GdiHandles.h"

#include <algorithm>
#include <cstdio>

using namespace framework;

namespace {

constexpr const char* kFolderBrowserCaption = "Select folder of images for slide show:";
constexpr const char* kNoPicturesText = "The specified folder does not contain any supported image file.";

enum TStatusPanelIndex { spShowing, spNext, spCount, spFolder };

std::string WithoutTrailingBackslash(std::string path)
{
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/'))
    path.pop_back();
  return path;
}

} // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {}

TMainForm::~TMainForm()
{
  BeforeDestruction();
}

const TClassInfo& TMainForm::ClassType()
{
  static TClassInfo info("TMainForm", &TForm::ClassType(),
                         [](TComponent* owner) -> TComponent* { return new TMainForm(owner); });
  static const bool published = [] {
    using F = TMainForm;
    info.Field("Lumetta", &F::Lumetta);
    info.Field("StatusBar1", &F::StatusBar1);
    info.Field("Button1", &F::Button1);
    info.Field("lblStyleNo", &F::lblStyleNo);
    info.Field("cbStyle", &F::cbStyle);
    info.Field("rgStyleControl", &F::rgStyleControl);
    info.Field("rbProgressAuto", &F::rbProgressAuto);
    info.Field("rbProgressManual", &F::rbProgressManual);
    info.Field("lblStep", &F::lblStep);
    info.Field("lblDelay", &F::lblDelay);
    info.Field("edtProgressStep", &F::edtProgressStep);
    info.Field("udProgressStep", &F::udProgressStep);
    info.Field("edtProgressDelay", &F::edtProgressDelay);
    info.Field("udProgressDelay", &F::udProgressDelay);
    info.Field("ckExactTiming", &F::ckExactTiming);
    info.Field("ckThreaded", &F::ckThreaded);
    info.Field("tbProgress", &F::tbProgress);
    info.Field("ckCenter", &F::ckCenter);
    info.Field("ckStretch", &F::ckStretch);
    info.Field("ckProportional", &F::ckProportional);
    info.Field("cbBackgroundMode", &F::cbBackgroundMode);
    info.Field("edtFrameWidth", &F::edtFrameWidth);
    info.Field("udFrameWidth", &F::udFrameWidth);
    info.Field("ckOverDraw", &F::ckOverDraw);
    info.Field("lblDisplayIntervalValue", &F::lblDisplayIntervalValue);
    info.Field("tbDisplayInterval", &F::tbDisplayInterval);
    info.Field("Timer", &F::Timer);
    info.Field("OpenPictureDialog", &F::OpenPictureDialog);
    info.Field("ColorDialog", &F::ColorDialog);
    info.Field("SkinData1", &F::SkinData1);
    info.Field("MainMenu", &F::MainMenu);
    info.Field("mnuPause", &F::mnuPause);
    info.Field("mnuNext", &F::mnuNext);
    info.Field("mnuPrevious", &F::mnuPrevious);
    info.Field("mnuInOrder", &F::mnuInOrder);
    info.Field("mnuRandom", &F::mnuRandom);
    info.Field("mnuFixed", &F::mnuFixed);
    info.Field("mnuManual", &F::mnuManual);
    info.Field("mnuFullScreen", &F::mnuFullScreen);
    info.Field("mnuCentre", &F::mnuCentre);
    info.Field("mnuStretch", &F::mnuStretch);
    info.Field("mnuKeepProportion", &F::mnuKeepProportion);
    info.Field("mnuStatusBar", &F::mnuStatusBar);
    info.Field("mnuExit", &F::mnuExit);
    info.Field("DisplayMenu", &F::DisplayMenu);
    info.Field("popPause", &F::popPause);
    info.Field("popNext", &F::popNext);
    info.Field("popPrevious", &F::popPrevious);
    info.Field("popFullScreen", &F::popFullScreen);

    info.Method("FormCreate", &F::FormCreate);
    info.Method("FormDestroy", &F::FormDestroy);
    info.Method("FormActivate", &F::FormActivate);
    info.Method("FormKeyDown", &F::FormKeyDown);
    info.Method("TimerTimer", &F::TimerTimer);
    info.Method("LumettaStart", &F::LumettaStart);
    info.Method("LumettaStop", &F::LumettaStop);
    info.Method("LumettaProgress", &F::LumettaProgress);
    info.Method("LumettaDblClick", &F::LumettaDblClick);
    info.Method("cbStyleChange", &F::cbStyleChange);
    info.Method("rgStyleControlClick", &F::rgStyleControlClick);
    info.Method("rbProgressAutoClick", &F::rbProgressAutoClick);
    info.Method("rbProgressManualClick", &F::rbProgressManualClick);
    info.Method("SettingChange", &F::SettingChange);
    info.Method("tbProgressChange", &F::tbProgressChange);
    info.Method("btnChangePathClick", &F::btnChangePathClick);
    info.Method("btnChangeBackgroundClick", &F::btnChangeBackgroundClick);
    info.Method("btnChangeFrameColorClick", &F::btnChangeFrameColorClick);
    info.Method("mnuExitClick", &F::mnuExitClick);
    info.Method("mnuPauseClick", &F::mnuPauseClick);
    info.Method("mnuNextClick", &F::mnuNextClick);
    info.Method("mnuPreviousClick", &F::mnuPreviousClick);
    info.Method("mnuOrderClick", &F::mnuOrderClick);
    info.Method("mnuManualClick", &F::mnuManualClick);
    info.Method("mnuFullScreenClick", &F::mnuFullScreenClick);
    info.Method("mnuLayoutClick", &F::mnuLayoutClick);
    info.Method("mnuStatusBarClick", &F::mnuStatusBarClick);
    info.Method("mnuAboutClick", &F::mnuAboutClick);
    return true;
  }();
  (void)published;
  return info;
}

void TMainForm::FormCreate(TObject*)
{
  gfx::Randomize();
  prefetch_ = std::make_unique<TPicturePrefetch>([this] { NextPictureReady(); });
  Lumetta->GetStyleNames(*cbStyle->Items());
  // The display's stored settings are where the model starts.
  model_.Style = Lumetta->Style();
  model_.Manual = Lumetta->Manual();
  model_.Step = Lumetta->Step();
  model_.Delay = Lumetta->Delay();
  model_.ExactTiming = Lumetta->ExactTiming();
  model_.Threaded = Lumetta->Threaded();
  model_.OverDraw = Lumetta->OverDraw();
  model_.Fit = TPictureFit{Lumetta->Center(), Lumetta->Stretch(), Lumetta->Proportional()};
  model_.BackgroundMode = int(Lumetta->BgMode());
  model_.FrameWidth = Lumetta->FrameWidth();
  model_.DisplayInterval = Timer->Interval();
  model_.Order = TEffectOrder(std::clamp(rgStyleControl->ItemIndex(), 0, int(eoFixed)));
  tbProgress->SetMin(0);
  tbProgress->SetMax(100);
  tbProgress->SetFrequency(10);
  tbProgress->SetPosition(Lumetta->Progress());
  ShowModel();
  Application->OnHint = TNotifyEvent([this](TObject*) { ShowStatusHint(); });

  const std::vector<std::string> parameters = CommandLineParameters();
  OpenFolder(parameters.empty() ? ProgramFolder() + "Photos" : parameters.front());
  UpdateTimer();
}

void TMainForm::FormDestroy(TObject*)
{
  Application->OnHint = TNotifyEvent();
  prefetch_.reset();
}

void TMainForm::FormActivate(TObject*) {}

void TMainForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState)
{
  if (Key == VK_ESCAPE && model_.FullScreen) {
    SetFullScreen(false);
    Key = 0;
  }
}

void TMainForm::TimerTimer(TObject*)
{
  ShowNextPicture();
}

void TMainForm::LumettaStart(TObject*, TBitmap&, TBitmap&)
{
  UpdateTimer();
  LoadNextPicture();
}

void TMainForm::LumettaStop(TObject*)
{
  ++transitionsEnded_;
  TakeNextPicture(false);
  UpdateTimer();
}

void TMainForm::LumettaProgress(TObject*)
{
  tbProgress->SetPosition(Lumetta->Progress());
}

void TMainForm::LumettaDblClick(TObject*)
{
  SetFullScreen(!model_.FullScreen);
}

void TMainForm::WndProc(TMessage& message)
{
  if (message.Msg == PlayerQueryMessage()) {
    message.Result = AnswerQuery(message.WParam);
    return;
  }
  TForm::WndProc(message);
}

LRESULT TMainForm::AnswerQuery(WPARAM query) const
{
  switch (query) {
  case pqHeldGdiHandles: return LRESULT(gfx::win32::HeldGdiHandles().load());
  case pqTransitionsEnded: return LRESULT(transitionsEnded_);
  case pqHeapBytesInUse: return LRESULT(framework::HeapBytesInUse());
  default: return 0;
  }
}

// ---------------------------------------------------------------------------
// Handlers of the controls: each puts what its control says into the model.

void TMainForm::cbStyleChange(TObject*)
{
  if (showing_)
    return;
  model_.Style = cbStyle->ItemIndex() + 1;
  ShowModel();
}

void TMainForm::rgStyleControlClick(TObject*)
{
  if (showing_)
    return;
  model_.Order = TEffectOrder(std::clamp(rgStyleControl->ItemIndex(), 0, int(eoFixed)));
  ShowModel();
}

void TMainForm::rbProgressAutoClick(TObject*)
{
  if (!showing_)
    SetManual(false);
}

void TMainForm::rbProgressManualClick(TObject*)
{
  if (!showing_)
    SetManual(true);
}

void TMainForm::SettingChange(TObject*)
{
  if (showing_)
    return;
  ReadSettings();
  ShowModel();
}

void TMainForm::ReadSettings()
{
  model_.Step = udProgressStep->Position();
  model_.Delay = udProgressDelay->Position();
  model_.ExactTiming = ckExactTiming->Checked();
  model_.Threaded = ckThreaded->Checked();
  model_.OverDraw = ckOverDraw->Checked();
  model_.Fit = TPictureFit{ckCenter->Checked(), ckStretch->Checked(), ckProportional->Checked()};
  model_.BackgroundMode = std::max(0, cbBackgroundMode->ItemIndex());
  model_.FrameWidth = udFrameWidth->Position();
  model_.DisplayInterval = uint32_t(tbDisplayInterval->Position());
}

void TMainForm::tbProgressChange(TObject*)
{
  if (model_.Manual)
    Lumetta->SetProgress(tbProgress->Position());
}

void TMainForm::btnChangePathClick(TObject*)
{
  ChooseFolder();
}

void TMainForm::btnChangeBackgroundClick(TObject*)
{
  ChooseBackground();
}

void TMainForm::btnChangeFrameColorClick(TObject*)
{
  ChooseFrameColour();
}

// ---------------------------------------------------------------------------
// Handlers of the menu items.

void TMainForm::mnuExitClick(TObject*)
{
  Close();
}

void TMainForm::mnuPauseClick(TObject*)
{
  SetPaused(!model_.Paused);
}

void TMainForm::mnuNextClick(TObject*)
{
  ShowNextPicture();
}

void TMainForm::mnuPreviousClick(TObject*)
{
  ShowPreviousPicture();
}

void TMainForm::mnuOrderClick(TObject* Sender)
{
  model_.Order = TEffectOrder(std::clamp(int(static_cast<TComponent*>(Sender)->Tag()), 0, int(eoFixed)));
  ShowModel();
}

void TMainForm::mnuManualClick(TObject*)
{
  SetManual(!model_.Manual);
}

void TMainForm::mnuFullScreenClick(TObject*)
{
  SetFullScreen(!model_.FullScreen);
}

void TMainForm::mnuLayoutClick(TObject* Sender)
{
  model_.Fit = FitOf(TPictureLayout(std::clamp(int(static_cast<TComponent*>(Sender)->Tag()), 0, int(plCustom))),
                     model_.Fit);
  ShowModel();
}

void TMainForm::mnuStatusBarClick(TObject*)
{
  model_.StatusBar = !model_.StatusBar;
  ShowModel();
}

void TMainForm::mnuAboutClick(TObject*)
{
  MessageDlg(AboutText(), mtInformation, MsgButtons({mbOK}));
}

// ---------------------------------------------------------------------------
// Showing the model.

void TMainForm::ShowModel()
{
  TMuteScope showing(showing_);
  ShowStyle();
  ShowSettings();
  ShowMenus();
}

void TMainForm::ShowStyle()
{
  cbStyle->SetItemIndex(model_.Style - 1);
  rgStyleControl->SetItemIndex(int(model_.Order));
  if (model_.Style == int(Lumetta->Style()))
    return;
  Lumetta->SetStyle(uint8_t(model_.Style));
  char caption[32];
  std::snprintf(caption, sizeof caption, "[ #%d ]", int(Lumetta->Style()));
  // Drawn with the next paint, not forced here: when the window has just
  // come up, forcing it would paint the whole panel before the transition
  // starts.
  lblStyleNo->SetCaption(caption);
  cbStyle->SetHint(Lumetta->StyleName());
  // A hint on show keeps its old text; cancelling it shows the new name next time.
  POINT cursor;
  if (GetCursorPos(&cursor)) {
    HWND under = WindowFromPoint(cursor);
    if (under && (under == cbStyle->Handle() || IsChild(cbStyle->Handle(), under)))
      Application->CancelHint();
  }
}

void TMainForm::ShowSettings()
{
  Lumetta->SetManual(model_.Manual);
  Lumetta->SetStep(uint16_t(model_.Step));
  Lumetta->SetDelay(uint16_t(model_.Delay));
  Lumetta->SetExactTiming(model_.ExactTiming);
  Lumetta->SetThreaded(model_.Threaded);
  Lumetta->SetOverDraw(model_.OverDraw);
  Lumetta->SetCenter(model_.Fit.Center);
  Lumetta->SetStretch(model_.Fit.Stretch);
  Lumetta->SetProportional(model_.Fit.Proportional);
  // Full screen shows the picture on the plain display colour, unframed.
  Lumetta->SetBgMode(model_.FullScreen ? transition::bmNone : transition::TBackgroundMode(model_.BackgroundMode));
  Lumetta->SetFrameWidth(model_.FullScreen ? 0 : model_.FrameWidth);
  Lumetta->SetShowHint(!model_.FullScreen);
  Timer->SetInterval(model_.DisplayInterval);

  rbProgressAuto->SetChecked(!model_.Manual);
  rbProgressManual->SetChecked(model_.Manual);
  udProgressStep->SetPosition(model_.Step);
  udProgressDelay->SetPosition(model_.Delay);
  ckExactTiming->SetChecked(model_.ExactTiming);
  ckThreaded->SetChecked(model_.Threaded);
  ckOverDraw->SetChecked(model_.OverDraw);
  ckCenter->SetChecked(model_.Fit.Center);
  ckStretch->SetChecked(model_.Fit.Stretch);
  ckProportional->SetChecked(model_.Fit.Proportional);
  cbBackgroundMode->SetItemIndex(model_.BackgroundMode);
  udFrameWidth->SetPosition(model_.FrameWidth);
  tbDisplayInterval->SetPosition(int(model_.DisplayInterval));
  char caption[48];
  std::snprintf(caption, sizeof caption, "[ %.1f Seconds ]", double(model_.DisplayInterval) / 1000.0);
  lblDisplayIntervalValue->SetCaption(caption);
  // The step and interval mean nothing while the slider drives the change.
  for (TControl* control : std::initializer_list<TControl*>{lblStep, lblDelay, edtProgressStep, udProgressStep,
                                                            edtProgressDelay, udProgressDelay, ckExactTiming,
                                                            ckThreaded})
    if (control)
      control->SetEnabled(!model_.Manual);
  tbProgress->SetEnabled(model_.Manual);
  StatusBar1->SetVisible(model_.StatusBar);
}

void TMainForm::ShowMenus()
{
  const TPictureLayout layout = LayoutOf(model_.Fit);
  const bool hasPictures = model_.Files.Count() > 0;
  for (TMenuItem* item : {mnuPause, popPause})
    item->SetCaption(model_.Paused ? "&Resume" : "&Pause");
  for (TMenuItem* item : {mnuNext, popNext})
    item->SetEnabled(hasPictures);
  for (TMenuItem* item : {mnuPrevious, popPrevious})
    item->SetEnabled(model_.CanGoBack());
  for (TMenuItem* item : {mnuFullScreen, popFullScreen})
    item->SetChecked(model_.FullScreen);
  for (TMenuItem* item : {mnuInOrder, mnuRandom, mnuFixed})
    item->SetChecked(item->Tag() == model_.Order);
  for (TMenuItem* item : {mnuCentre, mnuStretch, mnuKeepProportion})
    item->SetChecked(item->Tag() == layout);
  mnuManual->SetChecked(model_.Manual);
  mnuStatusBar->SetChecked(model_.StatusBar);
}

void TMainForm::ShowStatusHint()
{
  // What a menu item does shows in the status bar while it is selected.
  const std::string& hint = Application->Hint();
  StatusBar1->SetSimpleText(hint);
  StatusBar1->SetSimplePanel(!hint.empty());
}

void TMainForm::SetStatus(int panel, const std::string& text)
{
  StatusBar1->Panel(panel)->SetText(text);
}

// ---------------------------------------------------------------------------
// What the handlers do.

std::string TMainForm::AboutText() const
{
  return Caption() + "\nVersion " + ProgramVersion() + "\n" + std::to_string(effects::kEffectCount) +
         " transition effects";
}

void TMainForm::ChooseFolder()
{
  std::string chosen = DirectoryExists(model_.Folder) ? model_.Folder : std::string();
  if (SelectDirectory(kFolderBrowserCaption, "", chosen, Application->Handle()))
    OpenFolder(chosen);
}

void TMainForm::ChooseBackground()
{
  if (OpenPictureDialog->Execute(Handle()))
    Lumetta->BgPicture().LoadFromFile(OpenPictureDialog->FileName());
}

void TMainForm::ChooseFrameColour()
{
  ColorDialog->SetColor(Lumetta->FrameColor());
  if (ColorDialog->Execute(Handle()))
    Lumetta->SetFrameColor(ColorDialog->Color());
}

void TMainForm::SetPaused(bool value)
{
  model_.Paused = value;
  ShowModel();
  UpdateTimer();
}

void TMainForm::SetManual(bool value)
{
  model_.Manual = value;
  ShowModel();
  if (value) {
    tbProgress->SetPageSize(Lumetta->Step());
    tbProgress->SetPosition(Lumetta->Progress());
  }
  UpdateTimer();
  if (value && !Lumetta->Busy())
    SettleNextPicture();
  if (value && !Lumetta->Busy() && !Lumetta->Picture().Empty()) {
    Repaint();
    Lumetta->Execute();
  }
}

void TMainForm::UpdateTimer()
{
  Timer->SetEnabled(!Lumetta->Busy() && !model_.Manual && !model_.Paused && model_.Files.Count() > 0);
}

void TMainForm::ShowNextPicture()
{
  Timer->SetEnabled(false);
  SettleNextPicture();
  if (model_.Files.Count() == 0)
    return;
  Lumetta->Stop();
  model_.Style = model_.NextStyle(cbStyle->Items()->Count());
  model_.CurrentFile = model_.NextFile;
  model_.Shown(model_.CurrentFile);
  ShowModel();
  SetStatus(spShowing, "Showing: " + model_.CurrentFile);
  Lumetta->Execute();
}

// The picture shown before the current one comes back with the current
// effect; the next picture is drawn anew once it has started.
void TMainForm::ShowPreviousPicture()
{
  if (!model_.CanGoBack())
    return;
  Timer->SetEnabled(false);
  Lumetta->Stop();
  const std::string previous = model_.GoBack();
  Lumetta->Picture().LoadFromFile(model_.Folder + "\\" + previous);
  model_.NextFile = previous;
  model_.CurrentFile = previous;
  ShowModel();
  SetStatus(spShowing, "Showing: " + model_.CurrentFile);
  Lumetta->Execute();
}

// A picture that cannot be read is reported in the status bar and left out of
// the list, and another one is tried: an unattended show goes on. Files are
// read on the prefetch's thread while the current picture shows; which one
// comes next is drawn here, in the same order as if each were read at once,
// and never while a transition runs (effects borrow the random generator).
void TMainForm::LoadNextPicture()
{
  model_.NextFile.clear();
  skipped_.clear();
  RequestNextPicture();
}

void TMainForm::RequestNextPicture()
{
  const TStringList& files = model_.Files;
  if (files.Count() == 0) {
    SetStatus(spNext, "Next: ");
    return;
  }
  int index = int(gfx::Random(uint32_t(files.Count())));
  if (files.Count() >= 2)
    while (files[index] == model_.CurrentFile)
      index = int(gfx::Random(uint32_t(files.Count())));
  requestedFile_ = files[index];
  // Named at once, as it is chosen: the picture is read while the current
  // transition runs, and the bar must not keep naming the one now showing.
  SetStatus(spNext, "Next: " + requestedFile_);
  // Transparent pictures are composed over the display's colour, as the
  // display shows them.
  prefetch_->Start(model_.Folder + "\\" + requestedFile_, Lumetta->ShowLimit(), Lumetta->Color());
}

// Takes what the prefetch has read: the next picture, or a file to skip and
// another to ask for. With wait, until a picture is there or no file is left.
void TMainForm::TakeNextPicture(bool wait)
{
  if (!(wait ? prefetch_->Pending() : prefetch_->Ready()))
    return;
  TStringList& files = model_.Files;
  while (std::optional<TPictureLoader::TResult> result = prefetch_->Take()) {
    if (result->Graphic) {
      Lumetta->Picture().SetGraphic(std::move(result->Graphic));
      model_.NextFile = requestedFile_;
      break;
    }
    skipped_ = result->Error;
    if (const int index = files.IndexOf(requestedFile_); index >= 0)
      files.Delete(index);
    SetStatus(spCount, std::to_string(files.Count()) + " Image(s)");
    RequestNextPicture();
    if (!wait && prefetch_->Pending() && !prefetch_->Ready())
      return;
  }
  SetStatus(spNext, skipped_.empty() ? "Next: " + model_.NextFile
                                     : "Next: " + model_.NextFile + " (skipped: " + skipped_ + ")");
}

void TMainForm::NextPictureReady()
{
  // During a transition the result waits for its end (LumettaStop).
  if (Lumetta->Busy())
    return;
  TakeNextPicture(false);
  // A show begins with its first picture as soon as it is read: the display
  // interval is the pause between two pictures, not a wait before the first.
  if (model_.CurrentFile.empty() && !model_.NextFile.empty() && Timer->Enabled())
    ShowNextPicture();
}

void TMainForm::OpenFolder(const std::string& path)
{
  if (path == model_.Folder)
    return;
  TStringList names;
  {
    TFileListBox list(nullptr);
    list.SetVisible(false);
    list.SetParent(this);
    list.SetMask(GraphicFileMask());
    list.ApplyFilePath(path);
    names.Assign(list.Items());
  }
  if (names.Count() == 0) {
    MessageDlg(std::string(kNoPicturesText) + "\n" + path, mtWarning, MsgButtons({mbCancel}));
    return;
  }
  model_.Files.Assign(names);
  model_.Folder = WithoutTrailingBackslash(path);
  model_.ForgetHistory();
  SetStatus(spCount, std::to_string(model_.Files.Count()) + " Image(s)");
  SetStatus(spFolder, "Folder: " + path);
  LoadNextPicture();
  ShowModel();
  // A list that was empty before leaves the timer off; starting the cycle here
  // means choosing a folder is all it takes to play.
  UpdateTimer();
}

// Full screen takes the display off the form, framework and window alike,
// and shows it as a window of its own over the whole screen; the form still
// owns that window, so its shortcuts and Escape keep working.
void TMainForm::SetFullScreen(bool value)
{
  if (value == model_.FullScreen)
    return;
  model_.FullScreen = value;
  if (value) {
    Lumetta->SetAlign(alNone);
    Lumetta->SetParent(nullptr);
    ShowModel();
    Lumetta->SetBounds(0, 0, Screen->Width(), Screen->Height());
    HWND display = Lumetta->Handle();
    SetWindowLongPtrW(display, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Handle()));
    SetWindowPos(display, HWND_TOPMOST, 0, 0, Screen->Width(), Screen->Height(), SWP_SHOWWINDOW);
    Lumetta->SetFocus();
    ShowCursor(FALSE);
  } else {
    Lumetta->SetParent(this);
    Lumetta->SetAlign(alClient);
    ShowModel();
    ShowCursor(TRUE);
  }
}
