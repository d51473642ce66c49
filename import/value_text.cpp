#include "import/value_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tallowick {
namespace {

void AppendDigits(std::string& out, int value, int width) {
  char digits[12];
  int count = 0;
  unsigned magnitude = value < 0 ? 0u : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0 && count < 11);
  for (int i = count; i < width; ++i) out += '0';
  while (count > 0) out += digits[--count];
}

void AppendTime(std::string& out, const CalendarDateTime& value) {
  AppendDigits(out, value.hour, 2);
  out += ':';
  AppendDigits(out, value.minute, 2);
  out += ':';
  AppendDigits(out, value.second, 2);
  if (value.millisecond != 0) {
    out += '.';
    AppendDigits(out, value.millisecond, 3);
  }
}

}  // namespace

std::string DateText(const CalendarDateTime& value) {
  std::string out;
  out.reserve(10);
  AppendDigits(out, value.year, 4);
  out += '-';
  AppendDigits(out, value.month, 2);
  out += '-';
  AppendDigits(out, value.day, 2);
  return out;
}

std::string TimeText(const CalendarDateTime& value) {
  std::string out;
  AppendTime(out, value);
  return out;
}

std::string TimestampText(const CalendarDateTime& value) {
  std::string out = DateText(value);
  out += ' ';
  AppendTime(out, value);
  return out;
}

std::string ExcelNumberText(double value) {
  if (value == 0) return "0";  // also -0
  char buffer[40];
  if (std::nearbyint(value) == value && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  // %G leaves no trailing zeros in the mantissa; write the exponent the way
  // Excel does: "1E+20", "1.5E-07".
  char* exponent = std::strchr(buffer, 'E');
  if (exponent == nullptr) return buffer;
  int power = std::atoi(exponent + 1);
  *exponent = '\0';
  char tidy[64];
  std::snprintf(tidy, sizeof tidy, "%sE%c%02d", buffer, power < 0 ? '-' : '+',
                power < 0 ? -power : power);
  return tidy;
}

}  // namespace tallowick
