#include "tools/skinpack/ModelDump.h"

#include "skin/SkinData.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace skinpack {

namespace {

std::string ColourText(gfx::TColor c)
{
  char text[40];
  if (c == gfx::clNone)
    return "none";
  if (c < 0)
    std::snprintf(text, sizeof text, "system(%d)", int(c & 0xFF));
  else
    std::snprintf(text, sizeof text, "%d %d %d", int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
  return text;
}

std::string Size(const framework::TBitmap& b)
{
  return b.Empty() ? "none" : std::to_string(b.Width()) + "x" + std::to_string(b.Height());
}

void Element(std::ostream& out, const char* label, const skin::TDataSkinObject* e)
{
  char head[64];
  std::snprintf(head, sizeof head, "  %-18s ", label);
  out << head;
  if (!e) {
    out << "absent\n";
    return;
  }
  out << "image " << Size(e->Image) << "  Frame " << e->Frame << "  margins L" << e->LeftWidth << " T"
      << e->TopHeight << " R" << e->RightWidth << " B" << e->BottomHeight << "  Trans " << e->Trans << "  Tile "
      << e->Tile << "  Style " << e->Style << "  colours " << e->NormalColour << "/" << e->MouseOverColour << "/"
      << e->PressedColour << "  text " << ColourText(e->NormalColour2) << " / " << ColourText(e->MouseOverColour2)
      << " / " << ColourText(e->PressedColour2);
  if (auto* border = dynamic_cast<const skin::TDataSkinBorder*>(e); border && !border->Image2.Empty())
    out << "  image2 " << Size(border->Image2);
  if (auto* button = dynamic_cast<const skin::TDataSkinButton*>(e))
    out << "\n" << std::string(21, ' ') << "check " << Size(button->CheckImage) << " x" << button->CheckButtonFrame
        << "  radio " << Size(button->RadioImage) << " x" << button->RadioButtonFrame << "  given text colours "
        << button->HasNormalColour2 << button->HasMouseOverColour2 << button->HasPressedColour2;
  if (auto* title = dynamic_cast<const skin::TDataSkinTitle*>(e))
    out << "\n" << std::string(21, ' ') << "alignment " << title->TextAlignment << "  background "
        << title->Textbackground << "  font height " << title->FontHeight << "  back left/right "
        << title->TXTBackleft << "/" << title->TXTBackRight << "  active " << ColourText(title->ActiveText)
        << "  inactive " << ColourText(title->InActiveText);
  if (auto* box = dynamic_cast<const skin::TDataSkinBoxLabel*>(e))
    out << "\n" << std::string(21, ' ') << "background alignment " << box->BackgroundAlignment << "  shifts "
        << box->BackgroundLeftShift << "/" << box->BackgroundRightShift;
  out << "\n";
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in)
    throw std::runtime_error("cannot open " + path.string());
  std::vector<uint8_t> bytes(size_t(in.tellg()), 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!in)
    throw std::runtime_error("cannot read " + path.string());
  return bytes;
}

} // namespace

