#pragma once
// The Palm OS date and time layouts used in records.
#include <array>
#include <cstdint>

namespace tallowick {

// DateType: one big-endian word, year-1904 (7 bits) | month (4) | day (5).
std::array<unsigned char, 2> EncodeDate(std::int16_t year, std::uint16_t month, std::uint16_t day);
// TimeType: hours, minutes; seconds are dropped.
std::array<unsigned char, 2> EncodeTime(std::uint16_t hour, std::uint16_t minute,
                                        std::uint16_t second);
// DateTimeType: second, minute, hour, day, month, year, weekDay; 16-bit big-endian words.
std::array<unsigned char, 14> EncodeDateTime(std::int16_t year, std::uint16_t month,
                                             std::uint16_t day, std::uint16_t hour,
                                             std::uint16_t minute, std::uint16_t second,
                                             std::uint32_t fraction);
// weekDay as stored: Monday 1 ... Sunday 7; 7 also when not computed.
std::uint16_t PalmWeekDay(std::int16_t year, std::uint16_t month, std::uint16_t day);

struct DecodedDate {
  int year = 0;
  int month = 0;
  int day = 0;
};
struct DecodedDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int fraction = 0;  // always 0
};

DecodedDate DecodeDate(const unsigned char* bytes);          // 2 bytes
DecodedDateTime DecodeDateTime(const unsigned char* bytes);  // 14 bytes

}  // namespace tallowick
