#pragma once
// Writes imported tables into the temporary SQLite database, fast: one
// transaction for the whole import, no journal, no syncing, one prepared
// INSERT per table. A table that fails half-way can be dropped without a
// trace while the others stay.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/column_type.h"

struct sqlite3;
struct sqlite3_stmt;

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
  bool Execute(const char* sql, std::string& error);
  std::string LastError() const;
  void Close();

  sqlite3* m_db = nullptr;
  sqlite3_stmt* m_insert = nullptr;
  std::string m_path;
  std::string m_table;
  bool m_inTable = false;
};

}  // namespace tallowick
