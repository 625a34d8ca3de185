#pragma once
// The display component's behaviour without a window: the published
// properties, the geometry of the picture, the background, the painting of
// the content, the setting-up of a transition's images and the composing of
// one frame. The Win32 control (TCustomLumetta) derives from this and from
// the framework's custom control; natively, tools and tests use it with a
// host of their own.
//
// Contents: properties and events; painting; geometry; transition images.
#include "framework/Bitmap.h"
#include "framework/Component.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "transition/LumettaDriver.h"
#include "transition/LumettaPicture.h"
#include "transition/PictureLayout.h"

#include "effects/EffectTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace framework {
class TCanvas;
}

namespace transition {

// How the background picture fills the area around the picture.
enum TBackgroundMode : uint8_t { bmNone, bmTiled, bmStretched, bmCentered };

using TShowStyle = effects::TShowStyle;
using TCustomDrawEvent =
  framework::TEvent<void(framework::TObject* Sender, framework::TBitmap& Picture, framework::TBitmap& Screen)>;

class TLumettaCore : public TLumettaDriver {
public:
  // picture and bgPicture belong to the caller and outlive the component; the
  // caller routes their change notifications to PictureChanged and
  // BgPictureChanged.
  TLumettaCore(ITransitionHost& host, ILumettaPicture& picture, ILumettaPicture& bgPicture);
  ~TLumettaCore() override;

  // ----- Properties -----
  [[nodiscard]] TBackgroundMode BgMode() const noexcept { return bgMode_; }
  void SetBgMode(TBackgroundMode value);
  [[nodiscard]] bool Center() const noexcept { return center_; }
  void SetCenter(bool value);
  [[nodiscard]] bool Stretch() const noexcept { return stretch_; }
  void SetStretch(bool value);
  [[nodiscard]] bool Proportional() const noexcept { return proportional_; }
  void SetProportional(bool value);
  [[nodiscard]] gfx::TColor FrameColor() const noexcept { return frameColor_; }
  void SetFrameColor(gfx::TColor value);
  [[nodiscard]] int32_t FrameWidth() const noexcept { return frameWidth_; }
  // Negative widths count as 0.
  void SetFrameWidth(int32_t value);
  [[nodiscard]] bool OverDraw() const noexcept { return overDraw_; }
  void SetOverDraw(bool value) noexcept { overDraw_ = value; }
  // "Custom" for style 0, else the effect's name. Writing a name that matches
  // no effect (case is ignored) changes nothing.
  [[nodiscard]] std::string StyleName() const;
  void SetStyleName(std::string_view name);
  // A picture to change to is there and has pixels.
  [[nodiscard]] bool Empty() const { return picture_.Empty(); }

  // Appends the 176 effect names to a string list (BeginUpdate, Add, EndUpdate).
  template <class TStrings>
  void GetStyleNames(TStrings& strings) const
  {
    effects::AppendEffectNames(strings);
  }

  // Shows only the background again, when no transition is in progress.
  virtual void Clear();

  // ----- State, read by the control and by tests -----
  [[nodiscard]] const framework::TBitmap& DisplayImage() const noexcept { return *displayImage_; }
  [[nodiscard]] framework::TBitmap& DisplayImage() noexcept { return *displayImage_; }
  [[nodiscard]] const framework::TBitmap* OldImage() const noexcept { return oldImage_.get(); }
  [[nodiscard]] const framework::TBitmap* NewImage() const noexcept { return newImage_.get(); }
  // The images' size: the pixels the picture held when the transition began,
  // which may be fewer than its full size (see ShowLimit).
  [[nodiscard]] gfx::TRect SourceRect() const noexcept { return sourceRect_; }
  // The full size of that picture, from which DisplayRect is laid out.
  [[nodiscard]] gfx::TSize PictureSize() const noexcept { return pictureSize_; }
  [[nodiscard]] gfx::TRect DisplayRect() const noexcept { return displayRect_; }
  [[nodiscard]] bool OldIsBackground() const noexcept { return oldIsBackground_; }

  // ----- Events (Sender is the object set by SetSender: the control) -----
  TCustomDrawEvent OnAfterNewFrame;
  TCustomDrawEvent OnBeforeNewFrame;
  TCustomDrawEvent OnCustomDraw;
  TCustomDrawEvent OnStart;
  framework::TNotifyEvent OnChange;

