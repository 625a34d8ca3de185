#include "framework/win32/Controls.h"

#include <algorithm>

#include "framework/win32/Handles.h"

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] TWinControl: layout and alignment

void TWinControl::EnableAlign()
{
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_)
    AlignControls();
}

void TWinControl::AlignControls()
{
  if (alignDisabled_ > 0 || HasState(csLoading) || HasState(csDestroying)) {
    alignPending_ = true;
    return;
  }
  if (aligning_)
    return;
  alignPending_ = false;
  TMuteScope aligning(aligning_);
  gfx::TRect rect = AdjustClientRect(ClientRect());
  auto take = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->align_ == align && c->visible_)
        list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [align](const TControl* a, const TControl* b) {
      switch (align) {
      case alTop: return a->top_ < b->top_;
      case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
      case alLeft: return a->left_ < b->left_;
      case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
      default: return false;
      }
    });
    return list;
  };
  for (TControl* c : take(alTop)) {
    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->height_);
    rect.Top += c->height_;
  }
  for (TControl* c : take(alBottom)) {
    c->SetBounds(rect.Left, rect.Bottom - c->height_, rect.Width(), c->height_);
    rect.Bottom -= c->height_;
  }
  for (TControl* c : take(alLeft)) {
    c->SetBounds(rect.Left, rect.Top, c->width_, std::max(rect.Height(), 0));
    rect.Left += c->width_;
  }
  for (TControl* c : take(alRight)) {
    c->SetBounds(rect.Right - c->width_, rect.Top, c->width_, std::max(rect.Height(), 0));
    rect.Right -= c->width_;
  }
  for (TControl* c : take(alClient))
    c->SetBounds(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
}

void TWinControl::ApplyAnchors(int oldWidth, int oldHeight, int newWidth, int newHeight)
{
  int dw = newWidth - oldWidth, dh = newHeight - oldHeight;
  if (dw == 0 && dh == 0)
    return;
  for (TControl* c : controls_) {
    if (c->align_ != alNone)
      continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    bool left = c->anchors_ & (1u << akLeft), right = c->anchors_ & (1u << akRight);
    bool top = c->anchors_ & (1u << akTop), bottom = c->anchors_ & (1u << akBottom);
    if (right && left)
      w += dw;
    else if (right)
      l += dw;
    else if (!left)
      l += dw / 2;
    if (bottom && top)
      h += dh;
    else if (bottom)
      t += dh;
    else if (!top)
      t += dh / 2;
    c->SetBounds(l, t, w, h);
  }
}

} // namespace framework
