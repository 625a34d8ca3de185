#include "tools/skinart/SkinArt.h"

#include "tools/skinart/Paint.h"

#include <functional>

namespace skinart {

namespace {

// The theme: light blue faces, deep blue text, white highlights. The colour
// table of the description uses the same values.
constexpr TRgb kFace{191, 210, 234};
constexpr TRgb kText{37, 67, 124};
constexpr TRgb kShadow{158, 176, 205};
constexpr TRgb kDkShadow{134, 149, 193};
constexpr TRgb kLight{241, 244, 250};
constexpr TRgb kHilight{85, 100, 165};
constexpr TRgb kWhite{255, 255, 255};
constexpr TRgb kPale{214, 226, 243};
constexpr TRgb kDisabledBorder{178, 189, 210};
constexpr TRgb kDisabledGlyph{160, 172, 198};

// The four looks most strips repeat, in their usual order.
enum class TLook { Normal, Pressed, Hot, Disabled };

TBoxStyle FaceStyle(TLook look, int32_t radius)
{
  TBoxStyle s;
  s.radius = radius;
  switch (look) {
  case TLook::Normal: s.border = kDkShadow; s.top = {252, 253, 255}; s.bottom = {204, 219, 240}; break;
  case TLook::Hot: s.border = kHilight; s.top = {255, 255, 255}; s.bottom = {216, 231, 252}; break;
  case TLook::Pressed:
    s.border = kHilight;
    s.top = {172, 192, 224};
    s.bottom = {214, 226, 243};
    s.highlight = false;
    break;
  case TLook::Disabled:
    s.border = kDisabledBorder;
    s.top = {238, 241, 247};
    s.bottom = {224, 230, 240};
    s.highlight = false;
    break;
  }
  return s;
}

TRgb GlyphColor(TLook look)
{
  switch (look) {
  case TLook::Disabled: return kDisabledGlyph;
  case TLook::Hot: return kHilight;
  default: return kText;
  }
}

// A strip of frames side by side, each drawn by draw(frame pixmap, index).
gfx::TPixmap Strip(int32_t frameWidth, int32_t height, int32_t frames,
                   const std::function<void(gfx::TPixmap&, int32_t x, int32_t index)>& draw)
{
  gfx::TPixmap pix(frameWidth * frames, height);
  FillRect(pix, 0, 0, pix.Width(), height, kMagenta);
  for (int32_t k = 0; k < frames; ++k)
    draw(pix, k * frameWidth, k);
  return pix;
}

// ---- buttons, check boxes, radio buttons ------------------------------------

gfx::TPixmap Buttons()
{
  // Frames: normal, pressed, disabled, hot, focused or default.
  const TLook looks[5] = {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot, TLook::Normal};
  return Strip(20, 23, 5, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    DrawBox(p, x, 0, 20, 23, FaceStyle(looks[k], 3));
    if (k == 4) {
      // The focused look adds a second outline inside the border.
      for (int32_t i = 2; i < 18; ++i) {
        Put(p, x + i, 1, kHilight);
        Put(p, x + i, 21, kHilight);
      }
      for (int32_t j = 2; j < 21; ++j) {
        Put(p, x + 1, j, kHilight);
        Put(p, x + 18, j, kHilight);
      }
    }
  });
}

TBoxStyle BoxStyle(TLook look)
{
  TBoxStyle s = FaceStyle(look, 2);
  if (look == TLook::Normal) {
    s.top = {232, 239, 248};
    s.bottom = kWhite;
  } else if (look == TLook::Hot) {
    s.top = {214, 228, 247};
    s.bottom = {250, 252, 255};
  }
  s.highlight = false;
  return s;
}

gfx::TPixmap CheckBoxes()
{
  // Twelve frames: unchecked, checked and mixed, each normal, hot, pressed
  // and disabled.
  const TLook looks[4] = {TLook::Normal, TLook::Hot, TLook::Pressed, TLook::Disabled};
  return Strip(13, 13, 12, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    const TLook look = looks[k % 4];
    DrawBox(p, x, 0, 13, 13, BoxStyle(look));
    const TRgb mark = look == TLook::Disabled ? kDisabledGlyph : kHilight;
    if (k / 4 == 1) {
      DrawLine(p, x + 3.2, 6.6, x + 5.4, 9.0, 1.9, mark);
      DrawLine(p, x + 5.4, 9.0, x + 9.8, 3.6, 1.9, mark);
    } else if (k / 4 == 2) {
      FillRect(p, x + 3, 3, 7, 7, mark);
    }
  });
}

