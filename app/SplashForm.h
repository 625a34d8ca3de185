#pragma once
// The start-up splash: a borderless window that plays a transition from the
// desktop under it to the built-in picture and, after a pause, back again.
#include "framework/win32/Forms.h"
#include "transition/win32/Lumetta.h"

class TSplashForm : public framework::TForm {
public:
  explicit TSplashForm(framework::TComponent* owner) : TForm(owner) {}
  ~TSplashForm() override { BeforeDestruction(); }
  TSplashForm(const TSplashForm&) = delete;
  TSplashForm& operator=(const TSplashForm&) = delete;

  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }

  // Creates the splash and, unless the program was given a parameter, plays
  // the whole animation before it returns. The caller frees the form.
  static TSplashForm* ShowSplash();

  transition::TLumetta* Lumetta = nullptr;

  void LumettaProgress(framework::TObject* Sender);

private:
  void CaptureBackground();
};

extern TSplashForm* SplashForm;
