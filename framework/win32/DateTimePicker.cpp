#include "framework/win32/DateTimePicker.h"

#include <commctrl.h>

#include "framework/MuteScope.h"

namespace framework {

namespace {

const TEnumInfo& DateTimeKindInfo()
{
  static const TEnumInfo info{"TDateTimeKind", {"dtkDate", "dtkTime"}};
  return info;
}

const TEnumInfo& DateFormatInfo()
{
  static const TEnumInfo info{"TDTDateFormat", {"dfShort", "dfLong"}};
  return info;
}

// The picker's class is registered apart from the common controls the
// application starts with.
void RegisterPickerClass()
{
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
}

SYSTEMTIME ToSystemTime(TDateTime value)
{
  const TDateParts d = DecodeDate(value);
  const TTimeParts t = DecodeTime(value);
  SYSTEMTIME st{};
  st.wYear = WORD(d.Year);
  st.wMonth = WORD(d.Month);
  st.wDay = WORD(d.Day);
  st.wHour = WORD(t.Hour);
  st.wMinute = WORD(t.Minute);
  st.wSecond = WORD(t.Second);
  st.wMilliseconds = WORD(t.Millisecond);
  return st;
}

TDateTime FromSystemTime(const SYSTEMTIME& st)
{
  return CombineDateTime(EncodeDate(st.wYear, st.wMonth, st.wDay),
                         EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds));
}

} // namespace

const TClassInfo& TDateTimePicker::ClassType()
{
  static TClassInfo info("TDateTimePicker", &TWinControl::ClassType(),
                         [](TComponent* o) { return new TDateTimePicker(o); });
  static const bool described = [] {
    info.Enum("Kind", DateTimeKindInfo(), &TDateTimePicker::Kind, &TDateTimePicker::SetKind, int64_t(dtkDate));
    info.Enum("DateFormat", DateFormatInfo(), &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat,
              int64_t(dfShort));
    info.Str("Date", &TDateTimePicker::DateText, &TDateTimePicker::SetDateText);
    info.Str("Time", &TDateTimePicker::TimeText, &TDateTimePicker::SetTimeText);
    info.Bool("TabStop", &TDateTimePicker::TabStop, &TDateTimePicker::SetTabStop, true);
    info.Event("OnChange", &TDateTimePicker::OnChange);
    return true;
  }();
  (void)described;
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner)
{
  width_ = 186;
  height_ = 21;
  tabStop_ = true;
  color_ = gfx::clWindow;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  // To the second: the field shows no more, and the text form keeps no more.
  now.wMilliseconds = 0;
  dateTime_ = FromSystemTime(now);
}

void TDateTimePicker::CreateParams(TCreateParams& p)
{
  RegisterPickerClass();
  TWinControl::CreateParams(p);
  p.SystemClass = DATETIMEPICK_CLASSW;
  if (kind_ == dtkTime)
    p.Style |= DTS_TIMEFORMAT;
  else
    p.Style |= dateFormat_ == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWnd()
{
  TWinControl::CreateWnd();
  ShowDateTime();
}

void TDateTimePicker::ShowDateTime()
{
  if (!HandleAllocated())
    return;
  TMuteScope<bool> showing(showing_);
  SYSTEMTIME st = ToSystemTime(dateTime_);
  SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::SetDateTime(TDateTime value)
{
  if (value == dateTime_)
    return;
  dateTime_ = value;
  ShowDateTime();
}

void TDateTimePicker::SetDateText(const std::string& text)
{
  const auto date = TextToDate(text);
  if (!date)
    throw EPropertyError("'" + text + "' is not a date (yyyy-mm-dd)");
  SetDate(*date);
}

void TDateTimePicker::SetTimeText(const std::string& text)
{
  const auto time = TextToTime(text);
  if (!time)
    throw EPropertyError("'" + text + "' is not a time of day (hh:nn:ss)");
  SetTime(*time);
}

void TDateTimePicker::SetKind(TDateTimeKind value)
{
  if (value == kind_)
    return;
  kind_ = value;
  RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value)
{
  if (value == dateFormat_)
    return;
  dateFormat_ = value;
  RecreateWnd();
}

bool TDateTimePicker::DroppedDown() const
{
  if (!HandleAllocated())
    return false;
  // Some pickers keep their calendar window while it is closed.
  const auto calendar = reinterpret_cast<HWND>(SendMessageW(handle_, DTM_GETMONTHCAL, 0, 0));
  return calendar && IsWindowVisible(calendar);
}

void TDateTimePicker::WndProc(TMessage& m)
{
  if (const NMHDR* header = ReflectedNotifyHeader(m); header && header->code == DTN_DATETIMECHANGE) {
    const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(header);
    if (!showing_ && change->dwFlags == GDT_VALID) {
      dateTime_ = FromSystemTime(change->st);
      Change();
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

} // namespace framework
