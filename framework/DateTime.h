#pragma once
// TDateTime: a moment as a number of days since 30 December 1899 at
// midnight, the time of day as the fraction (0.5 is noon). Dates before that
// day are negative; their fraction still counts forward from midnight, so
// -1.25 is 29 December 1899 at six in the morning. The calendar is the
// Gregorian one, carried back before its introduction, years 1 to 9999.
//
// Form descriptions hold no fractions: dates and times travel there as the
// text "yyyy-mm-dd" and "hh:nn:ss" (".zzz" added when there are milliseconds).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace framework {

using TDateTime = double;

struct TDateParts {
  int32_t Year = 1899;
  int32_t Month = 12;
  int32_t Day = 30;
  friend constexpr bool operator==(const TDateParts&, const TDateParts&) = default;
};

struct TTimeParts {
  int32_t Hour = 0;
  int32_t Minute = 0;
  int32_t Second = 0;
  int32_t Millisecond = 0;
  friend constexpr bool operator==(const TTimeParts&, const TTimeParts&) = default;
};

[[nodiscard]] bool IsLeapYear(int32_t year);
[[nodiscard]] int32_t DaysInMonth(int32_t year, int32_t month);

// Raise EConvertError for a day or a time that does not exist.
[[nodiscard]] TDateTime EncodeDate(int32_t year, int32_t month, int32_t day);
[[nodiscard]] TDateTime EncodeTime(int32_t hour, int32_t minute, int32_t second, int32_t millisecond = 0);
// Rounded to the nearest millisecond; a time that rounds up to midnight
// belongs to the next day.
[[nodiscard]] TDateParts DecodeDate(TDateTime value);
[[nodiscard]] TTimeParts DecodeTime(TDateTime value);

// The day alone (midnight) and the time of day alone (a fraction 0 to 1).
[[nodiscard]] TDateTime DateOf(TDateTime value);
[[nodiscard]] TDateTime TimeOf(TDateTime value);
// The moment of a day (from DateOf) at a time of day (from TimeOf).
[[nodiscard]] TDateTime CombineDateTime(TDateTime date, TDateTime time);

[[nodiscard]] std::string DateToText(TDateTime value);
[[nodiscard]] std::string TimeToText(TDateTime value);
// nullopt for text that is not a date (or time) in the form written above.
[[nodiscard]] std::optional<TDateTime> TextToDate(std::string_view text);
[[nodiscard]] std::optional<TDateTime> TextToTime(std::string_view text);

} // namespace framework
