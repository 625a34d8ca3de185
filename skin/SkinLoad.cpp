// The load sequence of the skin model: from a parsed description and the
// package's bitmaps to the skin elements, colours and derived images. The
// order of the steps matters: element text colours default to the skin's
// ButtonText, so the colour table comes first, and the derived images need
// their sources. Every step writes into the new model only.
#include "gfx/GdiConstants.h"
#include "skin/AnsiText.h"
#include "skin/BitmapUtils.h"
#include "skin/BuiltinBitmaps.h"
#include "skin/ElementBitmap.h"
#include "skin/QuickIni.h"
#include "skin/SkinData.h"
#include "skin/SkinModel.h"
#include "skin/SkinReader.h"
#include "skin/ValueParsers.h"
#include "skin/controls/ElementDraw.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

using framework::TBitmap;
using gfx::TColor;

// Empties the bitmap, then takes the pixmap's size and pixels.
void AssignPixmap(TBitmap& target, const gfx::TPixmap& pixels)
{
  target.SetSize(0, 0);
  target.SetPixelFormat(framework::pf24bit);
  if (pixels.IsEmpty())
    return;
  target.SetSize(pixels.Width(), pixels.Height());
  for (int32_t y = 0; y < pixels.Height(); ++y)
    std::memcpy(target.ScanLine(y), pixels.ScanLine(y), size_t(pixels.Width()) * sizeof(gfx::TPixel));
  target.Changed();
}

void LoadImage(TBitmap& target, const TSkinReader& reader, const std::string& value)
{
  AssignPixmap(target, LoadElementBitmap(reader, value));
}

// Copies a part of a bitmap into target (which takes the part's size).
void CopyPart(TBitmap& target, TBitmap& source, const gfx::TRect& part)
{
  target.SetSize(0, 0);
  target.SetPixelFormat(framework::pf24bit);
  if (part.Width() <= 0 || part.Height() <= 0)
    return;
  target.SetSize(part.Width(), part.Height());
  target.Context().BitBlt(0, 0, part.Width(), part.Height(), &source.Context(), part.Left, part.Top, SRCCOPY);
}

// A new element whose text colours default to the skin's ButtonText.
template <class T>
std::unique_ptr<T> NewElement(std::string name, TColor buttonText)
{
  auto e = std::make_unique<T>(std::move(name));
  e->NormalColour2 = e->MouseOverColour2 = e->PressedColour2 = buttonText;
  return e;
}

class TLoader {
public:
  TLoader(const TQuickIni& ini, const TSkinReader& reader, TColor buttonText)
    : ini_(ini), reader_(reader), buttonText_(buttonText)
  {
  }

  template <class T>
  [[nodiscard]] std::unique_ptr<T> New(std::string name) const
  {
    return NewElement<T>(std::move(name), buttonText_);
  }

  [[nodiscard]] int32_t Int(std::string_view section, std::string_view key, int32_t def) const
  {
    return ini_.ReadInteger(section, key, def);
  }
  [[nodiscard]] std::string Str(std::string_view section, std::string_view key) const
  {
    return ini_.ReadString(section, key, "");
  }

  void Margins(TDataSkinObject& e, std::string_view section) const
  {
    e.LeftWidth = Int(section, "LeftWidth", 0);
    e.RightWidth = Int(section, "RightWidth", 0);
    e.TopHeight = Int(section, "TopHeight", 0);
    e.BottomHeight = Int(section, "BottomHeight", 0);
  }

  void TextColours(TDataSkinObject& e, std::string_view section) const
  {
    e.NormalColour = Int(section, "NormalColour", -1);
    e.MouseOverColour = Int(section, "MouseOverColour", -1);
    e.PressedColour = Int(section, "PressedColour", -1);
    e.NormalColour2 = ReadColor(ini_, section, "NormalColour2", buttonText_);
    e.MouseOverColour2 = ReadColor(ini_, section, "MouseOverColour2", buttonText_);
    e.PressedColour2 = ReadColor(ini_, section, "PressedColour2", buttonText_);
  }