gfx::TPixmap RadioButtons()
{
  // Eight frames: unchecked and checked, each normal, hot, pressed, disabled.
  const TLook looks[4] = {TLook::Normal, TLook::Hot, TLook::Pressed, TLook::Disabled};
  return Strip(13, 13, 8, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    const TLook look = looks[k % 4];
    DrawDisc(p, x, 0, 13, BoxStyle(look));
    if (k >= 4)
      FillDisc(p, x + 6.5, 6.5, 2.6, look == TLook::Disabled ? kDisabledGlyph : kHilight);
  });
}

// ---- progress bar, tabs, header, status bar ---------------------------------

gfx::TPixmap Progress()
{
  gfx::TPixmap p(24, 16);
  FillRect(p, 0, 0, 24, 16, kMagenta);
  TBoxStyle s;
  s.radius = 3;
  s.border = kShadow;
  s.top = {226, 233, 243};
  s.bottom = {250, 252, 255};
  s.highlight = false;
  DrawBox(p, 0, 0, 24, 16, s);
  return p;
}

gfx::TPixmap ProgressChunk()
{
  // One chunk and the gap to the next, repeated along the filled part.
  gfx::TPixmap p(9, 12);
  FillRect(p, 0, 0, 9, 12, {240, 244, 250});
  for (int32_t j = 0; j < 12; ++j)
    FillRect(p, 0, j, 7, 1, Mix({134, 176, 236}, {58, 96, 178}, j / 11.0));
  FillRect(p, 0, 0, 7, 1, {176, 204, 244});
  return p;
}

gfx::TPixmap Tabs()
{
  // Frames: normal, selected, disabled, hot, selected and focused.
  return Strip(30, 21, 5, [](gfx::TPixmap& p, int32_t x, int32_t k) {
    TBoxStyle s = FaceStyle(k == 2 ? TLook::Disabled : (k == 3 ? TLook::Hot : TLook::Normal), 4);
    const bool selected = k == 1 || k == 4;
    if (selected) {
      s.top = kWhite;
      s.bottom = {248, 250, 253};
      s.border = k == 4 ? kHilight : kDkShadow;
    }
    // Rounded at the top only: draw a taller box and keep its upper part.
    gfx::TPixmap tall(30, 27);
    DrawBox(tall, 0, 0, 30, 27, s);
    for (int32_t j = 0; j < 21; ++j)
      for (int32_t i = 0; i < 30; ++i)
        p.At(x + i, j) = tall.At(i, j);
    if (selected) {
      FillRect(p, x + 1, 20, 28, 1, {248, 250, 253});
      FillRect(p, x + 2, 1, 26, 1, k == 4 ? TRgb{255, 196, 90} : kWhite);
    } else {
      FillRect(p, x, 20, 30, 1, kDkShadow);
    }
  });
}

