#include "engine/palm_date.h"

#include <gtest/gtest.h>

#include "engine/byte_order.h"

namespace tallowick {
namespace {

struct WeekDayCase {
  std::int16_t year;
  std::uint16_t month;
  std::uint16_t day;
  std::uint16_t weekDay;
};

TEST(EncodeDateTime, WeekDayRunsMondayOneToSundaySeven) {
  const WeekDayCase cases[] = {
      {2003, 7, 13, 7},   // Sunday
      {2003, 7, 14, 1},   // Monday
      {2003, 7, 19, 6},   // Saturday
      {1971, 1, 1, 5},    // first year computed: a Friday
      {2037, 12, 31, 4},  // last day computed: a Thursday
      {2000, 2, 29, 2},   // leap day, a Tuesday
  };
  for (const auto& c : cases) {
    const auto bytes = EncodeDateTime(c.year, c.month, c.day, 10, 0, 0, 0);
    EXPECT_EQ(GetBigEndian16(&bytes[12]), c.weekDay) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(EncodeDateTime, YearsOutsideTheClockGetSevenOrStandIn2003) {
  const WeekDayCase cases[] = {
      {1970, 6, 15, 7}, {1970, 1, 1, 7},   {1900, 3, 3, 7},   {1935, 5, 5, 7}, {2038, 1, 1, 7},
      {2100, 6, 1, 7},  {-32768, 1, 1, 3}, {1899, 12, 30, 2},  // as 30 December 2003, a Tuesday
      {0, 1, 1, 3},                                            // as 1 January 2003, a Wednesday
  };
  for (const auto& c : cases) {
    const auto bytes = EncodeDateTime(c.year, c.month, c.day, 0, 0, 0, 0);
    EXPECT_EQ(GetBigEndian16(&bytes[12]), c.weekDay) << c.year << "-" << c.month << "-" << c.day;
    // The year itself is stored as delivered.
    EXPECT_EQ(static_cast<std::int16_t>(GetBigEndian16(&bytes[10])), c.year);
  }
}

TEST(EncodeDateTime, ImpossibleDatesAreNormalisedOnlyForTheWeekDay) {
  // Day 0 counts as the 1st (Tuesday 1 July 2003), but 0 is what is stored.
  auto bytes = EncodeDateTime(2003, 7, 0, 0, 0, 0, 0);
  EXPECT_EQ(GetBigEndian16(&bytes[6]), 0);
  EXPECT_EQ(GetBigEndian16(&bytes[12]), 2);
  // 31 April is 1 May, a Thursday.
  bytes = EncodeDateTime(2003, 4, 31, 0, 0, 0, 0);
  EXPECT_EQ(GetBigEndian16(&bytes[12]), 4);
  // Month 13 counts as January: 5 January 2003 was a Sunday.
  bytes = EncodeDateTime(2003, 13, 5, 0, 0, 0, 0);
  EXPECT_EQ(GetBigEndian16(&bytes[8]), 13);
  EXPECT_EQ(GetBigEndian16(&bytes[12]), 7);
  // Day 40 counts as the 1st: 1 January 2003, a Wednesday.
  bytes = EncodeDateTime(2003, 1, 40, 0, 0, 0, 0);
  EXPECT_EQ(GetBigEndian16(&bytes[6]), 40);
  EXPECT_EQ(GetBigEndian16(&bytes[12]), 3);
  // Values are stored unclamped.
  bytes = EncodeDateTime(2003, 7, 14, 99, 61, 65535, 5);
  EXPECT_EQ(GetBigEndian16(&bytes[0]), 65535);
  EXPECT_EQ(GetBigEndian16(&bytes[2]), 61);
  EXPECT_EQ(GetBigEndian16(&bytes[4]), 99);
}

TEST(EncodeDate, AddsFieldsSoOverflowCarriesAndYearsWrap) {
  auto hex = [](std::array<unsigned char, 2> bytes) { return GetBigEndian16(bytes.data()); };
  EXPECT_EQ(hex(EncodeDate(2003, 7, 15)), 0xC6EF);
  EXPECT_EQ(hex(EncodeDate(1904, 1, 1)), 0x0021);
  EXPECT_EQ(hex(EncodeDate(2031, 12, 31)), 0xFF9F);
  EXPECT_EQ(hex(EncodeDate(2032, 1, 1)), 0x0021);
  EXPECT_EQ(hex(EncodeDate(1900, 1, 1)), 0xF821);
  // Month 16 carries into the year: 2004, month 0, day 1.
  const auto carried = EncodeDate(2003, 16, 1);
  const DecodedDate decoded = DecodeDate(carried.data());
  EXPECT_EQ(decoded.year, 2004);
  EXPECT_EQ(decoded.month, 0);
  EXPECT_EQ(decoded.day, 1);
  // Day 32 carries into the month.
  EXPECT_EQ(hex(EncodeDate(2003, 7, 32)), hex(EncodeDate(2003, 8, 0)));
}

TEST(EncodeTime, KeepsHoursAndMinutesLowBytes) {
  EXPECT_EQ(EncodeTime(14, 35, 59), (std::array<unsigned char, 2>{0x0E, 0x23}));
  EXPECT_EQ(EncodeTime(0, 0, 0), (std::array<unsigned char, 2>{0, 0}));
  EXPECT_EQ(EncodeTime(0x1234, 0x0102, 7), (std::array<unsigned char, 2>{0x34, 0x02}));
}

TEST(DecodeDate, ReadsYearMonthDayFields) {
  const unsigned char july[] = {0xC6, 0xEF};
  DecodedDate date = DecodeDate(july);
  EXPECT_EQ(date.year, 2003);
  EXPECT_EQ(date.month, 7);
  EXPECT_EQ(date.day, 15);
  const unsigned char wrapped[] = {0xF8, 0x21};  // written for 1 January 1900
  date = DecodeDate(wrapped);
  EXPECT_EQ(date.year, 2028);
  EXPECT_EQ(date.month, 1);
  EXPECT_EQ(date.day, 1);
  const unsigned char zero[] = {0, 0};
  date = DecodeDate(zero);
  EXPECT_EQ(date.year, 1904);
  EXPECT_EQ(date.month, 0);
  EXPECT_EQ(date.day, 0);
}

TEST(DecodeDateTime, ReadsWhatEncodeDateTimeStored) {
  const auto bytes = EncodeDateTime(2003, 5, 17, 15, 4, 9, 123456);
  const DecodedDateTime stamp = DecodeDateTime(bytes.data());
  EXPECT_EQ(stamp.year, 2003);
  EXPECT_EQ(stamp.month, 5);
  EXPECT_EQ(stamp.day, 17);
  EXPECT_EQ(stamp.hour, 15);
  EXPECT_EQ(stamp.minute, 4);
  EXPECT_EQ(stamp.second, 9);
  EXPECT_EQ(stamp.fraction, 0);
  const auto early = EncodeDateTime(-5, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(DecodeDateTime(early.data()).year, -5);
}

}  // namespace
}  // namespace tallowick