  // The keys every plain element has; tileAboveOne is what a Tile above 1
  // stands for in this section.
  template <class T>
  std::unique_ptr<T> Plain(std::string_view section, bool frameKey = true, std::string_view imageKey = "Image",
                           int32_t tileAboveOne = 0) const
  {
    const std::string image = Str(section, imageKey);
    if (image.empty())
      return nullptr;
    auto e = New<T>(std::string(section));
    LoadImage(e->Image, reader_, image);
    e->Style = Int(section, "Style", 0);
    Margins(*e, section);
    if (frameKey)
      e->Frame = Int(section, "Frame", 0);
    e->Trans = Int(section, "Trans", 0);
    e->Tile = Int(section, "Tile", 0);
    if (e->Tile > 1)
      e->Tile = tileAboveOne;
    TextColours(*e, section);
    return e;
  }

  // Tabs, the up-down controls and the combo button: a second image, no
  // frame key.
  std::unique_ptr<TDataSkinBorder> WithSecondImage(std::string_view section, std::string_view secondKey) const
  {
    auto e = Plain<TDataSkinBorder>(section, false);
    if (e && !secondKey.empty())
      LoadImage(e->Image2, reader_, Str(section, secondKey));
    return e;
  }

  std::unique_ptr<TDataSkinBorder> ProgressElement() const
  {
    const std::string image = Str("Progress", "Bitmap");
    if (image.empty())
      return nullptr;
    auto e = New<TDataSkinBorder>("Progress");
    LoadImage(e->Image, reader_, image);
    e->Style = Int("Progress", "Style", 0);
    Margins(*e, "Progress");
    e->Trans = Int("Progress", "Trans", 0);
    e->Tile = Int("Progress", "Tile", 0);
    if (e->Tile > 1)
      e->Tile = 1;
    return e;
  }

  const TQuickIni& Ini() const { return ini_; }
  const TSkinReader& Reader() const { return reader_; }
  TColor ButtonText() const { return buttonText_; }

private:
  const TQuickIni& ini_;
  const TSkinReader& reader_;
  TColor buttonText_;
};

} // namespace

TSkinModel TSkinModel::Load(const TQuickIni& ini, const TSkinReader& reader)
{
  TSkinModel m;
  // 1. Names.
  m.skinName_ = ini.ReadString("TitlebarSkin", "SkinName", "");
  // 2. Borders.
  m.LoadBorders(ini, reader);
  // 3. Colours.
  m.LoadColors(ini);
  // 4. Caption buttons.
  m.LoadCaptionButtons(ini, reader);
  // 5. Buttons and the caption title.
  m.LoadButtonsAndTitle(ini, reader);
  // 6. The other elements.
  m.LoadElements(ini, reader);
  // 7. Frame counts.
  m.FixFrameCounts();
  // 8, 9. The combined edit-box image and the combo arrow.
  m.BuildEditBoxImage();
  m.BuildComboxArrow();
  // The frame colour comes before the toolbar gradient that is made from it.
  m.ComputeFrameColor();
  m.BuildToolbar();
  m.brushColor_ = m.colors_[scButtonFace].Color;
  return m;
}

void TSkinModel::LoadBorders(const TQuickIni& ini, const TSkinReader& reader)
{
  // The borders come before the colour table: their text colours are the
  // default ButtonText, whatever skin was loaded before.
  const TLoader load(ini, reader, colors_[scButtonText].Color);
  struct TSide {
    std::unique_ptr<TDataSkinBorder> TSkinModel::*Element;
    const char* Name;
    bool Vertical; // Left and Right: margins are top and bottom
  };
  const TSide sides[] = {{&TSkinModel::BorderLeft, "Left", true},
                         {&TSkinModel::BorderRight, "Right", true},
                         {&TSkinModel::BorderTop, "Top", false},
                         {&TSkinModel::BorderBottom, "Bottom", false}};
  for (const TSide& side : sides) {
    const std::string name = side.Name;
    auto e = load.New<TDataSkinBorder>(name);
    LoadImage(e->Image, reader, load.Str("Personality", name));
    const int32_t first = load.Int("Personality", name + "TopHeight", 0);
    const int32_t last = load.Int("Personality", name + "BotHeight", 0);
    if (side.Vertical) {
      e->TopHeight = first;
      e->BottomHeight = last;
    } else {
      e->LeftWidth = first;
      e->RightWidth = last;
    }
    e->Frame = load.Int("Personality", name + "Frame", 1);
    e->Tile = std::min(load.Int("Personality", name + "Stretch", 1), 1);
    e->Trans = load.Int("Personality", name + "Trans", 1);
    this->*side.Element = std::move(e);
  }
}

