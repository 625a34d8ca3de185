#include "skin/controls/SkinBox.h"

#include "skin/SkinData.h"

namespace skin {

void TSkinBox::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  BindControl(form, data, control, recolour);
  ListenForControlEnd();
  life_ = clAttached;
}

void TSkinBox::Unskin()
{
  if (life_ != clKeepColour && life_ != clDestroyed && Recolour())
    GiveColourBack();
  if (life_ != clDestroyed)
    life_ = clUnskinned;
}

void TSkinBox::SkinChanged()
{
  if (Recolour() && Control())
    Control()->SetColor(Data().Color(scButtonFace));
}

bool TSkinBoxH::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_ERASEBKGND: {
    RECT r{};
    GetWindowRect(Window(), &r);
    FillSkinColour(reinterpret_cast<HDC>(message.WParam), {0, 0, r.right - r.left, r.bottom - r.top});
    message.Result = 0;
    return false;
  }
  case WM_CTLCOLORSTATIC:
    PassOn(message);
    message.Result = reinterpret_cast<LRESULT>(FaceBrush());
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

HBRUSH TSkinBoxH::FaceBrush()
{
  const gfx::TColor colour = Data().Color(scButtonFace);
  if (!brush_ || brushColour_ != colour) {
    brush_.Reset(CreateSolidBrush(ColourRef(colour)));
    brushColour_ = colour;
  }
  return brush_.Get();
}

void TSkinSizer::DrawSkin(HDC dc, const gfx::TRect& rect) { FillSkinColour(dc, rect); }

} // namespace skin
