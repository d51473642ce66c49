#include "engine/field_kind.h"

namespace tallowick {

ColumnClass ClassifyColumn(std::int16_t sqlType) {
  switch (sqlType) {
    case 1:    // SQL_CHAR
    case 2:    // SQL_NUMERIC
    case 3:    // SQL_DECIMAL
    case 12:   // SQL_VARCHAR
    case -1:   // SQL_LONGVARCHAR
    case -11:  // SQL_GUID
      return {RowGroup::Character, bind::Char, FieldKind::String};
    case 4:    // SQL_INTEGER
    case -16:  // SQL_C_SLONG
    case -18:  // SQL_C_ULONG
      return {RowGroup::LongInteger, bind::Long, FieldKind::Long};
    case 5:    // SQL_SMALLINT
    case -15:  // SQL_C_SSHORT
    case -17:  // SQL_C_USHORT
      return {RowGroup::ShortInteger, bind::Short, FieldKind::Short};
    case 6:  // SQL_FLOAT
    case 8:  // SQL_DOUBLE
      return {RowGroup::Double, bind::Double, FieldKind::Double};
    case 7:  // SQL_REAL
      return {RowGroup::Float, bind::Float, FieldKind::Float};
    case 9:   // SQL_DATE
    case 91:  // SQL_TYPE_DATE
      return {RowGroup::Date, bind::Date, FieldKind::Date};
    case 10:  // SQL_TIME (92, SQL_TYPE_TIME, is deliberately not matched)
      return {RowGroup::Time, bind::Time, FieldKind::Time};
    case 11:  // SQL_TIMESTAMP
    case 93:  // SQL_TYPE_TIMESTAMP
      return {RowGroup::Timestamp, bind::Timestamp, FieldKind::DateTime};
    case -6:   // SQL_TINYINT
    case -26:  // SQL_C_STINYINT
    case -28:  // SQL_C_UTINYINT
      return {RowGroup::Byte, bind::TinyInt, FieldKind::Short};
    case -7:  // SQL_BIT
      return {RowGroup::Bit, bind::Bit, FieldKind::Short};
    default:
      return {};
  }
}

RowGroup RowGroupOfKind(FieldKind kind) {
  switch (kind) {
    case FieldKind::String:
      return RowGroup::Character;
    case FieldKind::Double:
      return RowGroup::Double;
    case FieldKind::Float:
      return RowGroup::Float;
    case FieldKind::Long:
      return RowGroup::LongInteger;
    case FieldKind::Short:
      return RowGroup::ShortInteger;
    case FieldKind::DateTime:
      return RowGroup::Timestamp;
    case FieldKind::Time:
      return RowGroup::Time;
    case FieldKind::Date:
      return RowGroup::Date;
  }
  return RowGroup::None;
}

std::size_t FixedFieldSize(FieldKind kind) {
  switch (kind) {
    case FieldKind::String:
      return 0;
    case FieldKind::Double:
      return 8;
    case FieldKind::Float:
    case FieldKind::Long:
      return 4;
    case FieldKind::DateTime:
      return 14;
    case FieldKind::Short:
    case FieldKind::Time:
    case FieldKind::Date:
      return 2;
  }
  return 0;
}

std::string_view FieldKindName(std::uint8_t code) {
  switch (code) {
    case 1:
      return "String";
    case 2:
      return "Double";
    case 3:
      return "Float";
    case 4:
      return "Long";
    case 5:
      return "Short";
    case 6:
      return "DateTime";
    case 7:
      return "Time";
    case 8:
      return "Date";
    default:
      return "";
  }
}

}  // namespace tallowick