gfx::TPixmap TabSheet()
{
  gfx::TPixmap p(40, 40);
  FillRect(p, 0, 0, 40, 40, {248, 250, 253});
  FillRect(p, 0, 0, 40, 1, kDkShadow);
  FillRect(p, 0, 0, 1, 40, kDkShadow);
  FillRect(p, 1, 1, 38, 1, kWhite);
  FillRect(p, 39, 0, 1, 40, kDkShadow);
  FillRect(p, 0, 39, 40, 1, kDkShadow);
  FillRect(p, 38, 1, 1, 38, kShadow);
  FillRect(p, 1, 38, 38, 1, kShadow);
  FillRect(p, 37, 2, 1, 36, kPale);
  FillRect(p, 2, 37, 36, 1, kPale);
  return p;
}

gfx::TPixmap Header()
{
  // Frames: normal, hot, pressed, sorted.
  return Strip(20, 20, 4, [](gfx::TPixmap& p, int32_t x, int32_t k) {
    const TRgb top = k == 2 ? TRgb{200, 215, 238} : (k == 1 ? TRgb{255, 255, 255} : TRgb{252, 253, 255});
    const TRgb bottom = k == 2 ? TRgb{222, 232, 246} : (k == 1 ? TRgb{210, 226, 250} : TRgb{221, 231, 245});
    for (int32_t j = 0; j < 20; ++j)
      FillRect(p, x, j, 20, 1, Mix(top, bottom, j / 19.0));
    FillRect(p, x + 18, 3, 1, 14, kShadow);
    FillRect(p, x + 19, 3, 1, 14, kWhite);
    FillRect(p, x, 19, 20, 1, k == 1 || k == 3 ? kHilight : kDkShadow);
  });
}

gfx::TPixmap StatusBar()
{
  // Frames: lowered, raised and flat panels.
  return Strip(80, 22, 3, [](gfx::TPixmap& p, int32_t x, int32_t k) {
    for (int32_t j = 0; j < 22; ++j)
      FillRect(p, x, j, 80, 1, Mix({238, 243, 250}, {206, 220, 240}, j / 21.0));
    FillRect(p, x, 0, 80, 1, kShadow);
    if (k == 2)
      return;
    const TRgb a = k == 0 ? kShadow : kWhite;
    const TRgb b = k == 0 ? kWhite : kShadow;
    FillRect(p, x + 1, 2, 77, 1, a);
    FillRect(p, x + 1, 2, 1, 19, a);
    FillRect(p, x + 1, 20, 78, 1, b);
    FillRect(p, x + 78, 2, 1, 19, b);
  });
}

gfx::TPixmap ComboButton()
{
  // Frames: normal, pressed, disabled, hot.
  const TLook looks[4] = {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot};
  return Strip(17, 20, 4, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    DrawBox(p, x, 0, 17, 20, FaceStyle(looks[k], 2));
    DrawArrow(p, x + 8, 10 + (k == 1 ? 1 : 0), 7, TDirection::Down, GlyphColor(looks[k]));
  });
}

gfx::TPixmap ExtraImages()
{
  // Frames 1-4: the combo arrow (normal, pressed, disabled, hot); 5: size grip.
  const TLook looks[4] = {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot};
  return Strip(12, 12, 5, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    if (k < 4) {
      DrawArrow(p, x + 6, 6, 7, TDirection::Down, GlyphColor(looks[k]));
      return;
    }
    for (int32_t row = 0; row < 4; ++row)
      for (int32_t col = 3 - row; col < 4; ++col) {
        Put(p, x + 3 * col, 3 * row, kShadow);
        Put(p, x + 3 * col + 1, 3 * row + 1, kWhite);
        Put(p, x + 3 * col + 1, 3 * row, kDkShadow);
      }
  });
}

// ---- scroll bars -------------------------------------------------------------

