#include "import/sqlite_table_writer.h"

#include <algorithm>

#include "odbc/diagnostic_record.h"
#include "odbc/installed_drivers.h"
#include "odbc/sqlite_driver.h"
#include "platform/driver_text.h"
#include "platform/file_system.h"

namespace tallowick {

namespace {

constexpr std::size_t kMessageBuffer = 512;
// The column size given for every parameter: the longest value SQLite
// takes (its default limit, one billion bytes).
constexpr SQLULEN kLongestValue = 1000000000;
// Rows per batch, and the parameters one statement holds at most (999, the
// SQLite library's oldest limit): a wide table takes fewer rows a batch, as
// compiling and binding cost by the parameter.
constexpr std::size_t kRowsPerBatch = 64;
constexpr std::size_t kMostParameters = 999;

}  // namespace

SqliteTableWriter::~SqliteTableWriter() { Close(); }

void SqliteTableWriter::Close() {
  m_insert.Reset();
  m_insertOne.Reset();
  m_pendingRows = 0;
  // Uncommitted work is rolled back by disconnecting.
  if (m_connection) SQLEndTran(SQL_HANDLE_DBC, m_connection.Get(), SQL_ROLLBACK);
  m_connection.Reset();
  m_environment.Reset();
  m_values.clear();
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

bool SqliteTableWriter::Failed(SQLSMALLINT handleType, SQLHANDLE handle, std::string& error) const {
  const DiagnosticRecord record = ReadFirstDiagnostic(handleType, handle, kMessageBuffer);
  error = "Cannot write the temporary database " + m_path + ": " +
          (record.present && !record.message.empty() ? record.message
                                                     : std::string("the driver gave no reason"));
  return false;
}

bool SqliteTableWriter::Execute(const std::string& sql, std::string& error) {
  StatementHandle statement;
  if (!SQL_SUCCEEDED(statement.Allocate(m_connection.Get()))) {
    return Failed(SQL_HANDLE_DBC, m_connection.Get(), error);
  }
  std::string text;
  platform::TextForDrivers(sql, text);
  const SQLRETURN result =
      SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
  if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
    return Failed(SQL_HANDLE_STMT, statement.Get(), error);
  }
  return true;
}

// The driver is the first of its names that is installed. The database
// file exists already (empty); nothing is looked up in any configuration.
bool SqliteTableWriter::Connect(std::string& error) {
  const char* driver = FirstInstalled(kSqliteDriverNames, InstalledDriverNames());
  if (driver == nullptr) {
#ifdef _WIN32
    const char* remedy = kSqliteDriverForWindows;
#else
    const char* remedy = kSqliteDriverForLinux;
#endif
    error = "Cannot write the temporary database " + m_path +
            ": no SQLite ODBC driver is installed; install " + remedy;
    return false;
  }
  const std::string path = platform::PathForDrivers(m_path);
  if (path.empty()) {
    error = "Cannot write the temporary database " + m_path +
            ": its path has characters that the system's code page lacks";
    return false;
  }
  if (!SQL_SUCCEEDED(AllocateOdbc3Environment(m_environment))) {
    error = "Cannot write the temporary database " + m_path + ": ODBC is not available";
    return false;
  }
  if (!SQL_SUCCEEDED(m_connection.Allocate(m_environment.Get()))) {
    return Failed(SQL_HANDLE_ENV, m_environment.Get(), error);
  }
  std::string attributes = std::string("DRIVER={") + driver + "};Database=" + path + ";";
  // Text crosses in the drivers' code page, as with every other connection.
  if (!platform::DriversUseUtf8()) attributes += std::string(kSqliteCodePageKeyword) + "=1;";
  std::string text;
  platform::TextForDrivers(attributes, text);
  const SQLRETURN result =
      SQLDriverConnect(m_connection.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                       SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (SQL_SUCCEEDED(result)) return true;
  Failed(SQL_HANDLE_DBC, m_connection.Get(), error);
  m_connection.Reset();
  return false;
}

bool SqliteTableWriter::Open(const std::string& path, std::string& error) {
  Close();
  m_path = path;
  // The file is private and rebuilt from its source on any failure, so it
  // needs neither a journal nor durable writes.
  const bool open =
      Connect(error) && Execute("PRAGMA journal_mode=OFF", error) &&
      Execute("PRAGMA synchronous=OFF", error) && Execute("PRAGMA locking_mode=EXCLUSIVE", error) &&
      Execute("PRAGMA cache_size=-65536", error) &&
      (SQL_SUCCEEDED(SQLSetConnectAttr(m_connection.Get(), SQL_ATTR_AUTOCOMMIT,
                                       reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                       SQL_IS_UINTEGER)) ||
       Failed(SQL_HANDLE_DBC, m_connection.Get(), error));
  if (!open) Close();
  return open;
}

bool SqliteTableWriter::BeginTable(const std::string& table,
                                   const std::vector<ColumnDefinition>& columns,
                                   std::string& error) {
  if (!m_connection) {
    error = "Cannot write the temporary database " + m_path + ": not open";
    return false;
  }
  if (m_inTable) AbandonTable();
  m_table = table;
  m_inTable = true;
  std::string create = "CREATE TABLE " + QuoteIdentifier(table) + " (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) create += ", ";
    create += QuoteIdentifier(columns[i].name);
    create += ' ';
    create += DeclaredTypeName(columns[i].type);
  }
  create += ")";
  if (!Execute(create, error)) {
    AbandonTable();
    return false;
  }
  m_columns = columns.size();
  m_batchRows = std::clamp<std::size_t>(kMostParameters / std::max<std::size_t>(m_columns, 1), 1,
                                        kRowsPerBatch);
  m_pendingRows = 0;
  m_values.assign(m_batchRows * m_columns, Value{});
  if (!Prepare(m_insert, m_batchRows, error) || !Prepare(m_insertOne, 1, error)) {
    AbandonTable();
    return false;
  }
  return true;
}

// "INSERT INTO t VALUES (?, ?), (?, ?), ..." for `rows` rows.
bool SqliteTableWriter::Prepare(StatementHandle& statement, std::size_t rows, std::string& error) {
  std::string row = "(";
  for (std::size_t i = 0; i < m_columns; ++i) row += i > 0 ? ", ?" : "?";
  row += ")";
  std::string insert = "INSERT INTO " + QuoteIdentifier(m_table) + " VALUES ";
  insert.reserve(insert.size() + rows * (row.size() + 2));
  for (std::size_t i = 0; i < rows; ++i) {
    if (i > 0) insert += ", ";
    insert += row;
  }
  std::string text;
  platform::TextForDrivers(insert, text);
  if (!SQL_SUCCEEDED(statement.Allocate(m_connection.Get()))) {
    return Failed(SQL_HANDLE_DBC, m_connection.Get(), error);
  }
  if (!SQL_SUCCEEDED(
          SQLPrepare(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
    return Failed(SQL_HANDLE_STMT, statement.Get(), error);
  }
  return true;
}

SqliteTableWriter::Value& SqliteTableWriter::ValueAt(int column) {
  return m_values.at(m_pendingRows * m_columns + static_cast<std::size_t>(column));
}

void SqliteTableWriter::BindNull(int column) { ValueAt(column).indicator = SQL_NULL_DATA; }

void SqliteTableWriter::BindInteger(int column, std::int64_t value) {
  Value& v = ValueAt(column);
  v.cType = SQL_C_SBIGINT;
  v.sqlType = SQL_BIGINT;
  v.integer = value;
  v.indicator = 0;
}

void SqliteTableWriter::BindDouble(int column, double value) {
  Value& v = ValueAt(column);
  v.cType = SQL_C_DOUBLE;
  v.sqlType = SQL_DOUBLE;
  v.real = value;
  v.indicator = 0;
}

void SqliteTableWriter::BindText(int column, std::string_view text) {
  Value& v = ValueAt(column);
  v.cType = SQL_C_CHAR;
  v.sqlType = SQL_LONGVARCHAR;
  if (m_textToCodePage) {
    platform::TextForDrivers(text, v.bytes);
  } else {
    v.bytes.assign(text.data(), text.size());
  }
  v.indicator = static_cast<SQLLEN>(v.bytes.size());
}

void SqliteTableWriter::BindBlob(int column, const void* bytes, std::size_t size) {
  Value& v = ValueAt(column);
  v.cType = SQL_C_BINARY;
  v.sqlType = SQL_LONGVARBINARY;
  v.bytes.assign(static_cast<const char*>(bytes), size);
  v.indicator = static_cast<SQLLEN>(size);
}

bool SqliteTableWriter::BindParameter(const StatementHandle& statement, std::size_t number,
                                      Value& value, std::string& error) {
  SQLPOINTER data = value.cType == SQL_C_SBIGINT  ? static_cast<SQLPOINTER>(&value.integer)
                    : value.cType == SQL_C_DOUBLE ? static_cast<SQLPOINTER>(&value.real)
                                                  : static_cast<SQLPOINTER>(value.bytes.data());
  // Texts give their length through the indicator, row by row; the SQLite
  // driver takes a blob's length when it is bound, so a blob is bound anew.
  // The batch statement keeps its bindings; the one-row statement takes a
  // different row's values each time and is always bound.
  const bool batch = &statement == &m_insert;
  if (batch && value.cType == value.boundType && data == value.boundData &&
      value.cType != SQL_C_BINARY) {
    return true;
  }
  const SQLRETURN bound =
      SQLBindParameter(statement.Get(), static_cast<SQLUSMALLINT>(number), SQL_PARAM_INPUT,
                       value.cType, value.sqlType, kLongestValue, 0, data, 0, &value.indicator);
  if (!SQL_SUCCEEDED(bound)) return Failed(SQL_HANDLE_STMT, statement.Get(), error);
  value.boundType = batch ? value.cType : 0;
  value.boundData = batch ? data : nullptr;
  return true;
}

// Writes `rows` built rows from `firstRow` on with `statement`, which holds
// that many rows; their values start as NULL afterwards.
bool SqliteTableWriter::ExecuteRows(const StatementHandle& statement, std::size_t firstRow,
                                    std::size_t rows, std::string& error) {
  const std::size_t first = firstRow * m_columns;
  const std::size_t count = rows * m_columns;
  // The last parameter first: the driver grows its parameter array to the
  // highest number bound, once, instead of once for each parameter.
  for (std::size_t i = count; i-- > 0;) {
    if (!BindParameter(statement, i + 1, m_values[first + i], error)) return false;
  }
  const SQLRETURN result = SQLExecute(statement.Get());
  for (std::size_t i = 0; i < count; ++i) m_values[first + i].indicator = SQL_NULL_DATA;
  if (!SQL_SUCCEEDED(result)) return Failed(SQL_HANDLE_STMT, statement.Get(), error);
  return true;
}

bool SqliteTableWriter::InsertRow(std::string& error) {
  if (!m_inTable) {
    error = "Cannot write the temporary database " + m_path + ": no table begun";
    return false;
  }
  if (++m_pendingRows < m_batchRows) return true;
  m_pendingRows = 0;
  return ExecuteRows(m_insert, 0, m_batchRows, error);
}

bool SqliteTableWriter::EndTable(std::string& error) {
  bool written = true;
  for (std::size_t row = 0; written && row < m_pendingRows; ++row) {
    written = ExecuteRows(m_insertOne, row, 1, error);
  }
  if (!written) {
    AbandonTable();
    return false;
  }
  m_insert.Reset();
  m_insertOne.Reset();
  m_values.clear();
  m_pendingRows = 0;
  m_inTable = false;
  return true;
}

void SqliteTableWriter::AbandonTable() {
  m_insert.Reset();
  m_insertOne.Reset();
  m_values.clear();
  m_pendingRows = 0;
  // Without a journal there is no rollback; dropping the table removes it.
  if (m_inTable && m_connection) {
    std::string ignored;
    Execute("DROP TABLE IF EXISTS " + QuoteIdentifier(m_table), ignored);
  }
  m_inTable = false;
}

bool SqliteTableWriter::Commit(std::string& error) {
  if (m_inTable) AbandonTable();
  if (!m_connection) {
    error = "Cannot write the temporary database " + m_path + ": not open";
    return false;
  }
  const bool committed =
      SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_connection.Get(), SQL_COMMIT)) ||
      Failed(SQL_HANDLE_DBC, m_connection.Get(), error);
  if (committed) {
    // Disconnecting closes the file; a failure there is a failure to write.
    if (!SQL_SUCCEEDED(SQLDisconnect(m_connection.Get()))) {
      Failed(SQL_HANDLE_DBC, m_connection.Get(), error);
      Close();
      return false;
    }
  }
  Close();
  return committed;
}

}  // namespace tallowick
