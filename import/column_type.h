#pragma once
// The column types an imported table declares. The SQLite3 ODBC driver reads
// the declared type name and reports, through SQLDescribeCol and SQLColumns:
//   INTEGER 4 (SQL_INTEGER), DOUBLE 8 (SQL_DOUBLE), DATE 91 (SQL_TYPE_DATE),
//   TIMESTAMP 93 (SQL_TYPE_TIMESTAMP), BIT -7 (SQL_BIT), VARCHAR 12
//   (SQL_VARCHAR), TEXT -1 (SQL_LONGVARCHAR), BLOB -2 (SQL_BINARY).
// Values are stored in the forms that driver parses back: integers and
// doubles as numbers, bits as 0/1, dates as 'YYYY-MM-DD', timestamps as
// 'YYYY-MM-DD HH:MM:SS' (with '.fff' when there are milliseconds).
#include <string>

namespace tallowick {

enum class ColumnType { Integer, Double, Date, Timestamp, Bit, Varchar, Text, Blob };

inline const char* DeclaredTypeName(ColumnType type) {
  switch (type) {
    case ColumnType::Integer:
      return "INTEGER";
    case ColumnType::Double:
      return "DOUBLE";
    case ColumnType::Date:
      return "DATE";
    case ColumnType::Timestamp:
      return "TIMESTAMP";
    case ColumnType::Bit:
      return "BIT";
    case ColumnType::Varchar:
      return "VARCHAR";
    case ColumnType::Text:
      return "TEXT";
    case ColumnType::Blob:
      return "BLOB";
  }
  return "VARCHAR";
}

struct ColumnDefinition {
  std::string name;
  ColumnType type = ColumnType::Varchar;
};

}  // namespace tallowick
