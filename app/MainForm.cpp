#include "app/MainForm.h"

#include "app/CommandLine.h"
#include "framework/Graphic.h"
#include "framework/win32/FileCtrl.h"
#include "gfx/Random.h"

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
    info.Method("rbProgressAutoClick", &F::rbProgressAutoClick);
    info.Method("rbProgressManualClick", &F::rbProgressManualClick);
    info.Method("edtProgressStepChange", &F::edtProgressStepChange);
    info.Method("edtProgressDelayChange", &F::edtProgressDelayChange);
    info.Method("ckExactTimingClick", &F::ckExactTimingClick);
    info.Method("ckThreadedClick", &F::ckThreadedClick);
    info.Method("ckOverDrawClick", &F::ckOverDrawClick);
    info.Method("ckCenterClick", &F::ckCenterClick);
    info.Method("ckStretchClick", &F::ckStretchClick);
    info.Method("ckProportionalClick", &F::ckProportionalClick);
    info.Method("cbBackgroundModeChange", &F::cbBackgroundModeChange);
    info.Method("edtFrameWidthChange", &F::edtFrameWidthChange);
    info.Method("tbProgressChange", &F::tbProgressChange);
    info.Method("btnChangePathClick", &F::btnChangePathClick);
    info.Method("tbDisplayIntervalChange", &F::tbDisplayIntervalChange);
    info.Method("btnChangeBackgroundClick", &F::btnChangeBackgroundClick);
    info.Method("btnChangeFrameColorClick", &F::btnChangeFrameColorClick);
    return true;
  }();
  (void)published;
  return info;
}

void TMainForm::FormCreate(TObject*)
{
  gfx::Randomize();
  files_ = std::make_unique<TStringList>();
  prefetch_ = std::make_unique<TPicturePrefetch>([this] { NextPictureReady(); });
  Lumetta->GetStyleNames(*cbStyle->Items());
  cbStyle->SetItemIndex(int(Lumetta->Style()) - 1);
  rbProgressAuto->SetChecked(!Lumetta->Manual());
  rbProgressManual->SetChecked(Lumetta->Manual());
  udProgressStep->SetPosition(Lumetta->Step());
  udProgressDelay->SetPosition(Lumetta->Delay());
  ckExactTiming->SetChecked(Lumetta->ExactTiming());
  ckThreaded->SetChecked(Lumetta->Threaded());
  tbProgress->SetPosition(Lumetta->Progress());
  ckOverDraw->SetChecked(Lumetta->OverDraw());
  ckCenter->SetChecked(Lumetta->Center());
  ckStretch->SetChecked(Lumetta->Stretch());
  ckProportional->SetChecked(Lumetta->Proportional());
  cbBackgroundMode->SetItemIndex(int(Lumetta->BgMode()));
  udFrameWidth->SetPosition(Lumetta->FrameWidth());
  tbDisplayInterval->SetPosition(int(Timer->Interval()));
  tbProgress->SetMin(0);
  tbProgress->SetMax(100);
  tbProgress->SetFrequency(10);
  ApplyProgressMode();

  const std::vector<std::string> parameters = CommandLineParameters();
  OpenFolder(parameters.empty() ? ProgramFolder() + "Photos" : parameters.front());
  UpdateTimer();
}

void TMainForm::FormDestroy(TObject*)
{
  prefetch_.reset();
  files_.reset();
}

void TMainForm::FormActivate(TObject*) {}

void TMainForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState)
{
  if (Key == VK_ESCAPE && Lumetta->Align() == alNone) {
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
  TakeNextPicture(false);
  UpdateTimer();
}

void TMainForm::LumettaProgress(TObject*)
{
  tbProgress->SetPosition(Lumetta->Progress());
}

void TMainForm::LumettaDblClick(TObject*)
{
  SetFullScreen(Lumetta->Align() != alNone);
}

void TMainForm::cbStyleChange(TObject*)
{
  const int style = cbStyle->ItemIndex() + 1;
  if (style == int(Lumetta->Style()))
    return;
  Lumetta->SetStyle(uint8_t(style));
  char caption[32];
  std::snprintf(caption, sizeof caption, "[ #%d ]", int(Lumetta->Style()));
  lblStyleNo->SetCaption(caption);
  lblStyleNo->Repaint();
  cbStyle->SetHint(Lumetta->StyleName());
  // A hint on show keeps its old text; cancelling it shows the new name next time.
  POINT cursor;
  if (GetCursorPos(&cursor)) {
    HWND under = WindowFromPoint(cursor);
    if (under && (under == cbStyle->Handle() || IsChild(cbStyle->Handle(), under)))
      Application->CancelHint();
  }
}

void TMainForm::ApplyProgressMode()
{
  const bool automatic = !Lumetta->Manual();
  for (TControl* control : std::initializer_list<TControl*>{lblStep, lblDelay, edtProgressStep, udProgressStep,
                                                            edtProgressDelay, udProgressDelay, ckExactTiming,
                                                            ckThreaded})
    if (control)
      control->SetEnabled(automatic);
  tbProgress->SetEnabled(!automatic);
}

void TMainForm::rbProgressAutoClick(TObject*)
{
  Lumetta->SetManual(false);
  ApplyProgressMode();
  UpdateTimer();
}

void TMainForm::rbProgressManualClick(TObject*)
{
  Lumetta->SetManual(true);
  ApplyProgressMode();
  tbProgress->SetPageSize(Lumetta->Step());
  tbProgress->SetPosition(Lumetta->Progress());
  UpdateTimer();
  if (!Lumetta->Busy())
    SettleNextPicture();
  if (!Lumetta->Busy() && !Lumetta->Picture().Empty()) {
    Repaint();
    Lumetta->Execute();
  }
}

void TMainForm::edtProgressStepChange(TObject*)
{
  Lumetta->SetStep(uint16_t(udProgressStep->Position()));
}

void TMainForm::edtProgressDelayChange(TObject*)
{
  Lumetta->SetDelay(uint16_t(udProgressDelay->Position()));
}

void TMainForm::ckExactTimingClick(TObject*)
{
  Lumetta->SetExactTiming(ckExactTiming->Checked());
}

void TMainForm::ckThreadedClick(TObject*)
{
  Lumetta->SetThreaded(ckThreaded->Checked());
}

void TMainForm::ckOverDrawClick(TObject*)
{
  Lumetta->SetOverDraw(ckOverDraw->Checked());
}

void TMainForm::ckCenterClick(TObject*)
{
  Lumetta->SetCenter(ckCenter->Checked());
}

void TMainForm::ckStretchClick(TObject*)
{
  Lumetta->SetStretch(ckStretch->Checked());
}

void TMainForm::ckProportionalClick(TObject*)
{
  Lumetta->SetProportional(ckProportional->Checked());
}

void TMainForm::cbBackgroundModeChange(TObject*)
{
  Lumetta->SetBgMode(transition::TBackgroundMode(cbBackgroundMode->ItemIndex()));
}

void TMainForm::edtFrameWidthChange(TObject*)
{
  Lumetta->SetFrameWidth(udFrameWidth->Position());
}

void TMainForm::tbProgressChange(TObject*)
{
  if (Lumetta->Manual())
    Lumetta->SetProgress(tbProgress->Position());
}

void TMainForm::btnChangePathClick(TObject*)
{
  std::string chosen = DirectoryExists(folder_) ? folder_ : std::string();
  if (SelectDirectory(kFolderBrowserCaption, "", chosen, Application->Handle()))
    OpenFolder(chosen);
}

void TMainForm::tbDisplayIntervalChange(TObject*)
{
  Timer->SetInterval(uint32_t(tbDisplayInterval->Position()));
  char caption[48];
  std::snprintf(caption, sizeof caption, "[ %.1f Seconds ]", double(Timer->Interval()) / 1000.0);
  lblDisplayIntervalValue->SetCaption(caption);
}

void TMainForm::btnChangeBackgroundClick(TObject*)
{
  if (OpenPictureDialog->Execute(Handle()))
    Lumetta->BgPicture().LoadFromFile(OpenPictureDialog->FileName());
}

void TMainForm::btnChangeFrameColorClick(TObject*)
{
  ColorDialog->SetColor(Lumetta->FrameColor());
  if (ColorDialog->Execute(Handle()))
    Lumetta->SetFrameColor(ColorDialog->Color());
}

void TMainForm::SetStatus(int panel, const std::string& text)
{
  StatusBar1->Panel(panel)->SetText(text);
}

void TMainForm::UpdateTimer()
{
  Timer->SetEnabled(!Lumetta->Busy() && rbProgressAuto->Checked() && files_ && files_->Count() > 0);
}

void TMainForm::ShowNextPicture()
{
  Timer->SetEnabled(false);
  SettleNextPicture();
  if (files_->Count() == 0)
    return;
  Lumetta->Stop();
  const int count = cbStyle->Items()->Count();
  switch (rgStyleControl->ItemIndex()) {
  case 0: cbStyle->SetItemIndex((cbStyle->ItemIndex() + 1) % count); break;
  case 1: cbStyle->SetItemIndex(int(gfx::Random(uint32_t(count)))); break;
  default: break;
  }
  cbStyleChange(nullptr);
  currentFile_ = nextFile_;
  SetStatus(spShowing, "Showing: " + currentFile_);
  Lumetta->Execute();
}

// A picture that cannot be read is reported in the status bar and left out of
// the list, and another one is tried: an unattended show goes on. Files are
// read on the prefetch's thread while the current picture shows; which one
// comes next is drawn here, in the same order as if each were read at once,
// and never while a transition runs (effects borrow the random generator).
void TMainForm::LoadNextPicture()
{
  nextFile_.clear();
  skipped_.clear();
  RequestNextPicture();
}

void TMainForm::RequestNextPicture()
{
  if (files_->Count() == 0) {
    SetStatus(spNext, "Next: ");
    return;
  }
  int index = int(gfx::Random(uint32_t(files_->Count())));
  if (files_->Count() >= 2)
    while ((*files_)[index] == currentFile_)
      index = int(gfx::Random(uint32_t(files_->Count())));
  requestedFile_ = (*files_)[index];
  prefetch_->Start(folder_ + "\\" + requestedFile_, Lumetta->ShowLimit());
}

// Takes what the prefetch has read: the next picture, or a file to skip and
// another to ask for. With wait, until a picture is there or no file is left.
void TMainForm::TakeNextPicture(bool wait)
{
  if (!(wait ? prefetch_->Pending() : prefetch_->Ready()))
    return;
  while (std::optional<TPictureLoader::TResult> result = prefetch_->Take()) {
    if (result->Graphic) {
      Lumetta->Picture().SetGraphic(std::move(result->Graphic));
      nextFile_ = requestedFile_;
      break;
    }
    skipped_ = result->Error;
    if (const int index = files_->IndexOf(requestedFile_); index >= 0)
      files_->Delete(index);
    SetStatus(spCount, std::to_string(files_->Count()) + " Image(s)");
    RequestNextPicture();
    if (!wait && prefetch_->Pending() && !prefetch_->Ready())
      return;
  }
  SetStatus(spNext, skipped_.empty() ? "Next: " + nextFile_ : "Next: " + nextFile_ + " (skipped: " + skipped_ + ")");
}

void TMainForm::NextPictureReady()
{
  // During a transition the result waits for its end (LumettaStop).
  if (Lumetta->Busy())
    return;
  TakeNextPicture(false);
  // A show begins with its first picture as soon as it is read: the display
  // interval is the pause between two pictures, not a wait before the first.
  if (currentFile_.empty() && !nextFile_.empty() && Timer->Enabled())
    ShowNextPicture();
}

void TMainForm::OpenFolder(const std::string& path)
{
  if (path == folder_)
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
  files_->Assign(names);
  folder_ = WithoutTrailingBackslash(path);
  SetStatus(spCount, std::to_string(files_->Count()) + " Image(s)");
  SetStatus(spFolder, "Folder: " + path);
  LoadNextPicture();
  // A list that was empty before leaves the timer off; starting the cycle here
  // means choosing a folder is all it takes to play.
  UpdateTimer();
}

void TMainForm::SetFullScreen(bool value)
{
  HWND display = Lumetta->Handle();
  if (value && Lumetta->Align() == alClient) {
    Lumetta->SetFocus();
    Lumetta->SetAlign(alNone);
    Lumetta->SetBgMode(transition::bmNone);
    Lumetta->SetFrameWidth(0);
    Lumetta->SetShowHint(false);
    ::SetParent(display, nullptr);
    Lumetta->SetBounds(0, 0, Screen->Width(), Screen->Height());
    SetWindowPos(display, HWND_TOPMOST, 0, 0, Screen->Width(), Screen->Height(), SWP_SHOWWINDOW);
    ShowCursor(FALSE);
  } else if (!value && Lumetta->Align() == alNone) {
    ::SetParent(display, Handle());
    Lumetta->SetAlign(alClient);
    Lumetta->SetBgMode(transition::TBackgroundMode(cbBackgroundMode->ItemIndex()));
    Lumetta->SetFrameWidth(udFrameWidth->Position());
    Lumetta->SetShowHint(true);
    ShowCursor(TRUE);
  }
}
