#include "import/calendar.h"

#include <chrono>
#include <cmath>

namespace tallowick {
namespace {

constexpr std::int64_t kJulianDayOf1970 = 2440588;
constexpr std::int64_t kMillisecondsPerDay = 86400000;
// 1899-12-30 and 1904-01-01, the day that serial 0 stands for in each system.
constexpr std::int64_t kExcel1900Epoch = -25569;
constexpr std::int64_t kExcel1904Epoch = -24107;

bool Digits(std::string_view text, std::size_t offset, std::size_t count, int& out) {
  if (offset + count > text.size()) return false;
  int value = 0;
  for (std::size_t i = offset; i < offset + count; ++i) {
    char ch = text[i];
    if (ch < '0' || ch > '9') return false;
    value = value * 10 + (ch - '0');
  }
  out = value;
  return true;
}

bool SetFromDays(std::int64_t days, std::int64_t milliseconds, CalendarDateTime& out) {
  // Days from 0001-01-01 to 9999-12-31 inclusive.
  if (days < DaysFromCivil(1, 1, 1) || days > DaysFromCivil(9999, 12, 31)) return false;
  CalendarDateTime value;
  CivilFromDays(days, value.year, value.month, value.day);
  value.hour = static_cast<int>(milliseconds / 3600000);
  value.minute = static_cast<int>(milliseconds / 60000 % 60);
  value.second = static_cast<int>(milliseconds / 1000 % 60);
  value.millisecond = static_cast<int>(milliseconds % 1000);
  out = value;
  return true;
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
  using namespace std::chrono;
  // A day past the month's end counts on into the next month.
  const sys_days first =
      year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)}, 1d};
  return (first + std::chrono::days{day - 1}).time_since_epoch().count();
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  using namespace std::chrono;
  const year_month_day date{sys_days{std::chrono::days{days}}};
  year = static_cast<int>(date.year());
  month = static_cast<int>(static_cast<unsigned>(date.month()));
  day = static_cast<int>(static_cast<unsigned>(date.day()));
}

bool IsValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  using namespace std::chrono;
  return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                        std::chrono::day{static_cast<unsigned>(day)}}
      .ok();
}

bool ExcelSerialToCalendar(double serial, bool date1904, CalendarDateTime& out) {
  if (!std::isfinite(serial) || serial < 0 || serial > 3e6) return false;
  auto total =
      static_cast<std::int64_t>(std::llround(serial * static_cast<double>(kMillisecondsPerDay)));
  std::int64_t wholeDays = total / kMillisecondsPerDay;
  std::int64_t milliseconds = total % kMillisecondsPerDay;
  std::int64_t days = (date1904 ? kExcel1904Epoch : kExcel1900Epoch) + wholeDays;
  // Serials 1 to 60 of the 1900 system sit one day later than the count
  // suggests, because Excel believes in 29 February 1900.
  if (!date1904 && wholeDays >= 1 && wholeDays < 61) days += wholeDays == 60 ? 0 : 1;
  return SetFromDays(days, milliseconds, out);
}

bool JulianDayToCalendar(std::int64_t julianDay, std::int64_t milliseconds, CalendarDateTime& out) {
  if (milliseconds < 0 || milliseconds >= kMillisecondsPerDay) return false;
  return SetFromDays(julianDay - kJulianDayOf1970, milliseconds, out);
}

bool ParseDateTimeText(std::string_view text, CalendarDateTime& out, bool& hasDate, bool& hasTime) {
  CalendarDateTime value;
  hasDate = false;
  hasTime = false;
  std::size_t pos = 0;
  if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
    if (!Digits(text, 0, 4, value.year) || !Digits(text, 5, 2, value.month) ||
        !Digits(text, 8, 2, value.day) || !IsValidDate(value.year, value.month, value.day)) {
      return false;
    }
    hasDate = true;
    pos = 10;
    if (pos < text.size()) {
      if (text[pos] != ' ' && text[pos] != 'T') return false;
      ++pos;
    }
  }
  if (pos < text.size()) {
    if (text.size() - pos != 8 || text[pos + 2] != ':' || text[pos + 5] != ':') return false;
    if (!Digits(text, pos, 2, value.hour) || !Digits(text, pos + 3, 2, value.minute) ||
        !Digits(text, pos + 6, 2, value.second) || value.hour > 23 || value.minute > 59 ||
        value.second > 59) {
      return false;
    }
    hasTime = true;
  }
  if (!hasDate && !hasTime) return false;
  out = value;
  return true;
}

bool ParseCompactDate(std::string_view text, CalendarDateTime& out) {
  CalendarDateTime value;
  if (text.size() != 8 || !Digits(text, 0, 4, value.year) || !Digits(text, 4, 2, value.month) ||
      !Digits(text, 6, 2, value.day) || !IsValidDate(value.year, value.month, value.day)) {
    return false;
  }
  out = value;
  return true;
}

}  // namespace tallowick
