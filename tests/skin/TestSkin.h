#pragma once
// A skin package with the stored skin's description and bitmaps of its file
// names, sizes and frame layouts, built in memory for the model's suites. The
// pixels are plain: each bitmap is filled with its own colour, with a magenta
// corner, so a test can tell which file an element holds.
#include "gfx/Pixmap.h"
#include "gfx/codecs/Bmp.h"
#include "tools/skinpack/Archive.h"

#include <string>
#include <vector>

namespace testskin {

inline const char* kStoredDescription = R"([TitlebarSkin]
SkinName=tarsel-TARSEL
SkinAuthor=someone
[Skins]
Version=200
[Buttons]
Bitmap=Buttons.bmp
TopHeight=5
BottomHeight=5
LeftWidth=5
Rightwidth=6
Trans=1
CheckButtonFrame=12
RadioButtonFrame=8
CheckButton=Checkbox.bmp
RadioButton=RadioButton.bmp
[Progress]
Bitmap=Progress.bmp
TopHeight=0
BottomHeight=0
LeftWidth=4
Rightwidth=4
Trans=1
Tile=1
Style=1
[Progress.Chunk]
Image=ProgressChunk.bmp
TopHeight=1
BottomHeight=0
LeftWidth=0
Rightwidth=0
Trans=1
Tile=1
Style=1
[Tabs]
Image=Tab.bmp
TopHeight=1
BottomHeight=0
LeftWidth=6
Rightwidth=6
Trans=1
Tile=0
Style=1
[Tab.Pane]
Image=TabSheet.bmp
TopHeight=2
BottomHeight=4
LeftWidth=2
Rightwidth=4
Trans=1
Tile=0
Style=1
[ComboButton]
Image=ComboboxBtn.bmp
Trans=1
Style=1
[StatusBarEdges]
Image=StatusBar.bmp
TopHeight=10
BottomHeight=0
LeftWidth=50
Rightwidth=17
Tile=1
[Headerbar]
Image=Header.bmp
TopHeight=0
BottomHeight=1
LeftWidth=3
Rightwidth=3
Tile=0
Trans=1
Frame=4
[Scrollbar]
Image=ScrollbarArrow.bmp
[HorzScrollThumb]
Image=ScrollbarHThumb.bmp
TopHeight=5
BottomHeight=5
LeftWidth=5
Rightwidth=5
FrameCount=4
[VertScrollThumb]
Image=ScrollbarVThumb.bmp
TopHeight=5
BottomHeight=5
LeftWidth=5
Rightwidth=5
FrameCount=4
[HorzScroll]
Image=ScrollbarHBar.bmp
TopHeight=1
BottomHeight=1
LeftWidth=0
Rightwidth=0
Tile=0
[VertScroll]
Image=ScrollbarVBar.bmp
TopHeight=0
BottomHeight=0
LeftWidth=1
Rightwidth=1
Tile=0
[MenuBackground]
Image=MenuBackground.bmp
TopHeight=5
BottomHeight=5
LeftWidth=5
Rightwidth=5
[MenuItem]
Image=MenuItem.bmp
TopHeight=3
BottomHeight=3
LeftWidth=2
Rightwidth=2
Frame=5
Trans=1
[ExtraImages]
Image=ExtraImages.bmp
[Trackbar.ThumbHorz]
Image=TrackThumbH.bmp
[Trackbar.ThumbDown]
Image=TrackBot.bmp
[MDICONTROLS]
Image=Mdibutton.bmp
[UpDown.Vert]
Image=Spin.bmp
GlyphImage=SpinArrow.bmp
[UpDown.Horz]
Image=Spinh.bmp
GlyphImage=SpinhArrow.bmp
[Button0]
ButtonImage=CloseButton.bmp
Align=1
XCoord=25
YCoord=5
Action=0
Visibility=0
[Button1]
ButtonImage=MaxButton.bmp
Align=1
XCoord=49
YCoord=5
Action=1
Visibility=2
Visibility1=6
[Button2]
ButtonImage=MinButton.bmp
Align=1
XCoord=73
YCoord=5
Action=2
Visibility=8
[Button3]
ButtonImage=RestroreButton.bmp
Align=1
XCoord=49
YCoord=5
Action=1
Visibility=1
[Button4]
Align=0
XCoord=8
YCoord=7
Action=3
Visibility=0
[Personality]
Left=FrameLeft.bmp
LeftFrame=2
LeftStretch=1
LeftTrans=1
LeftTopHeight=33
LeftBotHeight=5
Right=FrameRight.bmp
RightFrame=2
RightStretch=1
RightTrans=1
RightTopHeight=29
RightBotHeight=5
Top=FrameTop.bmp
TopFrame=2
TopStretch=1
TopTrans=1
TopTopHeight=93
TopBotHeight=41
Bottom=FrameBottom.bmp
BottomFrame=2
BottomStretch=1
BottomTrans=0
BottomTopHeight=93
BottomBotHeight=41
TextShift=35
TextShiftVert=2
TextRightClip=75
[MinCaption]
Image=MinCaption.bmp
TopHeight=27
BottomHeight=1
LeftWidth=67
Rightwidth=29
Tile=0
Trans=0
Frame=2
[Colours]
ButtonFace=191 210 234
ButtonText=37 67 124
TitleTextActive=126 146 194
TitleTextNoActive=173 186 222
ButtonHilight=254 254 254
ButtonShadow=158 176 205
ButtonDkShadow=134 149 193
Buttonlight=241 244 250
Menubar=191 210 234
Menu=191 210 234
MenuText=0 0 0
MenuBarText=37 67 124
Hilight=85 100 165
HilightText=126 150 214
)";

