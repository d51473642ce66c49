#include "import/sqlite_table_writer.h"

#include <sqlite3.h>

namespace tallowick {

SqliteTableWriter::~SqliteTableWriter() { Close(); }

void SqliteTableWriter::Close() {
  if (m_insert != nullptr) {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
  }
  if (m_db != nullptr) {
    // Uncommitted work is rolled back by closing.
    sqlite3_close(m_db);
    m_db = nullptr;
  }
  m_inTable = false;
}

std::string SqliteTableWriter::QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char ch : name) {
    if (ch == '"') quoted += '"';
    quoted += ch;
  }
  quoted += '"';
  return quoted;
}

std::string SqliteTableWriter::LastError() const {
  return "Cannot write the temporary database " + m_path + ": " +
         (m_db != nullptr ? sqlite3_errmsg(m_db) : "not open");
}

bool SqliteTableWriter::Execute(const char* sql, std::string& error) {
  if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    error = LastError();
    return false;
  }
  return true;
}

bool SqliteTableWriter::Open(const std::string& path, std::string& error) {
  Close();
  m_path = path;
  if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = LastError();
    Close();
    return false;
  }
  // The file is private and rebuilt from its source on any failure, so it
  // needs neither a journal nor durable writes.
  return Execute(
      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
      " PRAGMA cache_size=-65536; BEGIN",
      error);
}

bool SqliteTableWriter::BeginTable(const std::string& table,
                                   const std::vector<ColumnDefinition>& columns,
                                   std::string& error) {
  if (m_db == nullptr) {
    error = LastError();
    return false;
  }
  if (m_inTable) AbandonTable();
  m_table = table;
  m_inTable = true;
  std::string create = "CREATE TABLE " + QuoteIdentifier(table) + " (";
  std::string insert = "INSERT INTO " + QuoteIdentifier(table) + " VALUES (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) {
      create += ", ";
      insert += ", ";
    }
    create += QuoteIdentifier(columns[i].name);
    create += ' ';
    create += DeclaredTypeName(columns[i].type);
    insert += '?';
  }
  create += ")";
  insert += ")";
  if (!Execute(create.c_str(), error)) {
    AbandonTable();
    return false;
  }
  if (sqlite3_prepare_v2(m_db, insert.c_str(), -1, &m_insert, nullptr) != SQLITE_OK) {
    error = LastError();
    AbandonTable();
    return false;
  }
  return true;
}

void SqliteTableWriter::BindNull(int column) { sqlite3_bind_null(m_insert, column + 1); }

void SqliteTableWriter::BindInteger(int column, std::int64_t value) {
  sqlite3_bind_int64(m_insert, column + 1, value);
}

void SqliteTableWriter::BindDouble(int column, double value) {
  sqlite3_bind_double(m_insert, column + 1, value);
}

void SqliteTableWriter::BindText(int column, std::string_view text) {
  sqlite3_bind_text64(m_insert, column + 1, text.data(), text.size(), SQLITE_TRANSIENT,
                      SQLITE_UTF8);
}

void SqliteTableWriter::BindBlob(int column, const void* bytes, std::size_t size) {
  if (size == 0) {
    sqlite3_bind_zeroblob(m_insert, column + 1, 0);
    return;
  }
  sqlite3_bind_blob64(m_insert, column + 1, bytes, size, SQLITE_TRANSIENT);
}

bool SqliteTableWriter::InsertRow(std::string& error) {
  int result = sqlite3_step(m_insert);
  sqlite3_reset(m_insert);
  sqlite3_clear_bindings(m_insert);
  if (result != SQLITE_DONE) {
    error = LastError();
    return false;
  }
  return true;
}

void SqliteTableWriter::EndTable() {
  if (m_insert != nullptr) {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
  }
  m_inTable = false;
}

void SqliteTableWriter::AbandonTable() {
  if (m_insert != nullptr) {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
  }
  // Without a journal there is no rollback; dropping the table removes it.
  if (m_inTable && m_db != nullptr) {
    std::string drop = "DROP TABLE IF EXISTS " + QuoteIdentifier(m_table);
    sqlite3_exec(m_db, drop.c_str(), nullptr, nullptr, nullptr);
  }
  m_inTable = false;
}

bool SqliteTableWriter::Commit(std::string& error) {
  if (m_inTable) AbandonTable();
  if (m_db == nullptr) {
    error = LastError();
    return false;
  }
  bool ok = Execute("COMMIT", error);
  if (ok && sqlite3_close(m_db) != SQLITE_OK) {
    error = LastError();
    ok = false;
  } else if (ok) {
    m_db = nullptr;
  }
  Close();
  return ok;
}

}  // namespace tallowick
