// Days since 30 December 1899: the calendar both ways, negative values,
// rounding to the millisecond, and the text form descriptions hold.
#include "framework/DateTime.h"

#include <gtest/gtest.h>

#include "framework/Component.h"

using namespace framework;

TEST(DateTime, KnownDaysHaveTheirSerialNumbers)
{
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  // 1900 was no leap year: 1 March 1900 follows 28 February.
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(2024, 2, 29) + 1, EncodeDate(2024, 3, 1));
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeTime(12, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0), 0.25);
}

TEST(DateTime, LeapYearsAndMonthLengths)
{
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2024, 4), 30);
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
}

TEST(DateTime, DaysThatDoNotExistAreRefused)
{
  EXPECT_THROW((void)EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW((void)EncodeDate(2024, 0, 1), EConvertError);
  EXPECT_THROW((void)EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW((void)EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW((void)EncodeTime(24, 0, 0), EConvertError);
  EXPECT_THROW((void)EncodeTime(0, 60, 0), EConvertError);
  EXPECT_THROW((void)EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DateTime, EveryDayOfTheCalendarDecodesToItself)
{
  // Each day follows the one before: walking the whole range catches a
  // wrong cycle length or month boundary anywhere.
  TDateParts expected{1, 1, 1};
  for (TDateTime day = EncodeDate(1, 1, 1); day <= EncodeDate(9999, 12, 31); day += 1) {
    ASSERT_EQ(DecodeDate(day), expected) << day;
    if (++expected.Day > DaysInMonth(expected.Year, expected.Month)) {
      expected.Day = 1;
      if (++expected.Month > 12) {
        expected.Month = 1;
        ++expected.Year;
      }
    }
  }
}

TEST(DateTime, NegativeValuesCountTheirTimeForwardFromMidnight)
{
  EXPECT_EQ(DecodeDate(-1.25), (TDateParts{1899, 12, 29}));
  EXPECT_EQ(DecodeTime(-1.25), (TTimeParts{6, 0, 0, 0}));
  EXPECT_EQ(CombineDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0)), -1.25);
  EXPECT_EQ(CombineDateTime(EncodeDate(2000, 1, 1), EncodeTime(18, 0, 0)), 36526.75);
  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  // Between -1 and 1 lies 30 December either way.
  EXPECT_EQ(DecodeDate(-0.5), (TDateParts{1899, 12, 30}));
  EXPECT_EQ(DecodeTime(-0.5), (TTimeParts{12, 0, 0, 0}));
}

TEST(DateTime, TimesRoundToTheMillisecondAndMidnightMovesToTheNextDay)
{
  const TDateTime almost = EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 59, 999) + 0.4 / 86'400'000.0;
  EXPECT_EQ(DecodeTime(almost), (TTimeParts{23, 59, 59, 999}));
  const TDateTime rounded = EncodeDate(2024, 12, 31) + 0.9999999999;
  EXPECT_EQ(DecodeDate(rounded), (TDateParts{2025, 1, 1}));
  EXPECT_EQ(DecodeTime(rounded), (TTimeParts{0, 0, 0, 0}));
  EXPECT_EQ(DecodeTime(EncodeTime(13, 45, 30, 250)), (TTimeParts{13, 45, 30, 250}));
}

TEST(DateTime, TextRoundTripsAndRejectsWhatIsNoDate)
{
  const TDateTime moment = CombineDateTime(EncodeDate(2024, 5, 17), EncodeTime(8, 5, 3));
  EXPECT_EQ(DateToText(moment), "2024-05-17");
  EXPECT_EQ(TimeToText(moment), "08:05:03");
  EXPECT_EQ(TimeToText(EncodeTime(8, 5, 3, 40)), "08:05:03.040");
  EXPECT_EQ(TextToDate("2024-05-17"), EncodeDate(2024, 5, 17));
  EXPECT_EQ(TextToTime("08:05:03"), EncodeTime(8, 5, 3));
  EXPECT_EQ(TextToTime("08:05:03.040"), EncodeTime(8, 5, 3, 40));
  for (const char* bad : {"", "2024-5-17", "2024-02-30", "2024/05/17", "20x4-05-17", "2024-05-170"})
    EXPECT_EQ(TextToDate(bad), std::nullopt) << bad;
  for (const char* bad : {"8:05:03", "24:00:00", "08:60:00", "08:05:03.4", "08-05-03"})
    EXPECT_EQ(TextToTime(bad), std::nullopt) << bad;
}
