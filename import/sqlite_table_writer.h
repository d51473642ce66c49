#pragma once
// Writes imported tables into the temporary SQLite database through the
// SQLite ODBC driver (the one the database is then read with, on every
// system), fast: one transaction for the whole import, no journal, no
// syncing, rows inserted in batches by one prepared INSERT of many rows (the
// SQLite driver compiles a statement again on every execute, so one row per
// execute spends a third of the time compiling). A table that fails
// half-way can be dropped without a trace while the others stay.
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
  // Adds the row built so far (written with its batch, at the latest by
  // EndTable); the values of the next row start as NULL.
  bool InsertRow(std::string& error);
  // Writes the rows still waiting and ends the table: its rows stay.
  bool EndTable(std::string& error);
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

  // Binds `value` as parameter `number` (1-based) of `statement`.
  bool BindParameter(const StatementHandle& statement, std::size_t number, Value& value,
                     std::string& error);
  bool ExecuteRows(const StatementHandle& statement, std::size_t firstRow, std::size_t rows,
                   std::string& error);
  bool Prepare(StatementHandle& statement, std::size_t rows, std::string& error);

  bool Connect(std::string& error);
  bool Execute(const std::string& sql, std::string& error);
  bool Failed(SQLSMALLINT handleType, SQLHANDLE handle, std::string& error) const;
  Value& ValueAt(int column);
  void Close();

  EnvironmentHandle m_environment;
  ConnectionHandle m_connection;
  StatementHandle m_insert;     // m_batchRows rows at once
  StatementHandle m_insertOne;  // one row, for the rows left at the end
  std::vector<Value> m_values;  // m_batchRows rows of m_columns values
  std::size_t m_columns = 0;
  std::size_t m_batchRows = 1;
  std::size_t m_pendingRows = 0;  // rows built and not yet written
  std::string m_path;
  std::string m_table;
  bool m_inTable = false;
  // Where the drivers' text is not UTF-8 (platform/driver_text.h), values
  // go out in their code page, where a character it lacks becomes '?'.
  bool m_textToCodePage = !platform::DriversUseUtf8();
};

}  // namespace tallowick
