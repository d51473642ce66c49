#pragma once
// Text forms of imported values: the date and timestamp texts the SQLite3
// ODBC driver parses back into SQL_DATE_STRUCT / SQL_TIMESTAMP_STRUCT, and
// the text a number takes in a column of text (as Excel shows it).
#include <string>

#include "import/calendar.h"

namespace tallowick {

// "YYYY-MM-DD".
std::string DateText(const CalendarDateTime& value);
// "HH:MM:SS", with ".fff" when there are milliseconds.
std::string TimeText(const CalendarDateTime& value);
// "YYYY-MM-DD HH:MM:SS", with ".fff" when there are milliseconds.
std::string TimestampText(const CalendarDateTime& value);

// A number as Excel's General format shows it: whole numbers without a
// decimal point ("42", "-7"), others with up to 15 significant digits and no
// trailing zeros ("1.5", "0.1"), very large or small ones in exponent form
// ("1E+20", "1.5E-07").
std::string ExcelNumberText(double value);

}  // namespace tallowick
