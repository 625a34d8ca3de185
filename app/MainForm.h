#pragma once
// The player window: a folder of pictures played in random order, each change
// animated by the display component, with a side panel of settings, a menu
// bar and a context menu on the display.
#include "app/PicturePrefetch.h"
#include "app/PlayerModel.h"
#include "framework/StringList.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
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
  framework::TMainMenu* MainMenu = nullptr;
  framework::TMenuItem* mnuPause = nullptr;
  framework::TMenuItem* mnuNext = nullptr;
  framework::TMenuItem* mnuPrevious = nullptr;
  framework::TMenuItem* mnuInOrder = nullptr;
  framework::TMenuItem* mnuRandom = nullptr;
  framework::TMenuItem* mnuFixed = nullptr;
  framework::TMenuItem* mnuManual = nullptr;
  framework::TMenuItem* mnuFullScreen = nullptr;
  framework::TMenuItem* mnuCentre = nullptr;
  framework::TMenuItem* mnuStretch = nullptr;
  framework::TMenuItem* mnuKeepProportion = nullptr;
  framework::TMenuItem* mnuStatusBar = nullptr;
  framework::TMenuItem* mnuExit = nullptr;
  framework::TPopupMenu* DisplayMenu = nullptr;
  framework::TMenuItem* popPause = nullptr;
  framework::TMenuItem* popNext = nullptr;
  framework::TMenuItem* popPrevious = nullptr;
  framework::TMenuItem* popFullScreen = nullptr;

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
  void rgStyleControlClick(framework::TObject* Sender);
  void rbProgressAutoClick(framework::TObject* Sender);
  void rbProgressManualClick(framework::TObject* Sender);
  // Every control of a setting that the display takes as it is (step,
  // interval, timing, layout switches, background mode, frame width, display
  // interval) is read back into the model by this one handler.
  void SettingChange(framework::TObject* Sender);
  void tbProgressChange(framework::TObject* Sender);
  void btnChangePathClick(framework::TObject* Sender);
  void btnChangeBackgroundClick(framework::TObject* Sender);
  void btnChangeFrameColorClick(framework::TObject* Sender);
  // Menu items (the bar's and the display's context menu).
  void mnuExitClick(framework::TObject* Sender);
  void mnuPauseClick(framework::TObject* Sender);
  void mnuNextClick(framework::TObject* Sender);
  void mnuPreviousClick(framework::TObject* Sender);
  // The order and layout items carry their TEffectOrder or TPictureLayout
  // in Tag.
  void mnuOrderClick(framework::TObject* Sender);
  void mnuManualClick(framework::TObject* Sender);
  void mnuFullScreenClick(framework::TObject* Sender);
  void mnuLayoutClick(framework::TObject* Sender);
  void mnuStatusBarClick(framework::TObject* Sender);
  void mnuAboutClick(framework::TObject* Sender);

  // What the playing cycle works on; read by the tests.
  [[nodiscard]] const TPlayerModel& Model() const { return model_; }
  [[nodiscard]] const framework::TStringList& Files() const { return model_.Files; }
  [[nodiscard]] const std::string& Folder() const { return model_.Folder; }
  [[nodiscard]] const std::string& CurrentFile() const { return model_.CurrentFile; }
  [[nodiscard]] const std::string& NextFile() const { return model_.NextFile; }

  // What the handlers do; each changes the model and shows it.
  void OpenFolder(const std::string& path);
  void SetFullScreen(bool value);
  void ShowNextPicture();
  void ShowPreviousPicture();
  void SetPaused(bool value);
  void SetManual(bool value);
  // Waits until the picture drawn to come next has been read, unreadable ones
  // skipped on the way; what a tick does before it shows the next picture.
  void SettleNextPicture() { TakeNextPicture(true); }
  // The text of the About box.
  [[nodiscard]] std::string AboutText() const;

  // Answers the figures of app/PlayerQuery.h to other processes.
  void WndProc(framework::TMessage& message) override;

private:
  [[nodiscard]] LRESULT AnswerQuery(WPARAM query) const;
  void UpdateTimer();
  void LoadNextPicture();
  void RequestNextPicture();
  void TakeNextPicture(bool wait);
  void NextPictureReady();
  void ChooseFolder();
  void ChooseBackground();
  void ChooseFrameColour();
  void SetStatus(int panel, const std::string& text);
  void ShowStatusHint();
  // Puts the model into the display, the controls and the menus. The
  // controls' own events fire meanwhile and are ignored.
  void ShowModel();
  void ShowStyle();
  void ShowSettings();
  void ShowMenus();
  void ReadSettings();

  TPlayerModel model_;
  bool showing_ = false;
  std::string requestedFile_; // drawn and being read
  std::string skipped_;       // why the last unreadable file was left out
  std::unique_ptr<TPicturePrefetch> prefetch_;
  uint32_t transitionsEnded_ = 0;
};
