#pragma once
// The skin elements: a bitmap strip and the metrics that slice it, one object
// per section of a skin description. The skin data owns them; frames and
// controls read them while painting.
#include "framework/Bitmap.h"
#include "gfx/Color.h"
#include "skin/controls/ElementDraw.h"

#include <cstdint>
#include <string>

namespace skin {

class TDataSkinObject {
public:
  explicit TDataSkinObject(std::string name = {});
  virtual ~TDataSkinObject();
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  // Frame equal frames, side by side unless the consumer stacks them.
  framework::TBitmap Image;
  // 1: magenta is transparent when the element is drawn.
  int32_t Trans = 0;
  // 1: the centre is tiled, 0: stretched. The four border elements hold the
  // skin's stretch value here instead, read the other way round.
  int32_t Tile = 0;
  std::string Name;
  int32_t Frame = 0;
  int32_t Style = 0;
  // Text colours per state as integers; -1 when the skin gives none.
  int32_t NormalColour = -1;
  int32_t MouseOverColour = -1;
  int32_t PressedColour = -1;
  gfx::TColor NormalColour2 = gfx::clBtnText;
  gfx::TColor MouseOverColour2 = gfx::clBtnText;
  gfx::TColor PressedColour2 = gfx::clBtnText;

  [[nodiscard]] TElementMargins Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
  // The frame count to cut the image by: never below 1, whatever the skin says.
  [[nodiscard]] int32_t FrameCount() const { return Frame < 1 ? 1 : Frame; }
};

// An element with a second image: the tab border, the up-down glyphs, and for
// the combo button a mirrored copy of its image.
class TDataSkinBorder : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  framework::TBitmap Image2;
};

// The push buttons, with the check box and radio button images beside them.
class TDataSkinButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  framework::TBitmap CheckImage;
  framework::TBitmap RadioImage;
  int32_t RadioButtonFrame = 0;
  int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// The caption text: Image is the text background, LeftWidth the text shift,
// TopHeight the vertical shift and RightWidth the right clip.
class TDataSkinTitle : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0;
  int32_t Textbackground = 0;
  int32_t FontHeight = 14;
  int32_t TXTBackleft = 0;
  int32_t TXTBackRight = 0;
  gfx::TColor ActiveText = gfx::clNone;
  gfx::TColor InActiveText = gfx::clNone;
};

// A caption button; what its fields mean is up to the window frame.
class TDataSkinSysButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = -1;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// The group box label background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

} // namespace skin
