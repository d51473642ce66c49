#pragma once
// The text that the preview shows for a value, by the column's bind type.
#include <cstdint>
#include <string>

#include "engine/column_info.h"
#include "source/preview.h"

namespace tallowick {

inline constexpr const char* kNotSupportedText = "Not Supported";

// The characters up to the first NUL, each tab replaced by five blanks.
std::string PreviewCharacterText(const char* text, std::size_t bufferSize);
std::string PreviewIntegerText(std::int32_t value);         // "%d"
std::string PreviewSmallIntText(std::int16_t value);        // "%u" of the 16 bits: -1 shows 65535
std::string PreviewByteText(std::uint8_t value);            // "%u", 0 to 255
std::string PreviewDoubleText(double value);                // "%f" below 1e8, else "%e"
std::string PreviewRealText(float value);                   // "%f" of the value widened
std::string PreviewDateText(int year, int month, int day);  // "%d/%d/%d"
std::string PreviewTimeText(int hour, int minute, int second);  // "%d:%d:%d"
// "%04d/%02d/%02d %02d:%02d:%02d" in the twelve-hour form, followed by
// "  AM" (two blanks) or " PM" (one blank); hour 0 shows as 12 AM.
std::string PreviewTimestampText(int year, int month, int day, int hour, int minute, int second);

// The current value of a column after a fetch. NULL shows as "" for text,
// dates and times, "0" for integers, "0.000000" for floating values; a
// column that is not bound shows "Not Supported".
std::string PreviewValueText(const ColumnInfo& column);
// What that text stands for: NULL, a number (integer and floating columns)
// or text (every other column, "Not Supported" included).
PreviewValueForm PreviewValueFormOf(const ColumnInfo& column);

}  // namespace tallowick