gfx::TPixmap ScrollbarArrows()
{
  // 23 frames: left, right, up and down arrows (rest, pressed, disabled, hot),
  // the horizontal and vertical thumb grips (rest, pressed, hot), one spare.
  const TLook arrowLooks[4] = {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot};
  const TDirection directions[4] = {TDirection::Left, TDirection::Right, TDirection::Up, TDirection::Down};
  return Strip(17, 17, 23, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    if (k < 16) {
      const TLook look = arrowLooks[k % 4];
      DrawBox(p, x, 0, 17, 17, FaceStyle(look, 3));
      const int32_t shift = look == TLook::Pressed ? 1 : 0;
      DrawArrow(p, x + 8 + shift, 8 + shift, 7, directions[k / 4], GlyphColor(look));
      return;
    }
    if (k >= 22)
      return;
    const bool horizontal = k < 19;
    const int32_t look = (k - 16) % 3;
    const TRgb dark = look == 1 ? kHilight : (look == 2 ? TRgb{70, 100, 170} : kDkShadow);
    for (int32_t line = 0; line < 3; ++line) {
      const int32_t off = 5 + 3 * line;
      if (horizontal) {
        FillRect(p, x + off, 5, 1, 7, dark);
        FillRect(p, x + off + 1, 5, 1, 7, kWhite);
      } else {
        FillRect(p, x + 5, off, 7, 1, dark);
        FillRect(p, x + 5, off + 1, 7, 1, kWhite);
      }
    }
  });
}

gfx::TPixmap ScrollThumb(bool vertical)
{
  // Frames: rest, pressed, hot, disabled. The thumb is drawn opaque, so its
  // corners take the track's colour instead of the key colour.
  const TLook looks[4] = {TLook::Normal, TLook::Pressed, TLook::Hot, TLook::Disabled};
  return Strip(17, 17, 4, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    FillRect(p, x, 0, 17, 17, {234, 239, 247});
    TBoxStyle s = FaceStyle(looks[k], 4);
    s.keyOutside = false;
    s.horizontal = vertical;
    DrawBox(p, x, 0, 17, 17, s);
  });
}

gfx::TPixmap ScrollTrack(bool vertical)
{
  // Frames: enabled, pressed, disabled, hot.
  const int32_t w = vertical ? 17 : 20;
  const int32_t h = vertical ? 20 : 17;
  return Strip(w, h, 4, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    const TRgb a = k == 1 ? TRgb{206, 218, 236} : (k == 2 ? TRgb{238, 240, 245} : TRgb{226, 233, 243});
    const TRgb b = k == 2 ? TRgb{244, 246, 250} : TRgb{246, 249, 253};
    for (int32_t i = 0; i < (vertical ? w : h); ++i) {
      const TRgb c = Mix(a, b, i / double((vertical ? w : h) - 1));
      if (vertical)
        FillRect(p, x + i, 0, 1, h, c);
      else
        FillRect(p, x, i, w, 1, c);
    }
    if (vertical) {
      FillRect(p, x, 0, 1, h, kShadow);
      FillRect(p, x + w - 1, 0, 1, h, kLight);
    } else {
      FillRect(p, x, 0, w, 1, kShadow);
      FillRect(p, x, h - 1, w, 1, kLight);
    }
  });
}

// ---- menus -------------------------------------------------------------------

gfx::TPixmap MenuBackground()
{
  gfx::TPixmap p(40, 40);
  FillRect(p, 0, 0, 40, 40, {250, 251, 254});
  FillRect(p, 0, 0, 40, 1, kDkShadow);
  FillRect(p, 0, 39, 40, 1, kDkShadow);
  FillRect(p, 0, 0, 1, 40, kDkShadow);
  FillRect(p, 39, 0, 1, 40, kDkShadow);
  FillRect(p, 1, 1, 38, 1, kWhite);
  FillRect(p, 1, 1, 1, 38, kWhite);
  FillRect(p, 1, 38, 38, 1, kPale);
  FillRect(p, 38, 1, 1, 38, kPale);
  return p;
}

