#include "app/SplashForm.h"

#include "app/CommandLine.h"
#include "framework/BitmapGraphic.h"
#include "framework/win32/Graphics.h"
#include "gfx/Random.h"

#include <memory>

using namespace framework;

TSplashForm* SplashForm = nullptr;

namespace {

constexpr uint32_t kEffectCount = 176;
constexpr DWORD kHoldMilliseconds = 2000;
constexpr DWORD kPauseMilliseconds = 500;

uint8_t RandomStyle()
{
  return uint8_t(gfx::Random(kEffectCount) + 1);
}

} // namespace

const TClassInfo& TSplashForm::ClassType()
{
  static TClassInfo info("TSplashForm", &TForm::ClassType(),
                         [](TComponent* owner) -> TComponent* { return new TSplashForm(owner); });
  static const bool published = [] {
    info.Field("Lumetta", &TSplashForm::Lumetta);
    info.Method("LumettaProgress", &TSplashForm::LumettaProgress);
    return true;
  }();
  (void)published;
  return info;
}

TSplashForm* TSplashForm::ShowSplash()
{
  auto form = std::make_unique<TSplashForm>(nullptr);
  form->InitForm();
  if (!CommandLineParameters().empty())
    return form.release();
  form->CaptureBackground();
  form->Show();
  form->Update();
  gfx::Randomize();
  form->Lumetta->SetStyle(RandomStyle());
  form->Lumetta->Execute();
  Sleep(kPauseMilliseconds);
  return form.release();
}

// The background is the desktop under the window, taken before the window
// shows, so the first and the last frame match what was there.
void TSplashForm::CaptureBackground()
{
  const int left = (Screen->Width() - Width()) / 2;
  const int top = (Screen->Height() - Height()) / 2;
  SetBounds(left, top, Width(), Height());
  auto graphic = std::make_unique<TBitmapGraphic>();
  graphic->Bitmap().SetSize(Width(), Height());
  {
    TCanvasDC target(graphic->Bitmap().Canvas());
    TWindowDC screen(nullptr);
    BitBlt(target.DC(), 0, 0, Width(), Height(), screen.Get(), left, top, SRCCOPY);
  }
  Lumetta->BgPicture().SetGraphic(std::move(graphic));
}

void TSplashForm::LumettaProgress(TObject*)
{
  if (Lumetta->Progress() == 100 && !Lumetta->Reverse()) {
    Lumetta->SetStyle(RandomStyle());
    Lumetta->SetReverse(true);
    Sleep(kHoldMilliseconds);
  }
}
