#include "engine/palm_date.h"

#include <chrono>

#include "engine/byte_order.h"

namespace tallowick {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date; `day` may exceed the
// month's length (31 April counts as 1 May).
std::int64_t DaysFromCivil(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  const sys_days first = year_month_day{std::chrono::year{year}, std::chrono::month{month}, 1d};
  return (first + days{day - 1}).time_since_epoch().count();
}

}  // namespace

std::array<unsigned char, 2> EncodeDate(std::int16_t year, std::uint16_t month, std::uint16_t day) {
  // Added, not masked: an out-of-range month or day carries into the next field.
  const std::int32_t sum = (std::int32_t{year} + 16) * 512 + std::int32_t{month} * 32 + day;
  std::array<unsigned char, 2> bytes{};
  PutBigEndian16(bytes.data(), static_cast<std::uint16_t>(sum & 0xFFFF));
  return bytes;
}

std::array<unsigned char, 2> EncodeTime(std::uint16_t hour, std::uint16_t minute,
                                        std::uint16_t /*second*/) {
  return {static_cast<unsigned char>(hour & 0xFF), static_cast<unsigned char>(minute & 0xFF)};
}

std::uint16_t PalmWeekDay(std::int16_t year, std::uint16_t month, std::uint16_t day) {
  if (day < 1 || day > 31) day = 1;
  if (month < 1 || month > 12) month = 1;
  if (year < 1900) {
    year = 2003;
  } else if (year <= 1970 || year > 2037) {
    return 7;
  }
  // 1970-01-01 was a Thursday; count Sunday as 0 first.
  const std::int64_t sinceSunday = (DaysFromCivil(year, month, day) + 4) % 7;
  return static_cast<std::uint16_t>(sinceSunday == 0 ? 7 : sinceSunday);
}

std::array<unsigned char, 14> EncodeDateTime(std::int16_t year, std::uint16_t month,
                                             std::uint16_t day, std::uint16_t hour,
                                             std::uint16_t minute, std::uint16_t second,
                                             std::uint32_t /*fraction*/) {
  std::array<unsigned char, 14> bytes{};
  PutBigEndian16(&bytes[0], second);
  PutBigEndian16(&bytes[2], minute);
  PutBigEndian16(&bytes[4], hour);
  PutBigEndian16(&bytes[6], day);
  PutBigEndian16(&bytes[8], month);
  PutBigEndian16(&bytes[10], static_cast<std::uint16_t>(year));
  PutBigEndian16(&bytes[12], PalmWeekDay(year, month, day));
  return bytes;
}

DecodedDate DecodeDate(const unsigned char* bytes) {
  const std::uint16_t value = GetBigEndian16(bytes);
  return {1904 + (value >> 9), (value >> 5) & 15, value & 31};
}

DecodedDateTime DecodeDateTime(const unsigned char* bytes) {
  auto word = [bytes](int at) {
    return static_cast<int>(static_cast<std::int16_t>(GetBigEndian16(bytes + at)));
  };
  DecodedDateTime decoded;
  decoded.second = word(0);
  decoded.minute = word(2);
  decoded.hour = word(4);
  decoded.day = word(6);
  decoded.month = word(8);
  decoded.year = word(10);
  decoded.fraction = 0;
  return decoded;
}

}  // namespace tallowick
