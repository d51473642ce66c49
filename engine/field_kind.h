#pragma once
// Column classification: the ODBC SQL type of a result column decides how
// its values are fetched (bind type) and stored in a record (FieldKind).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallowick {

// Stored in the Helper file: the values are part of a file format.
enum class FieldKind : std::uint8_t {
  String = 1,
  Double = 2,
  Float = 3,
  Long = 4,
  Short = 5,
  DateTime = 6,
  Time = 7,
  Date = 8,
};

// What the logs key their texts on.
enum class RowGroup {
  Character,
  LongInteger,
  ShortInteger,
  Double,
  Float,
  Date,
  Time,
  Timestamp,
  Byte,
  Bit,
  None,
};

// ODBC C target type codes used as bind types (SQL_C_*).
namespace bind {
inline constexpr std::int16_t None = 0;
inline constexpr std::int16_t Char = 1;
inline constexpr std::int16_t Long = 4;
inline constexpr std::int16_t Short = 5;
inline constexpr std::int16_t Float = 7;
inline constexpr std::int16_t Double = 8;
inline constexpr std::int16_t Date = 9;
inline constexpr std::int16_t Time = 10;
inline constexpr std::int16_t Timestamp = 11;
inline constexpr std::int16_t TinyInt = -6;
inline constexpr std::int16_t Bit = -7;
}  // namespace bind

struct ColumnClass {
  RowGroup group = RowGroup::None;
  std::int16_t bindType = bind::None;
  std::optional<FieldKind> kind;
};

ColumnClass ClassifyColumn(std::int16_t sqlType);

// The row group whose columns are stored as `kind` (Short: ShortInteger,
// whose texts byte and bit columns share in the log's record layout).
RowGroup RowGroupOfKind(FieldKind kind);

// Size in bytes of a fixed-size kind; 0 for String (variable).
std::size_t FixedFieldSize(FieldKind kind);

// "String", "Double", ... as used in listings; "" for a code outside 1..8.
std::string_view FieldKindName(std::uint8_t code);

}  // namespace tallowick
