#pragma once
// The display component as a real control: TCustomLumetta holds the
// behaviour (the portable TLumettaCore, hosted by the control's window and the
// multimedia timer), TLumetta publishes it for form descriptions.
#include "framework/Picture.h"
#include "framework/win32/Controls.h"
#include "transition/LumettaCore.h"
#include "transition/PictureAdapter.h"
#include "transition/win32/LumettaWindowHost.h"

namespace transition {

const framework::TEnumInfo& BackgroundModeInfo();

namespace detail {
// What the core is built on, constructed before it and destroyed after it.
struct TLumettaParts {
  win32::TLumettaWindowHost WindowHost;
  framework::TPicture PictureObject;
  framework::TPicture BgPictureObject;
  TPictureAdapter PictureView{PictureObject};
  TPictureAdapter BgPictureView{BgPictureObject};
};
} // namespace detail

class TCustomLumetta : public framework::TCustomControl, private detail::TLumettaParts, public TLumettaCore {
public:
  explicit TCustomLumetta(framework::TComponent* owner);
  ~TCustomLumetta() override;

  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }

  // The picture the next transition changes to, and the background picture.
  // A write copies; every change of either is followed by the component.
  [[nodiscard]] framework::TPicture& Picture() noexcept { return PictureObject; }
  void SetPicture(const framework::TPicture& value) { PictureObject.Assign(value); }
  [[nodiscard]] framework::TPicture& BgPicture() noexcept { return BgPictureObject; }
  void SetBgPicture(const framework::TPicture& value) { BgPictureObject.Assign(value); }

  // The control's colour is also the colour around the picture.
  [[nodiscard]] gfx::TColor Color() const override { return TCustomControl::Color(); }
  [[nodiscard]] gfx::TRect ClientRect() const override { return TCustomControl::ClientRect(); }
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void WndProc(framework::TMessage& message) override;

  framework::TNotifyEvent OnMouseEnter;
  framework::TNotifyEvent OnMouseLeave;

protected:
  void AdjustSize() override { TCustomControl::AdjustSize(); }
  void CreateWnd() override;
  void Paint() override;

private:
  [[nodiscard]] bool BeingFreed() const;
  void WMPaint(framework::TMessage& message);
  void PaintUpdate(HDC dc, const RECT& update);
};

// The class forms store and create; it publishes the component's properties.
class TLumetta : public TCustomLumetta {
public:
  explicit TLumetta(framework::TComponent* owner) : TCustomLumetta(owner) {}
  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }
};

// Makes TLumetta known to form descriptions. Safe to call more than once.
void RegisterLumetta();

} // namespace transition
