#pragma once
// Proleptic Gregorian date arithmetic for the import readers: Excel serial
// numbers, the Julian day numbers of FoxPro datetimes, and date texts.
#include <cstdint>
#include <string_view>

namespace tallowick {

struct CalendarDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  bool HasTime() const { return hour != 0 || minute != 0 || second != 0 || millisecond != 0; }
};

// Days since 1970-01-01 for a calendar date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int& year, int& month, int& day);

// A real calendar date in the years 1 to 9999.
bool IsValidDate(int year, int month, int day);

// Excel serial number (days since the workbook's epoch, the fraction being
// the time of day) to a date and time rounded to the millisecond. The 1900
// system counts the phantom 29 February 1900 (serial 60, taken here as
// 28 February). False for a serial outside the years 1 to 9999 or negative.
bool ExcelSerialToCalendar(double serial, bool date1904, CalendarDateTime& out);

// Julian day number (2440588 is 1970-01-01) plus milliseconds since midnight,
// as Visual FoxPro stores a datetime. False outside the years 1 to 9999.
bool JulianDayToCalendar(std::int64_t julianDay, std::int64_t milliseconds, CalendarDateTime& out);

// Parses "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" (each part
// optional as stated); `hasDate`/`hasTime` tell which parts were there.
bool ParseDateTimeText(std::string_view text, CalendarDateTime& out, bool& hasDate, bool& hasTime);

// Parses the eight digits YYYYMMDD of a dBase date.
bool ParseCompactDate(std::string_view text, CalendarDateTime& out);

}  // namespace tallowick