void TSkinModel::LoadColors(const TQuickIni& ini)
{
  struct TKey {
    TSkinColorIndex Index;
    const char* Key;
    TColor Default;
  };
  // Menubar is missing here: its default is the ButtonFace just read.
  const TKey keys[] = {
    {scWindowText, "WindowText", gfx::clWindowText},
    {scTitleTextActive, "TitleTextActive", gfx::clCaptionText},
    {scTitleTextNoActive, "TitleTextNoActive", gfx::clInactiveCaptionText},
    {scButtonFace, "ButtonFace", gfx::clBtnFace},
    {scButtonText, "ButtonText", gfx::clBtnText},
    {scButtonHilight, "ButtonHilight", gfx::clBtnHighlight},
    {scButtonlight, "Buttonlight", gfx::clBtnHighlight},
    {scButtonShadow, "ButtonShadow", gfx::clBtnShadow},
    {scButtonDkShadow, "ButtonDkShadow", gfx::cl3DDkShadow},
    {scHilightText, "HilightText", gfx::clHighlightText},
    {scHilight, "Hilight", gfx::clHighlight},
    {scMenuBarText, "MenuBarText", gfx::clMenuText},
    {scMenuText, "MenuText", gfx::clMenuText},
    {scMenu, "Menu", gfx::clMenu},
    {scScrollbar, "Scrollbar", gfx::clScrollBar},
  };
  auto read = [&](TSkinColorIndex index, const char* key, TColor def) {
    colors_[index].Given = !ini.ReadString("Colours", key, "").empty();
    colors_[index].Color = ReadColor(ini, "Colours", key, def);
  };
  for (const TKey& k : keys)
    read(k.Index, k.Key, k.Default);
  read(scMenubar, "Menubar", colors_[scButtonFace].Color);

  for (const std::string& section : ColourSections(ini))
    sectionColours_.push_back({section, ReadColor(ini, section, "color", gfx::clWindowText)});
  for (size_t i = 0; i < customColors_.size(); ++i)
    customColors_[i] = ReadColor(ini, "Customcolors", "Color" + std::to_string(i), gfx::clWhite);
}