gfx::TPixmap MenuItem()
{
  // Frames: normal (transparent); the separator, an etched line cut from the
  // bottom rows; pressed; selected; disabled and selected.
  return Strip(30, 20, 5, [](gfx::TPixmap& p, int32_t x, int32_t k) {
    if (k == 0)
      return;
    if (k == 1) {
      FillRect(p, x + 2, 15, 26, 1, {158, 176, 205});
      FillRect(p, x + 2, 16, 26, 1, {254, 254, 254});
      return;
    }
    TBoxStyle s;
    s.radius = 3;
    s.highlight = k != 2;
    if (k == 4) {
      s.border = kDisabledBorder;
      s.top = {244, 246, 250};
      s.bottom = {232, 236, 243};
    } else {
      s.border = {126, 150, 214};
      s.top = k == 2 ? TRgb{196, 212, 240} : TRgb{232, 240, 252};
      s.bottom = k == 2 ? TRgb{220, 230, 247} : TRgb{204, 221, 247};
    }
    DrawBox(p, x, 0, 30, 20, s);
  });
}

// ---- track bar ---------------------------------------------------------------

gfx::TPixmap TrackThumb(bool pointDown)
{
  // Frames: normal, normal (the one the track bar draws), hot, pressed,
  // disabled. A rounded body with a point towards the channel.
  const TLook looks[5] = {TLook::Normal, TLook::Normal, TLook::Hot, TLook::Pressed, TLook::Disabled};
  return Strip(11, 20, 5, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    TBoxStyle s = FaceStyle(looks[k], 2);
    gfx::TPixmap body(11, 20);
    FillRect(body, 0, 0, 11, 20, kMagenta);
    DrawBox(body, 0, 0, 11, 15, s);
    // The point: rows 14..19 narrow towards the centre.
    for (int32_t j = 14; j < 20; ++j) {
      const int32_t half = 19 - j;
      for (int32_t i = 5 - half; i <= 5 + half; ++i) {
        const bool edge = i == 5 - half || i == 5 + half;
        Put(body, i, j, edge ? s.border : Mix(s.top, s.bottom, 1.0));
      }
    }
    for (int32_t j = 0; j < 20; ++j)
      for (int32_t i = 0; i < 11; ++i)
        p.At(x + i, j) = pointDown ? body.At(i, j) : body.At(i, 19 - j);
    if (!pointDown)
      return;
    FillRect(p, x + 3, 5, 5, 1, looks[k] == TLook::Disabled ? kDisabledGlyph : kShadow);
    FillRect(p, x + 3, 8, 5, 1, looks[k] == TLook::Disabled ? kDisabledGlyph : kShadow);
  });
}

// ---- caption buttons and MDI buttons ----------------------------------------

enum class TGlyph { Close, Maximize, Minimize, Restore };

void DrawCaptionGlyph(gfx::TPixmap& p, int32_t x, int32_t y, int32_t size, TGlyph glyph, TRgb c)
{
  // Glyphs are laid out on a 21-pixel grid and scaled to size.
  const double s = size / 21.0;
  const auto rect = [&](double l, double t, double r, double b, double top) {
    DrawLine(p, x + l * s, y + t * s, x + r * s, y + t * s, top * s, c);
    DrawLine(p, x + l * s, y + b * s, x + r * s, y + b * s, 1.6 * s, c);
    DrawLine(p, x + l * s, y + t * s, x + l * s, y + b * s, 1.6 * s, c);
    DrawLine(p, x + r * s, y + t * s, x + r * s, y + b * s, 1.6 * s, c);
  };
  switch (glyph) {
  case TGlyph::Close:
    DrawLine(p, x + 7 * s, y + 7 * s, x + 14 * s, y + 14 * s, 2.2 * s, c);
    DrawLine(p, x + 14 * s, y + 7 * s, x + 7 * s, y + 14 * s, 2.2 * s, c);
    break;
  case TGlyph::Maximize: rect(6.5, 7, 14.5, 14.5, 2.6); break;
  case TGlyph::Minimize: DrawLine(p, x + 6.5 * s, y + 14 * s, x + 14.5 * s, y + 14 * s, 2.4 * s, c); break;
  case TGlyph::Restore:
    rect(8.5, 6, 15, 12, 2.2);
    FillRect(p, x + int32_t(6 * s), y + int32_t(9 * s), int32_t(7 * s), int32_t(6 * s), {255, 0, 254});
    rect(6, 9.5, 12.5, 15, 2.2);
    break;
  }
}