struct TBitmapSpec {
  const char* Name;
  int32_t Width;
  int32_t Height;
};

// Names in the stored list order, with their sizes.
inline const std::vector<TBitmapSpec>& StoredBitmaps()
{
  static const std::vector<TBitmapSpec> bitmapList = {
    {"buttons.bmp", 100, 23},        {"checkbox.bmp", 156, 13},        {"radiobutton.bmp", 104, 13},
    {"progress.bmp", 20, 14},        {"progresschunk.bmp", 8, 12},     {"tab.bmp", 120, 21},
    {"tabsheet.bmp", 20, 20},        {"comboboxbtn.bmp", 68, 17},      {"statusbar.bmp", 90, 22},
    {"header.bmp", 80, 20},          {"scrollbararrow.bmp", 391, 17},  {"scrollbarhthumb.bmp", 60, 17},
    {"scrollbarvthumb.bmp", 68, 15}, {"scrollbarhbar.bmp", 64, 17},    {"scrollbarvbar.bmp", 68, 16},
    {"menubackground.bmp", 40, 40},  {"menuitem.bmp", 100, 20},        {"extraimages.bmp", 45, 9},
    {"trackthumbh.bmp", 55, 20},     {"trackbot.bmp", 55, 20},         {"mdibutton.bmp", 156, 13},
    {"spin.bmp", 128, 9},            {"spinarrow.bmp", 56, 7},         {"spinh.bmp", 72, 15},
    {"spinharrow.bmp", 56, 7},       {"closebutton.bmp", 126, 21},     {"maxbutton.bmp", 126, 21},
    {"minbutton.bmp", 126, 21},      {"restrorebutton.bmp", 126, 21},  {"frameleft.bmp", 8, 100},
    {"frameright.bmp", 8, 100},      {"frametop.bmp", 172, 58},        {"framebottom.bmp", 172, 10},
    {"mincaption.bmp", 100, 58},
  };
  return bitmapList;
}

// The fill colour of the k-th stored bitmap (as a pixel, 0x00RRGGBB).
inline gfx::TPixel FillOf(size_t k) { return gfx::TPixel(0x102030 + 0x010101 * (k + 1)); }

inline std::vector<uint8_t> SolidBmp(int32_t w, int32_t h, gfx::TPixel fill)
{
  gfx::TPixmap p(w, h);
  p.Fill(fill);
  p.At(0, 0) = 0xFF00FF;
  return gfx::EncodeBmp(p, 24);
}

inline std::vector<skinpack::TPackFile> StoredFiles()
{
  std::vector<skinpack::TPackFile> files;
  const auto& bitmapList = StoredBitmaps();
  for (size_t k = 0; k < bitmapList.size(); ++k)
    files.push_back({bitmapList[k].Name, SolidBmp(bitmapList[k].Width, bitmapList[k].Height, FillOf(k))});
  files.push_back({"tarsel-tarsel.ini", std::vector<uint8_t>(kStoredDescription,
                                                             kStoredDescription + std::string(kStoredDescription).size())});
  return files;
}

inline std::vector<uint8_t> StoredPackage() { return skinpack::BuildPackage(StoredFiles()); }

// A package of the given description and extra files.
inline std::vector<uint8_t> Package(const std::string& description, std::vector<skinpack::TPackFile> files = {})
{
  files.push_back({"skin.ini", std::vector<uint8_t>(description.begin(), description.end())});
  return skinpack::BuildPackage(files);
}

} // namespace testskin