void TSkinModel::LoadCaptionButtons(const TQuickIni& ini, const TSkinReader& reader)
{
  const TLoader load(ini, reader, colors_[scButtonText].Color);
  const std::vector<std::string> sections = CaptionButtonSections(ini);
  CaptionButtons.reserve(sections.size() + 3);
  bool remembered = false;
  gfx::TPoint sharedPosition;
  for (const std::string& section : sections) {
    auto b = load.New<TDataSkinSysButton>(AnsiUpperCase(section));
    b->Action = load.Int(section, "Action", 0);
    b->Align = load.Int(section, "Align", 0);
    b->XCoord = load.Int(section, "Xcoord", 0);
    b->YCoord = load.Int(section, "Ycoord", 0);
    b->Visibility = load.Int(section, "Visibility", 0);
    b->Visibility1 = load.Int(section, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = load.Int(section, "CombineOp", -1);
    b->Frame = load.Int(section, "frame", 0);
    LoadImage(b->Image, reader, load.Str(section, "ButtonImage"));

    // The maximise button's place is shared with a later restore button.
    if (b->Action == 1 && b->Visibility == 2) {
      remembered = true;
      sharedPosition = {b->XCoord, b->YCoord};
    } else if (b->Action == 4 && remembered) {
      b->XCoord = sharedPosition.X;
      b->YCoord = sharedPosition.Y;
    }

    if (b->Frame == 0) {
      b->Frame = 6;
      if (!b->Image.Empty())
        b->Frame = double(b->Image.Width()) / double(b->Image.Height()) <= 3.8 ? 3 : 6;
      if (b->Action < 0)
        b->Frame = 6;
      // The system-menu button shows the application icon, never an image.
      if (b->Action == 3 || b->Action == 11)
        b->Image.SetSize(0, 0);
    }
    CaptionButtons.push_back(std::move(b));
  }

  // The three buttons of a maximised MDI child, drawn in the menu bar.
  TBitmap mdi;
  LoadImage(mdi, reader, load.Str("MDICONTROLS", "Image"));
  for (int32_t i = 0; i < 3; ++i) {
    auto b = load.New<TDataSkinSysButton>("MDICONTROLS");
    b->Action = 7 + i;
    b->Align = 100;
    b->Visibility = 100;
    b->Visibility1 = 100;
    b->Frame = 4;
    if (!mdi.Empty()) {
      const int32_t a = mdi.Width() / 12;
      CopyPart(b->Image, mdi, gfx::TRect::Bounds(4 * a * i, 0, 4 * a, mdi.Height()));
      b->XCoord = (a + 4) * (3 - i);
    }
    CaptionButtons.push_back(std::move(b));
  }
}

void TSkinModel::LoadButtonsAndTitle(const TQuickIni& ini, const TSkinReader& reader)
{
  const TLoader load(ini, reader, colors_[scButtonText].Color);
  Buttons = load.New<TDataSkinButton>("Buttons");
  TDataSkinButton& b = *Buttons;
  LoadImage(b.Image, reader, load.Str("Buttons", "Bitmap"));
  LoadImage(b.CheckImage, reader, load.Str("Buttons", "CheckButton"));
  LoadImage(b.RadioImage, reader, load.Str("Buttons", "RadioButton"));
  load.Margins(b, "Buttons");
  b.Trans = load.Int("Buttons", "Trans", 0);
  b.Tile = load.Int("Buttons", "Tile", 0);
  if (b.Tile > 1)
    b.Tile = 0;
  load.TextColours(b, "Buttons");
  b.RadioButtonFrame = load.Int("Buttons", "RadioButtonFrame", 0);
  b.CheckButtonFrame = load.Int("Buttons", "CheckButtonFrame", 0);
  b.HasNormalColour2 = !load.Str("Buttons", "NormalColour2").empty();
  b.HasMouseOverColour2 = !load.Str("Buttons", "MouseOverColour2").empty();
  b.HasPressedColour2 = !load.Str("Buttons", "PressedColour2").empty();

  CaptionTitle = load.New<TDataSkinTitle>("Personality");
  TDataSkinTitle& t = *CaptionTitle;
  LoadImage(t.Image, reader, load.Str("Personality", "TextBack"));
  t.LeftWidth = load.Int("Personality", "TextShift", 0);
  t.TopHeight = load.Int("Personality", "TextShiftVert", 0);
  t.RightWidth = load.Int("Personality", "TextRightClip", 0);
  t.TextAlignment = load.Int("Personality", "TextAlignment", 0);
  t.Textbackground = load.Int("Personality", "Textbackground", 0);
  t.TXTBackleft = load.Int("Personality", "TXTBackleft", 0);
  t.TXTBackRight = load.Int("Personality", "TXTBackRight", 0);
  t.FontHeight = load.Int("Fonts", "FontHeight", 14);
  ReadSplitColor(ini, "Personality", "ActiveText", t.ActiveText);
  ReadSplitColor(ini, "Personality", "InActiveText", t.InActiveText);
}

void TSkinModel::LoadElements(const TQuickIni& ini, const TSkinReader& reader)
{
  const TLoader load(ini, reader, colors_[scButtonText].Color);
  Progress = load.ProgressElement();
  ProgressChunk = load.Plain<TDataSkinObject>("Progress.Chunk");

  const std::string menuBar = load.Str("Personality", "menuBar");
  if (!menuBar.empty()) {
    MenuBar = load.New<TDataSkinObject>("menuBar");
    LoadImage(MenuBar->Image, reader, menuBar);
    MenuBar->Tile = std::min(load.Int("Personality", "TileMenu", 1), 1);
    MenuBar->LeftWidth = load.Int("Personality", "TileLeftMenu", 1);
    MenuBar->RightWidth = load.Int("Personality", "TileRightMenu", 1);
  }

  GroupBoxEdge = load.Plain<TDataSkinObject>("GroupBoxEdge");
  GroupBox = load.Plain<TDataSkinBoxLabel>("GroupBox", false);
  if (GroupBox) {
    GroupBox->BackgroundAlignment = load.Int("GroupBox", "BackgroundAlignment", 0);
    GroupBox->BackgroundLeftShift = load.Int("GroupBox", "BackgroundLeftShift", 0);
    GroupBox->BackgroundRightShift = load.Int("GroupBox", "BackgroundRightShift", 0);
  }
  Tabs = load.WithSecondImage("Tabs", "Border");
  StatusBarEdges = load.Plain<TDataSkinObject>("StatusBarEdges");
  TabPane = load.Plain<TDataSkinObject>("Tab.Pane");
  if (TabPane) {
    TabPane->LeftWidth = std::min(TabPane->LeftWidth, 4);
    TabPane->TopHeight = std::min(TabPane->TopHeight, 4);
    TabPane->RightWidth = std::min(TabPane->RightWidth, 4);
    TabPane->BottomHeight = std::min(TabPane->BottomHeight, 4);
  }
  ToolBars = load.Plain<TDataSkinObject>("ToolBars");
  ComboButton = load.WithSecondImage("ComboButton", "");
  SunkEdge = load.Plain<TDataSkinObject>("SunkEdge");
  if (ComboButton && !ComboButton->Image.Empty()) {
    ComboButton->Image2.Assign(ComboButton->Image);
    ComboButton->Image2.SetPixelFormat(framework::pf24bit);
    Mirror(ComboButton->Image2);
  }
  ExtraImages = load.Plain<TDataSkinObject>("ExtraImages");
  Headerbar = load.Plain<TDataSkinObject>("Headerbar");
  MenuItem = load.Plain<TDataSkinObject>("MenuItem");
  MenuBackground = load.Plain<TDataSkinObject>("MenuBackground");
  Scrollbar = load.Plain<TDataSkinObject>("Scrollbar");
  HorzScroll = load.Plain<TDataSkinObject>("HorzScroll");
  VertScroll = load.Plain<TDataSkinObject>("VertScroll");
  HorzScrollThumb = load.Plain<TDataSkinObject>("HorzScrollThumb");
  if (HorzScrollThumb)
    HorzScrollThumb->Frame = load.Int("HorzScrollThumb", "FrameCount", 3);
  VertScrollThumb = load.Plain<TDataSkinObject>("VertScrollThumb");
  if (VertScrollThumb)
    VertScrollThumb->Frame = load.Int("VertScrollThumb", "FrameCount", 3);
  ThumbHorz = load.Plain<TDataSkinObject>("Trackbar.ThumbHorz");
  ThumbVert = load.Plain<TDataSkinObject>("Trackbar.ThumbVert");
  ThumbLeft = load.Plain<TDataSkinObject>("Trackbar.ThumbLeft");
  ThumbRight = load.Plain<TDataSkinObject>("Trackbar.ThumbRight");
  ThumbUp = load.Plain<TDataSkinObject>("Trackbar.ThumbUp");
  ThumbDown = load.Plain<TDataSkinObject>("Trackbar.ThumbDown");
  UpDownHorz = load.WithSecondImage("UpDown.Horz", "GlyphImage");
  UpDownVert = load.WithSecondImage("UpDown.Vert", "GlyphImage");

  auto track = [&](const char* section, bool vertical) {
    auto e = load.Plain<TDataSkinObject>(section);
    if (!e) {
      // The program's own bitmap stands in for a skin without one.
      e = load.New<TDataSkinObject>(section);
      MakeTrackBitmap(e->Image, vertical);
      e->LeftWidth = e->TopHeight = e->RightWidth = e->BottomHeight = 3;
      e->Tile = 0;
      e->Frame = 1;
    }
    return e;
  };
  Track = track("Track", false);
  TrackVert = track("TRACKVERT", true);
}

void TSkinModel::FixFrameCounts()
{
  auto fix = [](const auto& e, int32_t frames) {
    if (e)
      e->Frame = frames;
  };
  Buttons->Frame = 5;
  CaptionTitle->Frame = 2;
  fix(Tabs, 5);
  fix(UpDownHorz, 8);
  fix(UpDownVert, 8);
  fix(ComboButton, 4);
  fix(SunkEdge, 4);
  fix(ExtraImages, 5);
  fix(GroupBoxEdge, 2);
  fix(ToolBars, 5);
  if (Progress)
    Progress->Frame = Progress->Style != 0 ? 1 : 2;
  fix(GroupBox, 1);
  fix(StatusBarEdges, 3);
  fix(TabPane, 1);
  if (Headerbar && Headerbar->Frame == 0)
    Headerbar->Frame = 5;
  fix(MenuBar, 2);
  fix(MenuItem, 5);
  fix(MenuBackground, 1);
  fix(Scrollbar, 23);
  fix(HorzScroll, 4);
  fix(VertScroll, 4);
  for (auto* thumb : {&ThumbHorz, &ThumbVert, &ThumbLeft, &ThumbRight, &ThumbUp, &ThumbDown})
    fix(*thumb, 5);

  // Check boxes and radio buttons come as strips of 13- or 16-pixel cells.
  auto cells = [](const TBitmap& image) { return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4); };
  if (Buttons->RadioButtonFrame == 0)
    Buttons->RadioButtonFrame = cells(Buttons->RadioImage);
  if (Buttons->CheckButtonFrame == 0)
    Buttons->CheckButtonFrame = cells(Buttons->CheckImage);
}

