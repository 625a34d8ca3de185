// The built-in table of foreign control classes: controls of other component
// sets that are drawn like one of our kinds (their scroll bars skinned, or
// the control painted as a button, panel, edit and so on). Control skinning
// looks a class up here by name.
#include "skin/SkinData.h"

namespace skin {

namespace {

constexpr const char* kSkin3rd[] = {
  "TCategoryButtons=scrollbar",
  "TPngSpeedbutton=pngspeedbutton",
  "TPngBitBtn=pngbitbtn",
  "TVirtualStringTree=scrollbar",
  "TVirtualDrawTree=scrollbar",
  "TTBXDockablePanel=Panel",
  "TAdvPanelGroup=scrollbar",
  "TComboboxex=combobox",
  // Grids and lists that keep their own scroll bars.
  "TDataGrid=scrollbar",
  "TDBDataGrid=scrollbar",
  "TStringGridEx=scrollbar",
  "TDrawGridEx=scrollbar",
  "TColumnGrid=scrollbar",
  "TDBColumnGrid=scrollbar",
  "TPivotGrid=scrollbar",
  "TTreeGrid=scrollbar",
  "TDBTreeGrid=scrollbar",
  "TCheckListView=scrollbar",
  "TTreeListView=scrollbar",
  "TDBTreeListView=scrollbar",
  "TShellTreeView=scrollbar",
  "TShellListView=scrollbar",
  "TFolderTreeView=scrollbar",
  "TFileListView=scrollbar",
  "TOutlineView=scrollbar",
  "TDBLookupListBox=scrollbar",
  "TCheckListBoxEx=scrollbar",
  "TImageListBox=scrollbar",
  "TColorListBoxEx=scrollbar",
  "TFontListBox=scrollbar",
  "TInspectorGrid=scrollbar",
  "TPropertyGrid=scrollbar",
  "TScheduleView=scrollbar",
  "TPlannerView=scrollbar",
  // Text and document viewers.
  "THtmlView=scrollbar",
  "THtmlPanel=scrollbar",
  "THtmlFrameView=scrollbar",
  "TRichTextView=scrollbar",
  "TRichTextEditor=scrollbar",
  "THighlightMemo=scrollbar",
  "TCodeEditor=scrollbar",
  "THexEditor=scrollbar",
  "TLogMemo=scrollbar",
  "TImageScrollBox=scrollbar",
  "TThumbnailView=scrollbar",
  "TPreviewBox=scrollbar",
  "TGanttView=scrollbar",
  "TMemoEx=scrollbar",
  // Panels and bars.
  "TFlatPanel=Panel",
  "TGradientPanel=Panel",
  "TRoundPanel=panel",
  "TCaptionPanel=Panel",
  "TCollapsePanel=panel",
  "TDockPanelEx=Panel",
  "TToolPanel=panel",
  "TSplitPanel=Panel",
  "TShadowPanel=panel",
  "TDBCtrlPanel=Panel",
  // Combo boxes.
  "TFlatComboBox=combobox",
  "TColorComboBox=combobox",
  "TFontComboBox=Combobox",
  "TImageComboBox=combobox",
  "TDBLookupComboBoxEx=combobox",
  "TCheckComboBox=Combobox",
  "TTreeComboBox=combobox",
  "TDateComboBox=combobox",
  "TCalcComboBox=Combobox",
  "THistoryComboBox=combobox",
  // Buttons.
  "TFlatButton=button",
  "TGlyphButton=button",
  "TRoundButton=button",
  "TColorButton=button",
  "TShapeButton=button",
  "TImageButton=bitbtn",
  "TGlyphBitBtn=bitbtn",
  "TDBNavButton=bitbtn",
  "TFlatSpeedButton=speedbutton",
  "TToolSpeedButton=speedbutton",
  "TImageSpeedButton=speedbutton",
  "TArrowSpeedButton=speedbutton",
  "TDropDownButton=menubtn",
  "TMenuButton=menubtn",
  "TSplitMenuButton=menubtn",
  // Check boxes, radio buttons and their groups.
  "TFlatCheckBox=Checkbox",
  "TDBCheckBoxEx=Checkbox",
  "TGlyphCheckBox=Checkbox",
  "TCheckGroupBox=CheckGroup",
  "TDBCheckGroup=CheckGroup",
  "TFlatRadioButton=Radiobutton",
  "TGlyphRadioButton=Radiobutton",
  "TFlatRadioGroup=Radiogroup",
  "TDBRadioGroupEx=radiogroup",
  "TColumnRadioGroup=Radiogroup",
  "TFlatGroupBox=Groupbox",
  "TCaptionGroupBox=groupbox",
  "TCollapseGroupBox=Groupbox",
  // Edits.
  "TFlatEdit=Edit",
  "TMaskEditEx=Edit",
  "TNumberEdit=Edit",
  "TCurrencyEdit=edit",
  "TFloatEdit=Edit",
  "TSpinEditEx=Edit",
  "TDateEditEx=edit",
  "TTimeEditEx=Edit",
  "TButtonEdit=Edit",
  "TFileNameEdit=edit",
  "TDirectoryEdit=Edit",
  "TDBEditEx=Edit",
  "TDBNumberEdit=Edit",
  "TDBDateEditEx=edit",
  "TDBMaskEditEx=Edit",
  "TPictureEdit=Edit",
  "TSIMPLEFIELD=Edit",
  "TPICTUREFIELD=Edit",
  "TNUMERICFIELD=Edit",
  "TDBSIMPLEFIELD=Edit",
  "TDBPICTUREFIELD=Edit",
  "TOVCDBNUMERICFIELD=Edit",
};

static_assert(sizeof(kSkin3rd) / sizeof(kSkin3rd[0]) == 118, "the built-in list has 118 rows");

} // namespace

void FillSkin3rd(framework::TStringList& list)
{
  list.BeginUpdate();
  list.Clear();
  for (const char* row : kSkin3rd)
    list.Add(row);
  list.EndUpdate();
}

} // namespace skin