gfx::TPixmap CaptionButton(TGlyph glyph)
{
  // Frames: normal, pressed, hot, inactive or disabled; then normal and hot
  // again for skins that read six.
  const TLook looks[6] = {TLook::Normal, TLook::Pressed, TLook::Hot, TLook::Disabled, TLook::Normal, TLook::Hot};
  return Strip(21, 21, 6, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    TBoxStyle s = FaceStyle(looks[k], 5);
    TRgb glyphColor = GlyphColor(looks[k]);
    if (glyph == TGlyph::Close && looks[k] == TLook::Hot) {
      s = {5, {176, 58, 48}, {242, 140, 124}, {212, 72, 58}, true, {255, 214, 206}, true, false, true};
      glyphColor = kWhite;
    } else if (glyph == TGlyph::Close && looks[k] == TLook::Pressed) {
      s = {5, {150, 40, 32}, {190, 60, 48}, {226, 110, 96}, false, kWhite, true, false, true};
      glyphColor = kWhite;
    }
    DrawBox(p, x + 1, 1, 19, 19, s);
    gfx::TPixmap glyphs(21, 21);
    FillRect(glyphs, 0, 0, 21, 21, kMagenta);
    DrawCaptionGlyph(glyphs, 0, 0, 21, glyph, glyphColor);
    for (int32_t j = 0; j < 21; ++j)
      for (int32_t i = 0; i < 21; ++i) {
        const gfx::TPixel g = glyphs.At(i, j);
        if (g != gfx::ColorToPixel(gfx::clFuchsia) && g != gfx::ColorToPixel(gfx::RGBColor(255, 0, 254)))
          p.At(x + i, j) = g;
      }
  });
}

gfx::TPixmap MdiButtons()
{
  // Three buttons of four 13-pixel frames (normal, pressed, hot, disabled):
  // minimise, restore and close of a maximised child window.
  const TGlyph glyphs[3] = {TGlyph::Minimize, TGlyph::Restore, TGlyph::Close};
  const TLook looks[4] = {TLook::Normal, TLook::Pressed, TLook::Hot, TLook::Disabled};
  return Strip(13, 13, 12, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    DrawBox(p, x, 0, 13, 13, FaceStyle(looks[k % 4], 2));
    DrawCaptionGlyph(p, x, 0, 13, glyphs[k / 4], GlyphColor(looks[k % 4]));
    // The restore glyph erases behind its front window with a marker colour.
    for (int32_t j = 0; j < 13; ++j)
      for (int32_t i = 0; i < 13; ++i)
        if (p.At(x + i, j) == gfx::ColorToPixel(gfx::RGBColor(255, 0, 254)))
          p.At(x + i, j) = gfx::ColorToPixel(gfx::RGBColor(230, 238, 248));
  });
}

// ---- up-down controls ----------------------------------------------------------

gfx::TPixmap Spin(bool horizontal)
{
  // Frames 1-4: the up (left) half, 5-8 the down (right) half; each normal,
  // pressed, disabled, hot, the order the up-down's looks are numbered in.
  const TLook looks[4] = {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot};
  const int32_t w = horizontal ? 11 : 16;
  const int32_t h = horizontal ? 16 : 11;
  return Strip(w, h, 8, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    TBoxStyle s = FaceStyle(looks[k % 4], 2);
    s.horizontal = horizontal;
    DrawBox(p, x, 0, w, h, s);
  });
}