void TSkinModel::BuildEditBoxImage()
{
  if (!SunkEdge || !ComboButton)
    return;
  const int32_t frames = SunkEdge->FrameCount();
  const int32_t right = SkinSystemMetrics().HScrollArrowWidth + 2;
  TBitmap combined(50 * frames, 21);
  combined.SetPixelFormat(framework::pf24bit);
  gfx::TDrawContext& dc = combined.Context();
  dc.FillRect(combined.Pixmap().Bounds(), gfx::ColorToPixel(kKeyColor));
  for (int32_t k = 1; k <= frames; ++k) {
    const int32_t left = (k - 1) * 50;
    ElementDraw(dc, gfx::TRect::Bounds(left, 0, 50, 21), SunkEdge->Image, false, SunkEdge->Tile == 1, false,
                frames, k, SunkEdge->Margins());
    const gfx::TRect button(left + 50 - right, 0, left + 50, 21);
    ElementDraw(dc, button, ComboButton->Image, false, ComboButton->Tile == 1, ComboButton->Trans == 1,
                ComboButton->FrameCount(), k, ComboButton->Margins());
    if (ExtraImages)
      DrawStripFrameCentred(dc, button, ExtraImages->Image, true, ExtraImages->FrameCount(), k);
    dc.FillRect({left + 2, 2, left + 49 - right, 18}, gfx::ColorToPixel(kKeyColor));
  }

  ComboButton->Style = 2;
  ComboButton->LeftWidth = 2;
  ComboButton->TopHeight = SunkEdge->TopHeight;
  ComboButton->RightWidth = right + 2;
  ComboButton->BottomHeight = SunkEdge->BottomHeight;
  ComboButton->Image.Assign(combined);

  SunkEdge->Image.Assign(combined);
  Mirror(SunkEdge->Image);
  SunkEdge->LeftWidth = right + 2;
  SunkEdge->RightWidth = 2;
}

