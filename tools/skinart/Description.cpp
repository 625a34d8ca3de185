#include "tools/skinart/SkinArt.h"

namespace skinart {

std::string SkinDescription()
{
  // Image names keep the letter case the skin's author gave them; the player
  // finds package members in any case.
  return R"([TitlebarSkin]
SkinName=tarsel-TARSEL
SkinAuthor=The picture player's own light theme

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
HilightText=16 40 112
)";
}

} // namespace skinart
