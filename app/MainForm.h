#pragma once
// The player window: a folder of pictures played in random order, each change
// animated by the display component, with a side panel of settings.
#include "app/PicturePrefetch.h"
#include "framework/StringList.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "framework/win32/Timer.h"
#include "skin/SkinData.h"
#include "transition/win32/Lumetta.h"

#include <memory>
#include <string>

class TMainForm : public framework::TForm {
public:
  explicit TMainForm(framework::TComponent* owner);
  ~TMainForm() override;

  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }

  // Components, set by the form description.
  transition::TLumetta* Lumetta = nullptr;
  framework::TStatusBar* StatusBar1 = nullptr;
  framework::TButton* Button1 = nullptr;
  framework::TLabel* lblStyleNo = nullptr;
  framework::TComboBox* cbStyle = nullptr;
  framework::TRadioGroup* rgStyleControl = nullptr;
  framework::TRadioButton* rbProgressAuto = nullptr;
  framework::TRadioButton* rbProgressManual = nullptr;
  framework::TLabel* lblStep = nullptr;
  framework::TLabel* lblDelay = nullptr;
  framework::TEdit* edtProgressStep = nullptr;
  framework::TUpDown* udProgressStep = nullptr;
  framework::TEdit* edtProgressDelay = nullptr;
  framework::TUpDown* udProgressDelay = nullptr;
  framework::TCheckBox* ckExactTiming = nullptr;
  framework::TCheckBox* ckThreaded = nullptr;
  framework::TTrackBar* tbProgress = nullptr;
  framework::TCheckBox* ckCenter = nullptr;
  framework::TCheckBox* ckStretch = nullptr;
  framework::TCheckBox* ckProportional = nullptr;
  framework::TComboBox* cbBackgroundMode = nullptr;
  framework::TEdit* edtFrameWidth = nullptr;
  framework::TUpDown* udFrameWidth = nullptr;
  framework::TCheckBox* ckOverDraw = nullptr;
  framework::TLabel* lblDisplayIntervalValue = nullptr;
  framework::TTrackBar* tbDisplayInterval = nullptr;
  framework::TTimer* Timer = nullptr;
  framework::TOpenPictureDialog* OpenPictureDialog = nullptr;
  framework::TColorDialog* ColorDialog = nullptr;
  skin::TSkinData* SkinData1 = nullptr;

  // Event handlers, bound by name from the form description.
  void FormCreate(framework::TObject* Sender);
  void FormDestroy(framework::TObject* Sender);
  void FormActivate(framework::TObject* Sender);
  void FormKeyDown(framework::TObject* Sender, uint16_t& Key, framework::TShiftState Shift);
  void TimerTimer(framework::TObject* Sender);
  void LumettaStart(framework::TObject* Sender, framework::TBitmap& Picture, framework::TBitmap& Screen);
  void LumettaStop(framework::TObject* Sender);
  void LumettaProgress(framework::TObject* Sender);
  void LumettaDblClick(framework::TObject* Sender);
  void cbStyleChange(framework::TObject* Sender);
  void rbProgressAutoClick(framework::TObject* Sender);
  void rbProgressManualClick(framework::TObject* Sender);
  void edtProgressStepChange(framework::TObject* Sender);
  void edtProgressDelayChange(framework::TObject* Sender);
  void ckExactTimingClick(framework::TObject* Sender);
  void ckThreadedClick(framework::TObject* Sender);
  void ckOverDrawClick(framework::TObject* Sender);
  void ckCenterClick(framework::TObject* Sender);
  void ckStretchClick(framework::TObject* Sender);
  void ckProportionalClick(framework::TObject* Sender);
  void cbBackgroundModeChange(framework::TObject* Sender);
  void edtFrameWidthChange(framework::TObject* Sender);
  void tbProgressChange(framework::TObject* Sender);
  void btnChangePathClick(framework::TObject* Sender);
  void tbDisplayIntervalChange(framework::TObject* Sender);
  void btnChangeBackgroundClick(framework::TObject* Sender);
  void btnChangeFrameColorClick(framework::TObject* Sender);

  // What the playing cycle works on; read by the tests.
  [[nodiscard]] const framework::TStringList& Files() const { return *files_; }
  [[nodiscard]] const std::string& Folder() const { return folder_; }
  [[nodiscard]] const std::string& CurrentFile() const { return currentFile_; }
  [[nodiscard]] const std::string& NextFile() const { return nextFile_; }

  void OpenFolder(const std::string& path);
  void SetFullScreen(bool value);
  // Waits until the picture drawn to come next has been read, unreadable ones
  // skipped on the way; what a tick does before it shows the next picture.
  void SettleNextPicture() { TakeNextPicture(true); }

private:
  void UpdateTimer();
  void ShowNextPicture();
  void LoadNextPicture();
  void RequestNextPicture();
  void TakeNextPicture(bool wait);
  void NextPictureReady();
  void ApplyProgressMode();
  void SetStatus(int panel, const std::string& text);

  std::unique_ptr<framework::TStringList> files_;
  std::string folder_;
  std::string currentFile_;
  std::string nextFile_;
  std::string requestedFile_; // drawn and being read
  std::string skipped_;       // why the last unreadable file was left out
  std::unique_ptr<TPicturePrefetch> prefetch_;
};
