#include "framework/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/Component.h"

namespace framework {

namespace {

constexpr int64_t kMsPerDay = 86'400'000;
constexpr int32_t kDaysIn400Years = 146'097;
constexpr int32_t kDaysIn100Years = 36'524;
constexpr int32_t kDaysIn4Years = 1'461;

constexpr bool LeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

constexpr int32_t MonthLength(int32_t year, int32_t month)
{
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    return 0;
  return kDays[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
}

// Days from 1 January of year 1 to the first of the given year.
constexpr int64_t DaysBeforeYear(int32_t year)
{
  const int64_t y = year - 1;
  return 365 * y + y / 4 - y / 100 + y / 400;
}

constexpr int64_t DaysBeforeMonth(int32_t year, int32_t month)
{
  int64_t days = 0;
  for (int32_t m = 1; m < month; ++m)
    days += MonthLength(year, m);
  return days;
}

// Days from 1 January of year 1 to the given day.
constexpr int64_t DayNumber(int32_t year, int32_t month, int32_t day)
{
  return DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day - 1;
}

constexpr int64_t kEpoch = DayNumber(1899, 12, 30);
constexpr int64_t kFirstDay = 0;
constexpr int64_t kLastDay = DayNumber(9999, 12, 31);
static_assert(kEpoch == 693'593, "30 December 1899 is day 693,593 of the calendar");

// A value as a calendar day (counted from the epoch) and the milliseconds
// into it. The whole part names the day for negative values too, and a time
// that rounds up to midnight moves to the next calendar day.
struct TSplit {
  int64_t Day = 0;
  int64_t Ms = 0;
};

TSplit Split(TDateTime value)
{
  if (!std::isfinite(value))
    return {};
  const double whole = std::trunc(value);
  TSplit split{int64_t(whole), int64_t(std::llround(std::fabs(value - whole) * double(kMsPerDay)))};
  if (split.Ms >= kMsPerDay) {
    split.Ms -= kMsPerDay;
    split.Day += 1;
  }
  return split;
}

TDateParts PartsOfDayNumber(int64_t n)
{
  n = std::clamp(n, kFirstDay, kLastDay);
  int32_t year = 1 + 400 * int32_t(n / kDaysIn400Years);
  n %= kDaysIn400Years;
  // The last day of a 400-year (or 4-year) cycle is the one leap day more.
  const int64_t centuries = std::min<int64_t>(n / kDaysIn100Years, 3);
  year += int32_t(100 * centuries);
  n -= centuries * kDaysIn100Years;
  const int64_t quads = n / kDaysIn4Years;
  year += int32_t(4 * quads);
  n -= quads * kDaysIn4Years;
  const int64_t years = std::min<int64_t>(n / 365, 3);
  year += int32_t(years);
  n -= years * 365;
  int32_t month = 1;
  while (n >= MonthLength(year, month)) {
    n -= MonthLength(year, month);
    ++month;
  }
  return {year, month, int32_t(n) + 1};
}

[[noreturn]] void InvalidDate(const char* what) { throw EConvertError(std::string("Invalid argument to ") + what); }

// Reads exactly `digits` decimal digits at text[at].
std::optional<int32_t> Digits(std::string_view text, size_t at, size_t digits)
{
  if (at + digits > text.size())
    return std::nullopt;
  int32_t value = 0;
  for (size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

} // namespace

bool IsLeapYear(int32_t year) { return LeapYear(year); }

int32_t DaysInMonth(int32_t year, int32_t month) { return MonthLength(year, month); }

TDateTime EncodeDate(int32_t year, int32_t month, int32_t day)
{
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    InvalidDate("date encode");
  return TDateTime(DayNumber(year, month, day) - kEpoch);
}

TDateTime EncodeTime(int32_t hour, int32_t minute, int32_t second, int32_t millisecond)
{
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    InvalidDate("time encode");
  const int64_t ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  return TDateTime(ms) / TDateTime(kMsPerDay);
}

TDateParts DecodeDate(TDateTime value) { return PartsOfDayNumber(Split(value).Day + kEpoch); }

TTimeParts DecodeTime(TDateTime value)
{
  int64_t ms = Split(value).Ms;
  TTimeParts parts;
  parts.Millisecond = int32_t(ms % 1000);
  ms /= 1000;
  parts.Second = int32_t(ms % 60);
  ms /= 60;
  parts.Minute = int32_t(ms % 60);
  parts.Hour = int32_t(ms / 60);
  return parts;
}

TDateTime DateOf(TDateTime value) { return TDateTime(Split(value).Day); }

TDateTime TimeOf(TDateTime value) { return TDateTime(Split(value).Ms) / TDateTime(kMsPerDay); }

TDateTime CombineDateTime(TDateTime date, TDateTime time)
{
  const double day = std::trunc(date);
  const double fraction = std::fabs(time - std::trunc(time));
  return day < 0 ? day - fraction : day + fraction;
}

std::string DateToText(TDateTime value)
{
  const TDateParts d = DecodeDate(value);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", int(d.Year), int(d.Month), int(d.Day));
  return text;
}

std::string TimeToText(TDateTime value)
{
  const TTimeParts t = DecodeTime(value);
  char text[16];
  if (t.Millisecond != 0)
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", int(t.Hour), int(t.Minute), int(t.Second),
                  int(t.Millisecond));
  else
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(t.Hour), int(t.Minute), int(t.Second));
  return text;
}

std::optional<TDateTime> TextToDate(std::string_view text)
{
  if (text.size() != 10 || text[4] != '-' || text[7] != '-')
    return std::nullopt;
  const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
      *day > DaysInMonth(*year, *month))
    return std::nullopt;
  return EncodeDate(*year, *month, *day);
}

std::optional<TDateTime> TextToTime(std::string_view text)
{
  if ((text.size() != 8 && text.size() != 12) || text[2] != ':' || text[5] != ':' ||
      (text.size() == 12 && text[8] != '.'))
    return std::nullopt;
  const auto hour = Digits(text, 0, 2), minute = Digits(text, 3, 2), second = Digits(text, 6, 2);
  const auto ms = text.size() == 12 ? Digits(text, 9, 3) : std::optional<int32_t>(0);
  if (!hour || !minute || !second || !ms || *hour > 23 || *minute > 59 || *second > 59)
    return std::nullopt;
  return EncodeTime(*hour, *minute, *second, *ms);
}

} // namespace framework
