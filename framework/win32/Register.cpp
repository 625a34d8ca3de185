#include "framework/TypeInfo.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/DateTimePicker.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/FileCtrl.h"
#include "framework/win32/Forms.h"
#include "framework/win32/HeaderControl.h"
#include "framework/win32/ListBox.h"
#include "framework/win32/ListView.h"
#include "framework/win32/Memo.h"
#include "framework/win32/Menus.h"
#include "framework/win32/ProgressBar.h"
#include "framework/win32/ScrollBar.h"
#include "framework/win32/StdCtrls.h"
#include "framework/win32/TabControl.h"
#include "framework/win32/Timer.h"

namespace framework {

void RegisterStandardClasses()
{
  for (const TClassInfo* info :
       {&TButton::ClassType(), &TCheckBox::ClassType(), &TRadioButton::ClassType(), &TEdit::ClassType(),
        &TComboBox::ClassType(), &TLabel::ClassType(), &TGroupBox::ClassType(), &TPanel::ClassType(),
        &TBevel::ClassType(), &TRadioGroup::ClassType(), &TUpDown::ClassType(), &TTrackBar::ClassType(),
        &TStatusBar::ClassType(), &TPageControl::ClassType(), &TTabSheet::ClassType(), &TTimer::ClassType(),
        &TFileListBox::ClassType(), &TColorDialog::ClassType(), &TOpenPictureDialog::ClassType(),
        &TProgressBar::ClassType(), &TTabControl::ClassType(), &THeaderControl::ClassType(), &TListView::ClassType(),
        &TListBox::ClassType(), &TMemo::ClassType(), &TScrollBar::ClassType(), &TDateTimePicker::ClassType(),
        &TBitBtn::ClassType(), &TSpeedButton::ClassType()})
    RegisterComponentClass(*info);
  RegisterMenuClasses();
}

} // namespace framework