gfx::TPixmap SpinArrows(bool horizontal)
{
  const TLook looks[4] = {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot};
  const int32_t w = horizontal ? 5 : 9;
  const int32_t h = horizontal ? 9 : 5;
  return Strip(w, h, 8, [&](gfx::TPixmap& p, int32_t x, int32_t k) {
    const TDirection d = horizontal ? (k < 4 ? TDirection::Left : TDirection::Right)
                                    : (k < 4 ? TDirection::Up : TDirection::Down);
    DrawArrow(p, x + w / 2, h / 2, horizontal ? 9 : 9, d, GlyphColor(looks[k % 4]));
  });
}

// ---- window frame -------------------------------------------------------------

struct TFrameColors {
  TRgb outer, light, body, inner, captionTop, captionBottom;
};
constexpr TFrameColors kActive{kDkShadow, {250, 252, 255}, {212, 225, 243}, kShadow, {252, 253, 255}, {204, 220, 242}};
constexpr TFrameColors kInactive{{176, 186, 208}, {252, 252, 254}, {230, 235, 243}, {196, 205, 222}, {250, 251, 253}, {226, 232, 242}};

// A caption band: outer line, highlight, vertical gradient, rounded top
// corners cut out with the key colour.
void DrawCaption(gfx::TPixmap& p, int32_t y, int32_t w, int32_t h, const TFrameColors& c)
{
  TBoxStyle s;
  s.radius = 7;
  s.border = c.outer;
  s.top = c.captionTop;
  s.bottom = c.captionBottom;
  s.highlightColor = c.light;
  gfx::TPixmap tall(w, h + 8);
  DrawBox(tall, 0, 0, w, h + 8, s);
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i)
      p.At(i, y + j) = tall.At(i, j);
  // The side columns continue into the side borders below the caption.
  for (int32_t j = 8; j < h; ++j) {
    Put(p, 1, y + j, c.light);
    Put(p, w - 2, y + j, c.body);
  }
  FillRect(p, 3, y + h - 1, w - 6, 1, c.inner);
}

// The caption band is drawn whole, as wide as the top border and both side
// borders together; the frame puts the top border between the side borders,
// so each side border carries its share of the rounded corners.
constexpr int32_t kSideWidth = 4;
constexpr int32_t kTopWidth = 172;
constexpr int32_t kCaptionHeight = 29;

gfx::TPixmap WholeCaption(const TFrameColors& c)
{
  gfx::TPixmap p(kTopWidth + 2 * kSideWidth, kCaptionHeight);
  DrawCaption(p, 0, p.Width(), kCaptionHeight, c);
  return p;
}

// Copies w x h pixels of from at (fx, fy) to to at (tx, ty).
void CopyPixels(const gfx::TPixmap& from, int32_t fx, int32_t fy, gfx::TPixmap& to, int32_t tx, int32_t ty,
                int32_t w, int32_t h)
{
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i)
      to.At(tx + i, ty + j) = from.At(fx + i, fy + j);
}

gfx::TPixmap FrameTop()
{
  gfx::TPixmap p(kTopWidth, 2 * kCaptionHeight);
  CopyPixels(WholeCaption(kActive), kSideWidth, 0, p, 0, 0, kTopWidth, kCaptionHeight);
  CopyPixels(WholeCaption(kInactive), kSideWidth, 0, p, 0, kCaptionHeight, kTopWidth, kCaptionHeight);
  return p;
}

gfx::TPixmap MinCaption()
{
  gfx::TPixmap p(100, 58);
  DrawCaption(p, 0, 100, 29, kActive);
  DrawCaption(p, 29, 100, 29, kInactive);
  return p;
}

