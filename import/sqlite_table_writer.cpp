#include "import/sqlite_table_writer.h"

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

}  // namespace

SqliteTableWriter::~SqliteTableWriter() { Close(); }

void SqliteTableWriter::Close() {
  m_insert.Reset();
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
  if (!Execute(create, error)) {
    AbandonTable();
    return false;
  }
  m_values.assign(columns.size(), Value{});
  std::string text;
  platform::TextForDrivers(insert, text);
  if (!SQL_SUCCEEDED(m_insert.Allocate(m_connection.Get())) ||
      !SQL_SUCCEEDED(
          SQLPrepare(m_insert.Get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
    Failed(m_insert ? SQL_HANDLE_STMT : SQL_HANDLE_DBC,
           m_insert ? m_insert.Get() : m_connection.Get(), error);
    AbandonTable();
    return false;
  }
  return true;
}

SqliteTableWriter::Value& SqliteTableWriter::ValueAt(int column) {
  return m_values.at(static_cast<std::size_t>(column));
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

bool SqliteTableWriter::BindParameter(std::size_t index, Value& value, std::string& error) {
  SQLPOINTER data = value.cType == SQL_C_SBIGINT  ? static_cast<SQLPOINTER>(&value.integer)
                    : value.cType == SQL_C_DOUBLE ? static_cast<SQLPOINTER>(&value.real)
                                                  : static_cast<SQLPOINTER>(value.bytes.data());
  // Texts give their length through the indicator, row by row; the SQLite
  // driver takes a blob's length when it is bound, so a blob is bound anew.
  if (value.cType == value.boundType && data == value.boundData && value.cType != SQL_C_BINARY) {
    return true;
  }
  const SQLRETURN bound =
      SQLBindParameter(m_insert.Get(), static_cast<SQLUSMALLINT>(index + 1), SQL_PARAM_INPUT,
                       value.cType, value.sqlType, kLongestValue, 0, data, 0, &value.indicator);
  if (!SQL_SUCCEEDED(bound)) return Failed(SQL_HANDLE_STMT, m_insert.Get(), error);
  value.boundType = value.cType;
  value.boundData = data;
  return true;
}

bool SqliteTableWriter::InsertRow(std::string& error) {
  for (std::size_t i = 0; i < m_values.size(); ++i) {
    if (!BindParameter(i, m_values[i], error)) return false;
  }
  const SQLRETURN result = SQLExecute(m_insert.Get());
  // Every value of the next row starts as NULL.
  for (Value& v : m_values) v.indicator = SQL_NULL_DATA;
  if (!SQL_SUCCEEDED(result)) return Failed(SQL_HANDLE_STMT, m_insert.Get(), error);
  return true;
}

void SqliteTableWriter::EndTable() {
  m_insert.Reset();
  m_values.clear();
  m_inTable = false;
}

void SqliteTableWriter::AbandonTable() {
  m_insert.Reset();
  m_values.clear();
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
