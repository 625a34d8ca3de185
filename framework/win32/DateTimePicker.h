#pragma once
#include "framework/DateTime.h"
#include "framework/win32/Controls.h"

namespace framework {

enum TDateTimeKind : uint8_t { dtkDate, dtkTime };
enum TDTDateFormat : uint8_t { dfShort, dfLong };

// The system's date and time picker: a field that shows a date (with a
// calendar to drop down) or a time of day. DateTime is the moment it holds;
// Date and Time are its day and its time of day, and setting one keeps the
// other. It starts at the moment it was made. OnChange follows the user's
// changes, not the program's.
//
// In form descriptions the two halves are stored as text, Date as
// "yyyy-mm-dd" and Time as "hh:nn:ss".
class TDateTimePicker : public TWinControl {
public:
  explicit TDateTimePicker(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TDateTime DateTime() const { return dateTime_; }
  void SetDateTime(TDateTime value);
  [[nodiscard]] TDateTime Date() const { return DateOf(dateTime_); }
  void SetDate(TDateTime value) { SetDateTime(CombineDateTime(value, TimeOf(dateTime_))); }
  [[nodiscard]] TDateTime Time() const { return TimeOf(dateTime_); }
  void SetTime(TDateTime value) { SetDateTime(CombineDateTime(DateOf(dateTime_), value)); }

  [[nodiscard]] TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  [[nodiscard]] TDTDateFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat value);

  // Whether the calendar is dropped down now.
  [[nodiscard]] bool DroppedDown() const;

  void WndProc(TMessage& message) override;

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change() { OnChange(this); }

private:
  [[nodiscard]] std::string DateText() const { return DateToText(dateTime_); }
  void SetDateText(const std::string& text);
  [[nodiscard]] std::string TimeText() const { return TimeToText(dateTime_); }
  void SetTimeText(const std::string& text);
  void ShowDateTime();

  TDateTime dateTime_ = 0;
  TDateTimeKind kind_ = dtkDate;
  TDTDateFormat dateFormat_ = dfShort;
  // Set while the program's moment is being shown: the window may announce
  // it as a change, and it is none of the user's.
  bool showing_ = false;
};

} // namespace framework