gfx::TPixmap FrameBottom()
{
  gfx::TPixmap p(172, 10);
  for (int32_t f = 0; f < 2; ++f) {
    const TFrameColors& c = f == 0 ? kActive : kInactive;
    const int32_t y = 5 * f;
    FillRect(p, 0, y, 172, 5, c.body);
    FillRect(p, 3, y, 166, 1, c.inner);
    FillRect(p, 1, y + 3, 170, 1, Mix(c.body, c.outer, 0.35));
    FillRect(p, 0, y + 4, 172, 1, c.outer);
    FillRect(p, 0, y, 1, 5, c.outer);
    FillRect(p, 171, y, 1, 5, c.outer);
    FillRect(p, 1, y, 1, 3, c.light);
  }
  return p;
}

gfx::TPixmap FrameSide(bool left)
{
  // Two frames of four columns: active and inactive; from the outside in:
  // outline, highlight, body, the line along the client area. Beside the
  // caption, the side holds the caption's own outer columns.
  gfx::TPixmap p(2 * kSideWidth, 100);
  for (int32_t f = 0; f < 2; ++f) {
    const TFrameColors& c = f == 0 ? kActive : kInactive;
    const TRgb columns[4] = {c.outer, c.light, c.body, c.inner};
    for (int32_t i = 0; i < kSideWidth; ++i)
      FillRect(p, kSideWidth * f + (left ? i : kSideWidth - 1 - i), 0, 1, 100, columns[i]);
    const gfx::TPixmap caption = WholeCaption(c);
    CopyPixels(caption, left ? 0 : caption.Width() - kSideWidth, 0, p, kSideWidth * f, 0, kSideWidth,
               kCaptionHeight);
  }
  return p;
}

} // namespace

std::vector<TSkinBitmap> DrawSkinBitmaps()
{
  std::vector<TSkinBitmap> list;
  const auto add = [&list](const char* name, int32_t bits, gfx::TPixmap pixels) {
    list.push_back({name, bits, std::move(pixels)});
  };
  add("buttons.bmp", 24, Buttons());
  add("checkbox.bmp", 24, CheckBoxes());
  add("radiobutton.bmp", 24, RadioButtons());
  add("progress.bmp", 24, Progress());
  add("progresschunk.bmp", 24, ProgressChunk());
  add("tab.bmp", 24, Tabs());
  add("tabsheet.bmp", 24, TabSheet());
  add("comboboxbtn.bmp", 24, ComboButton());
  add("statusbar.bmp", 24, StatusBar());
  add("header.bmp", 24, Header());
  add("scrollbararrow.bmp", 32, ScrollbarArrows());
  add("scrollbarhthumb.bmp", 24, ScrollThumb(false));
  add("scrollbarvthumb.bmp", 24, ScrollThumb(true));
  add("scrollbarhbar.bmp", 24, ScrollTrack(false));
  add("scrollbarvbar.bmp", 24, ScrollTrack(true));
  add("menubackground.bmp", 32, MenuBackground());
  add("menuitem.bmp", 32, MenuItem());
  add("extraimages.bmp", 24, ExtraImages());
  add("trackthumbh.bmp", 24, TrackThumb(true));
  add("trackbot.bmp", 8, TrackThumb(true));
  add("mdibutton.bmp", 24, MdiButtons());
  add("spin.bmp", 24, Spin(false));
  add("spinarrow.bmp", 24, SpinArrows(false));
  add("spinh.bmp", 24, Spin(true));
  add("spinharrow.bmp", 24, SpinArrows(true));
  add("closebutton.bmp", 24, CaptionButton(TGlyph::Close));
  add("maxbutton.bmp", 24, CaptionButton(TGlyph::Maximize));
  add("minbutton.bmp", 24, CaptionButton(TGlyph::Minimize));
  add("restrorebutton.bmp", 24, CaptionButton(TGlyph::Restore));
  add("frameleft.bmp", 24, FrameSide(true));
  add("frameright.bmp", 24, FrameSide(false));
  add("frametop.bmp", 24, FrameTop());
  add("framebottom.bmp", 24, FrameBottom());
  add("mincaption.bmp", 24, MinCaption());
  return list;
}

} // namespace skinart
