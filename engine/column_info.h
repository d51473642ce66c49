#pragma once
// One result column of a generation run or a preview.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/field_kind.h"

namespace tallowick {

inline constexpr std::size_t kValueBufferSize = 65535;
inline constexpr std::int64_t kNullIndicator = -1;

// The value buffer holds, after each fetch, the column's value in the C layout
// of its bind type: NUL-terminated text (Char), int32 (Long), int16 (Short),
// double (Double), float (Float), one byte (TinyInt, Bit), or the ODBC
// SQL_DATE_STRUCT / SQL_TIME_STRUCT / SQL_TIMESTAMP_STRUCT (Date, Time,
// Timestamp). The row source guarantees this layout whatever the driver did.
struct ColumnInfo {
  std::uint16_t number = 0;  // 1-based position in the result
  std::string name;
  std::int16_t sqlType = 0;
  RowGroup group = RowGroup::None;
  std::int16_t bindType = bind::None;
  std::optional<FieldKind> kind;
  std::vector<unsigned char> value;         // kValueBufferSize bytes once bound
  std::int64_t indicator = kNullIndicator;  // length, or kNullIndicator for NULL

  bool IsNull() const { return indicator == kNullIndicator; }
};

// Classifies `sqlType` and fills group, bind type and kind.
ColumnInfo MakeColumnInfo(std::uint16_t number, std::string name, std::int16_t sqlType);

}  // namespace tallowick
