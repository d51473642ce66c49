#pragma once
// Writes imported tables into the temporary SQLite database through the
// SQLite ODBC driver (the one the database is then read with, on every
// system), fast: one transaction for the whole import, no journal, no
// syncing, one prepared INSERT per table. A table that fails half-way can
// be dropped without a trace while the others stay.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/column_type.h"
#include "odbc/odbc_handle.h"
#include "platform/driver_text.h"

namespace tallowick {

class SqliteTableWriter {
 public:
  SqliteTableWriter() = default;
  ~SqliteTableWriter();
  SqliteTableWriter(const SqliteTableWriter&) = delete;
  SqliteTableWriter& operator=(const SqliteTableWriter&) = delete;

  // Opens the (empty) database file and starts the import transaction.
  bool Open(const std::string& path, std::string& error);

  // Creates `table` with `columns` and prepares its INSERT.
  bool BeginTable(const std::string& table, const std::vector<ColumnDefinition>& columns,
                  std::string& error);
  // Values of the row being built, by 0-based column.
  void BindNull(int column);
  void BindInteger(int column, std::int64_t value);
  void BindDouble(int column, double value);
  void BindText(int column, std::string_view text);
  void BindBlob(int column, const void* bytes, std::size_t size);
  // Inserts the row built so far; all values are cleared afterwards.
  bool InsertRow(std::string& error);
  // Ends the table: its rows stay.
  void EndTable();
  // Drops the table being written, as if it had never been begun.
  void AbandonTable();

  // Commits everything and closes the database.
  bool Commit(std::string& error);

  // Double-quoted SQL identifier.
  static std::string QuoteIdentifier(std::string_view name);

 private:
  // One value of the row being built. A parameter is bound again only when
  // its type or its buffer changes; a NULL keeps the binding it has.
  struct Value {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_LONGVARCHAR;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes;
    SQLLEN indicator = SQL_NULL_DATA;
    SQLSMALLINT boundType = 0;  // 0: not bound yet
    SQLPOINTER boundData = nullptr;
  };

  bool BindParameter(std::size_t index, Value& value, std::string& error);

  bool Connect(std::string& error);
  bool Execute(const std::string& sql, std::string& error);
  bool Failed(SQLSMALLINT handleType, SQLHANDLE handle, std::string& error) const;
  Value& ValueAt(int column);
  void Close();

  EnvironmentHandle m_environment;
  ConnectionHandle m_connection;
  StatementHandle m_insert;
  std::vector<Value> m_values;
  std::string m_path;
  std::string m_table;
  bool m_inTable = false;
  // Where the drivers' text is not UTF-8 (platform/driver_text.h), values
  // go out in their code page, where a character it lacks becomes '?'.
  bool m_textToCodePage = !platform::DriversUseUtf8();
};

}  // namespace tallowick