void TSkinModel::BuildComboxArrow()
{
  if (!ComboButton)
    return;
  if (!SunkEdge) {
    ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    ComboxArrow->Image.Assign(ComboButton->Image);
    ReplaceKeyColor(ComboxArrow->Image, gfx::ColorToRGB(colors_[scButtonFace].Color));
    ComboxArrow->Frame = ComboButton->Frame;
    return;
  }
  if (ComboButton->Style != 2)
    return;
  const int32_t frames = SunkEdge->FrameCount();
  const int32_t w = ComboButton->Image.Width() / frames;
  ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  TBitmap& arrow = ComboxArrow->Image;
  arrow.SetSize(17 * frames, 17);
  arrow.SetPixelFormat(framework::pf24bit);
  for (int32_t k = 0; k < frames; ++k)
    arrow.Context().BitBlt(17 * k, 0, 17, 17, &ComboButton->Image.Context(), (k + 1) * w - 19, 2, SRCCOPY);
  ComboxArrow->Frame = frames;
}

void TSkinModel::ComputeFrameColor()
{
  TSkinColorEntry& entry = colors_[scFrameColor];
  entry.Given = false;
  const TBitmap& top = BorderTop->Image;
  if (top.Empty()) {
    entry.Color = colors_[scButtonFace].Color;
    return;
  }
  const int32_t x = top.Width() / 3;
  const int32_t y = (top.Height() / BorderTop->FrameCount()) / 3;
  entry.Color = gfx::PixelToColor(top.ScanLine(y)[x]);
}

void TSkinModel::BuildToolbar()
{
  const TColor frame = colors_[scFrameColor].Color;
  const TColor top = Blend(colors_[scButtonFace].Color, gfx::clWhite, 150);
  const int32_t measure = SaturationMeasure(frame);
  const TColor bottom = measure > 110 ? Blend(frame, gfx::clWhite, (5625 - 25 * measure) / 140 + 50)
                                      : Blend(gfx::clGray, frame, 150);
  Toolbar = NewElement<TDataSkinObject>("Toolbar", colors_[scButtonText].Color);
  Toolbar->Image.SetSize(10, 40);
  Toolbar->Image.SetPixelFormat(framework::pf24bit);
  GradientFill(Toolbar->Image.Context(), {0, 0, 10, 40}, top, true, bottom);
  Toolbar->Frame = 1;
}

} // namespace skin