  // ----- Notifications from the owner -----
  // Every change of the picture (not while the component is destroyed).
  void PictureChanged();
  // Every change of the background picture.
  void BgPictureChanged();
  // After the control's size changed.
  void Resized();

  // ----- Painting -----
  // Paints the background into rect of the canvas (see TBackgroundMode).
  virtual void PaintBackground(framework::TCanvas& canvas, const gfx::TRect& rect);
  // Paints the whole control: the shown image, its frame and the background.
  virtual void PaintContent(framework::TCanvas& canvas);
  // Whether a repaint of update can be a single stretch of DisplayImage onto
  // DisplayRect: an image is shown and update lies wholly inside DisplayRect.
  [[nodiscard]] bool CanPaintByStretch(const gfx::TRect& update) const;

  // Lays the picture out in the client area.
  void CalculateRects();

  // The layout of a picture in the client area as it is now: a picture held
  // for this component needs no more pixels than it shows. A plain value that
  // may be handed to another thread.
  [[nodiscard]] TPictureLayout Layout() const;
  // Layout as the limit a graphic takes.
  [[nodiscard]] framework::TGraphic::TShowLimit ShowLimit() const;

protected:
  // The control supplies these; the defaults serve a component without a
  // window.
  [[nodiscard]] virtual gfx::TRect ClientRect() const { return clientRect_; }
  [[nodiscard]] virtual gfx::TColor Color() const { return color_; }
  // Asks the control to re-size itself when AutoSize is on.
  virtual void AdjustSize() {}

  // Sizes for a component without a window (tools, benchmarks, tests).
  void SetClientRect(const gfx::TRect& rect) { clientRect_ = rect; }
  void SetColorValue(gfx::TColor color) { color_ = color; }

  virtual void DoChange();
  virtual void DoCustomDraw(framework::TBitmap& picture, framework::TBitmap& screen);
  virtual void DoBeforeNewFrame(framework::TBitmap& picture, framework::TBitmap& screen);
  // Whether frames must be drawn in two steps so that DoBeforeNewFrame sees
  // the old image on the display before the effect draws; otherwise frames
  // are composed in one pass and it is not called. A class that overrides
  // DoBeforeNewFrame overrides this as well.
  [[nodiscard]] virtual bool HandlesBeforeNewFrame() const { return static_cast<bool>(OnBeforeNewFrame); }
  virtual void DoAfterNewFrame(framework::TBitmap& picture, framework::TBitmap& screen);
  virtual void DoStart(framework::TBitmap& picture, framework::TBitmap& screen);

  // TLumettaDriver
  [[nodiscard]] bool HasGraphic() const override { return picture_.HasGraphic(); }
  void Prepare() override;
  void ComposeFrame() override;
  void FreeImages() override;

  // Draws the frame with the effect's compose procedure when nothing needs the
  // old image on the display first; false when the frame needs the two steps.
  bool ComposeInOnePass(framework::TBitmap& display, framework::TBitmap& picture, TShowStyle style,
                        int32_t progress);

  // Renders OldImage from the background under DisplayRect.
  void RefreshOldImage();

  [[nodiscard]] ILumettaPicture& Picture() noexcept { return picture_; }
  [[nodiscard]] ILumettaPicture& BgPicture() noexcept { return bgPicture_; }

private:
  void TileDraw(framework::TCanvas& canvas, const gfx::TRect& rect);
  void GeometryChanged();
  void SharpenShownPicture();

  ILumettaPicture& picture_;
  ILumettaPicture& bgPicture_;

  std::unique_ptr<framework::TBitmap> displayImage_;
  std::unique_ptr<framework::TBitmap> oldImage_;
  std::unique_ptr<framework::TBitmap> newImage_;
  // The picture of the latest transition, kept while it holds fewer pixels
  // than it has, so that a layout that grows can have it decoded again.
  std::unique_ptr<ILumettaPicture> shown_;
  gfx::TRect sourceRect_;
  gfx::TSize pictureSize_;
  gfx::TRect displayRect_;
  bool oldIsBackground_ = false;
  bool preparing_ = false;

  TBackgroundMode bgMode_ = bmTiled;
  bool center_ = false;
  bool stretch_ = false;
  bool proportional_ = false;
  bool overDraw_ = true;
  gfx::TColor frameColor_ = gfx::clActiveBorder;
  int32_t frameWidth_ = 0;

  gfx::TRect clientRect_{0, 0, 100, 100};
  gfx::TColor color_ = gfx::clWindow;
};

} // namespace transition
