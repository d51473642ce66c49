#pragma once
// The C layouts of date and time values in a column's value buffer. They are
// the ODBC SQL_DATE_STRUCT, SQL_TIME_STRUCT and SQL_TIMESTAMP_STRUCT, declared
// here so that the engine needs no ODBC header.
#include <cstdint>

namespace tallowick {

struct SqlDateValue {
  std::int16_t year;
  std::uint16_t month;
  std::uint16_t day;
};

struct SqlTimeValue {
  std::uint16_t hour;
  std::uint16_t minute;
  std::uint16_t second;
};

struct SqlTimestampValue {
  std::int16_t year;
  std::uint16_t month;
  std::uint16_t day;
  std::uint16_t hour;
  std::uint16_t minute;
  std::uint16_t second;
  std::uint32_t fraction;
};

static_assert(sizeof(SqlDateValue) == 6);
static_assert(sizeof(SqlTimeValue) == 6);
static_assert(sizeof(SqlTimestampValue) == 16);

}  // namespace tallowick