void DumpSkinModel(const skin::TSkinData& d, std::ostream& out)
{
  out << "skin \"" << d.SkinName() << "\"" << (d.NotLoaded() ? "  (not loaded)" : "") << "\n";
  out << "elements:\n";
  const struct {
    const char* Label;
    const skin::TDataSkinObject* Element;
  } elements[] = {
    {"Buttons", d.Buttons.get()},
    {"caption title", d.CaptionTitle.get()},
    {"Left", d.BorderLeft.get()},
    {"Right", d.BorderRight.get()},
    {"Top", d.BorderTop.get()},
    {"Bottom", d.BorderBottom.get()},
    {"Tabs", d.Tabs.get()},
    {"UpDown.Horz", d.UpDownHorz.get()},
    {"UpDown.Vert", d.UpDownVert.get()},
    {"ComboButton", d.ComboButton.get()},
    {"SunkEdge", d.SunkEdge.get()},
    {"ExtraImages", d.ExtraImages.get()},
    {"ComboxArrow", d.ComboxArrow.get()},
    {"GroupBoxEdge", d.GroupBoxEdge.get()},
    {"Toolbar", d.Toolbar.get()},
    {"ToolBars", d.ToolBars.get()},
    {"Progress", d.Progress.get()},
    {"Progress.Chunk", d.ProgressChunk.get()},
    {"GroupBox", d.GroupBox.get()},
    {"StatusBarEdges", d.StatusBarEdges.get()},
    {"Tab.Pane", d.TabPane.get()},
    {"Headerbar", d.Headerbar.get()},
    {"menu bar", d.MenuBar.get()},
    {"MenuItem", d.MenuItem.get()},
    {"MenuBackground", d.MenuBackground.get()},
    {"Scrollbar", d.Scrollbar.get()},
    {"HorzScroll", d.HorzScroll.get()},
    {"VertScroll", d.VertScroll.get()},
    {"HorzScrollThumb", d.HorzScrollThumb.get()},
    {"VertScrollThumb", d.VertScrollThumb.get()},
    {"Thumb.Horz", d.ThumbHorz.get()},
    {"Thumb.Vert", d.ThumbVert.get()},
    {"Thumb.Left", d.ThumbLeft.get()},
    {"Thumb.Right", d.ThumbRight.get()},
    {"Thumb.Up", d.ThumbUp.get()},
    {"Thumb.Down", d.ThumbDown.get()},
    {"Track", d.Track.get()},
    {"TRACKVERT", d.TrackVert.get()},
  };
  for (const auto& e : elements)
    Element(out, e.Label, e.Element);

  const char* colourNames[skin::kSkinColorCount] = {
    "WindowText", "TitleTextActive", "TitleTextNoActive", "ButtonFace", "ButtonText", "ButtonHilight",
    "Buttonlight", "ButtonShadow", "ButtonDkShadow", "(9)", "(10)", "HilightText", "Hilight", "Menubar",
    "MenuBarText", "MenuText", "Menu", "frame colour", "Scrollbar"};
  out << "colours:\n";
  for (int32_t i = 0; i < skin::kSkinColorCount; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "  %2d %-18s %-16s %s\n", int(i), colourNames[i],
                  ColourText(d.Colors()[size_t(i)].Color).c_str(), d.Colors()[size_t(i)].Given ? "given" : "default");
    out << line;
  }
  out << "COLOUR sections:" << (d.SectionColours().empty() ? " none" : "") << "\n";
  for (const auto& c : d.SectionColours())
    out << "  " << c.Section << "  " << ColourText(c.Color) << "\n";
  out << "custom colours:";
  for (gfx::TColor c : d.CustomColors())
    out << "  " << ColourText(c);
  out << "\n";
  out << "caption buttons:\n";
  for (const auto& b : d.CaptionButtons)
    out << "  " << b->Name << "  Action " << b->Action << "  Align " << b->Align << "  at " << b->XCoord << ","
        << b->YCoord << "  Visibility " << b->Visibility << "/" << b->Visibility1 << "  CombineOp " << b->CombineOp
        << "  Frame " << b->Frame << "  image " << Size(b->Image) << "\n";
  out << "derived images:\n";
  out << "  ComboButton mirror  " << (d.ComboButton ? Size(d.ComboButton->Image2) : "none") << "\n";
  out << "  edit box (ComboButton)  "
      << (d.ComboButton && d.ComboButton->Style == 2 ? Size(d.ComboButton->Image) : "none") << "\n";
  out << "  ComboxArrow  " << (d.ComboxArrow ? Size(d.ComboxArrow->Image) : "none") << "\n";
  out << "  Toolbar  " << Size(d.Toolbar->Image) << "\n";
  // The borders the window frame cuts from the side and top strips.
  out << "frame borders: left " << d.BorderLeft->Image.Width() / d.BorderLeft->FrameCount() << "  top "
      << d.BorderTop->Image.Height() / d.BorderTop->FrameCount() << "  right "
      << d.BorderRight->Image.Width() / d.BorderRight->FrameCount() << "  bottom "
      << d.BorderBottom->Image.Height() / d.BorderBottom->FrameCount() << "\n";
}

int ModelCommand(const std::vector<std::string>& args)
{
  if (args.size() != 1)
    throw std::invalid_argument("model needs one PACKAGE");
  skin::TSkinData data(nullptr);
  data.SetPackage(ReadFile(args[0]));
  if (!data.ApplyPackage())
    throw std::runtime_error(args[0] + ": not a skin package of a known format");
  DumpSkinModel(data, std::cout);
  return 0;
}

int StreamCommand(const std::vector<std::string>& args)
{
  if (args.size() != 2)
    throw std::invalid_argument("stream needs PACKAGE and OUT.bin");
  const std::vector<uint8_t> bytes = skin::TSkinData::SkinStreamOf(ReadFile(args[0]));
  std::ofstream out(std::filesystem::path(args[1]), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + args[1]);
  return 0;
}

} // namespace skinpack
