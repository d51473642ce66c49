#include "source/preview_text.h"

#include <cstdio>
#include <cstring>

#include "engine/field_kind.h"
#include "odbc/odbc_api.h"

namespace tallowick {

namespace {

template <typename... Args>
std::string Printed(const char* format, Args... args) {
  const int length = std::snprintf(nullptr, 0, format, args...);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.pop_back();
  return text;
}

template <typename T>
T Read(const ColumnInfo& column) {
  T value{};
  std::memcpy(&value, column.value.data(), sizeof value);
  return value;
}

}  // namespace

std::string PreviewCharacterText(const char* text, std::size_t bufferSize) {
  const std::size_t length = ::strnlen(text, bufferSize);
  std::string shown;
  shown.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\t') {
      shown += "     ";
    } else {
      shown.push_back(text[i]);
    }
  }
  return shown;
}

std::string PreviewIntegerText(std::int32_t value) { return Printed("%d", value); }

std::string PreviewSmallIntText(std::int16_t value) {
  return Printed("%u", static_cast<unsigned>(static_cast<std::uint16_t>(value)));
}

std::string PreviewByteText(std::uint8_t value) {
  return Printed("%u", static_cast<unsigned>(value));
}

std::string PreviewDoubleText(double value) {
  return value < 100000000.0 ? Printed("%f", value) : Printed("%e", value);
}

std::string PreviewRealText(float value) { return Printed("%f", static_cast<double>(value)); }

std::string PreviewDateText(int year, int month, int day) {
  return Printed("%d/%d/%d", year, month, day);
}

std::string PreviewTimeText(int hour, int minute, int second) {
  return Printed("%d:%d:%d", hour, minute, second);
}

std::string PreviewTimestampText(int year, int month, int day, int hour, int minute, int second) {
  if (hour < 12) {
    const int shown = hour == 0 ? 12 : hour;
    return Printed("%04d/%02d/%02d %02d:%02d:%02d  AM", year, month, day, shown, minute, second);
  }
  const int shown = hour == 12 ? 12 : hour - 12;
  return Printed("%04d/%02d/%02d %02d:%02d:%02d PM", year, month, day, shown, minute, second);
}

std::string PreviewValueText(const ColumnInfo& column) {
  const bool null = column.IsNull();
  const bool bound = column.value.size() >= sizeof(SQL_TIMESTAMP_STRUCT);
  switch (column.bindType) {
    case bind::Char:
      if (null || !bound) return {};
      return PreviewCharacterText(reinterpret_cast<const char*>(column.value.data()),
                                  column.value.size());
    case bind::Long:
      return PreviewIntegerText(null || !bound ? 0 : Read<std::int32_t>(column));
    case bind::Short:
      return PreviewSmallIntText(null || !bound ? 0 : Read<std::int16_t>(column));
    case bind::TinyInt:
    case bind::Bit:
      return PreviewByteText(null || !bound ? 0 : Read<std::uint8_t>(column));
    case bind::Double:
      return PreviewDoubleText(null || !bound ? 0.0 : Read<double>(column));
    case bind::Float:
      return PreviewRealText(null || !bound ? 0.0f : Read<float>(column));
    case bind::Date: {
      if (null || !bound) return {};
      const auto date = Read<SQL_DATE_STRUCT>(column);
      return PreviewDateText(date.year, date.month, date.day);
    }
    case bind::Time: {
      if (null || !bound) return {};
      const auto time = Read<SQL_TIME_STRUCT>(column);
      return PreviewTimeText(time.hour, time.minute, time.second);
    }
    case bind::Timestamp: {
      if (null || !bound) return {};
      const auto stamp = Read<SQL_TIMESTAMP_STRUCT>(column);
      return PreviewTimestampText(stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute,
                                  stamp.second);
    }
    default:
      return kNotSupportedText;
  }
}

PreviewValueForm PreviewValueFormOf(const ColumnInfo& column) {
  switch (column.bindType) {
    case bind::Long:
    case bind::Short:
    case bind::TinyInt:
    case bind::Bit:
    case bind::Double:
    case bind::Float:
      return column.IsNull() ? PreviewValueForm::Null : PreviewValueForm::Number;
    case bind::Char:
    case bind::Date:
    case bind::Time:
    case bind::Timestamp:
      return column.IsNull() ? PreviewValueForm::Null : PreviewValueForm::Text;
    default:
      return PreviewValueForm::Text;  // "Not Supported"
  }
}

}  // namespace tallowick
