#pragma once
// One cell of a worksheet as the import sees it, whichever reader produced it.
#include <cstdint>
#include <string_view>

#include "import/calendar.h"

namespace tallowick {

enum class CellKind : std::uint8_t {
  Empty,     // no value
  Number,    // `number`
  Text,      // `text` (UTF-8)
  Boolean,   // `boolean`
  Date,      // `when`, date part only
  DateTime,  // `when`, date and time of day
  Time,      // `when`, time of day only
  Error,     // `text` holds the error as Excel shows it ("#DIV/0!")
};

struct WorkbookCell {
  CellKind kind = CellKind::Empty;
  double number = 0;
  bool boolean = false;
  std::string_view text;
  CalendarDateTime when;
};

}  // namespace tallowick
