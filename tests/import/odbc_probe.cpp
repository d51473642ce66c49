#include "tests/import/odbc_probe.h"

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstdlib>

namespace tallowick::import_test {
namespace {

SQLHDBC Dbc(void* handle) { return static_cast<SQLHDBC>(handle); }

std::string Diagnostic(SQLSMALLINT type, SQLHANDLE handle) {
  SQLCHAR state[6] = {0}, message[512] = {0};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
  return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
}

bool Ok(SQLRETURN result) { return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO; }

// A statement freed when it goes out of scope.
class Statement {
 public:
  explicit Statement(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_handle); }
  ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_handle); }
  SQLHSTMT Get() const { return m_handle; }
  bool Run(const std::string& sql) {
    SQLRETURN result = SQLExecDirect(
        m_handle, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
    if (!Ok(result)) ADD_FAILURE() << sql << ": " << Diagnostic(SQL_HANDLE_STMT, m_handle);
    return Ok(result);
  }
  std::string Text(SQLUSMALLINT column, bool& isNull) {
    char buffer[70000];
    SQLLEN indicator = 0;
    SQLGetData(m_handle, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    isNull = indicator == SQL_NULL_DATA;
    return isNull ? std::string() : std::string(buffer);
  }

 private:
  SQLHSTMT m_handle = nullptr;
};

}  // namespace

OdbcProbe::OdbcProbe(const std::string& databasePath) {
  CopyFile("/etc/odbcinst.ini", m_config.File("odbcinst.ini"));
  WriteFile(m_config.File("odbc.ini"),
            "[TempPTallowickDSN]\nDriver=SQLite3\nDatabase=" + databasePath + "\n");
  m_environment.Set("ODBCSYSINI", m_config.Path());
  m_environment.Set("ODBCINI", m_config.File("odbc.ini"));
  SQLHENV env = nullptr;
  SQLHDBC dbc = nullptr;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                SQL_IS_INTEGER);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  m_env = env;
  SQLRETURN result =
      SQLConnect(dbc, reinterpret_cast<SQLCHAR*>(const_cast<char*>("TempPTallowickDSN")), SQL_NTS,
                 nullptr, 0, nullptr, 0);
  if (!Ok(result)) {
    ADD_FAILURE() << "cannot connect: " << Diagnostic(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    return;
  }
  m_dbc = dbc;
}

OdbcProbe::~OdbcProbe() {
  if (m_dbc != nullptr) {
    SQLDisconnect(Dbc(m_dbc));
    SQLFreeHandle(SQL_HANDLE_DBC, Dbc(m_dbc));
  }
  if (m_env != nullptr) SQLFreeHandle(SQL_HANDLE_ENV, static_cast<SQLHENV>(m_env));
}

std::vector<std::string> OdbcProbe::Tables(const std::string& types) {
  std::vector<std::string> names;
  if (!Connected()) return names;
  Statement statement(Dbc(m_dbc));
  SQLTables(statement.Get(), nullptr, 0, nullptr, 0, nullptr, 0,
            reinterpret_cast<SQLCHAR*>(const_cast<char*>(types.c_str())), SQL_NTS);
  while (Ok(SQLFetch(statement.Get()))) {
    bool isNull = false;
    names.push_back(statement.Text(3, isNull));
  }
  return names;
}

std::vector<DescribedColumn> OdbcProbe::Describe(const std::string& sql) {
  std::vector<DescribedColumn> columns;
  if (!Connected()) return columns;
  Statement statement(Dbc(m_dbc));
  if (!statement.Run(sql)) return columns;
  SQLSMALLINT count = 0;
  SQLNumResultCols(statement.Get(), &count);
  for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
    SQLCHAR name[256] = {0};
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLDescribeCol(statement.Get(), i, name, sizeof name, &nameLength, &type, &size, &digits,
                   &nullable);
    columns.push_back({reinterpret_cast<char*>(name), type});
  }
  return columns;
}

std::vector<DescribedColumn> OdbcProbe::CatalogColumns(const std::string& table) {
  std::vector<DescribedColumn> columns;
  if (!Connected()) return columns;
  Statement statement(Dbc(m_dbc));
  SQLColumns(statement.Get(), nullptr, 0, nullptr, 0,
             reinterpret_cast<SQLCHAR*>(const_cast<char*>(table.c_str())), SQL_NTS, nullptr, 0);
  while (Ok(SQLFetch(statement.Get()))) {
    bool isNull = false;
    DescribedColumn column;
    column.name = statement.Text(4, isNull);
    SQLSMALLINT type = 0;
    SQLLEN indicator = 0;
    SQLGetData(statement.Get(), 5, SQL_C_SSHORT, &type, 0, &indicator);
    column.sqlType = type;
    columns.push_back(column);
  }
  return columns;
}

std::vector<Row> OdbcProbe::FetchText(const std::string& sql) {
  std::vector<Row> rows;
  if (!Connected()) return rows;
  Statement statement(Dbc(m_dbc));
  if (!statement.Run(sql)) return rows;
  SQLSMALLINT count = 0;
  SQLNumResultCols(statement.Get(), &count);
  while (Ok(SQLFetch(statement.Get()))) {
    Row row;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
      bool isNull = false;
      std::string text = statement.Text(i, isNull);
      row.push_back(isNull ? std::nullopt : std::optional<std::string>(text));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string OdbcProbe::FetchBound(const std::string& sql, int column, std::int16_t cType) {
  if (!Connected()) return "not connected";
  Statement statement(Dbc(m_dbc));
  if (!statement.Run(sql)) return "query failed";
  union {
    SQL_DATE_STRUCT date;
    SQL_TIMESTAMP_STRUCT timestamp;
    double number;
    SQLINTEGER integer;
    unsigned char bit;
    char text[70000];
  } value{};
  SQLLEN indicator = 0;
  SQLBindCol(statement.Get(), static_cast<SQLUSMALLINT>(column), cType, &value, sizeof value,
             &indicator);
  SQLRETURN result = SQLFetch(statement.Get());
  if (!Ok(result)) return "fetch failed: " + Diagnostic(SQL_HANDLE_STMT, statement.Get());
  if (indicator == SQL_NULL_DATA) return "NULL";
  char out[128];
  switch (cType) {
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE:
      std::snprintf(out, sizeof out, "%04d-%02d-%02d", value.date.year, value.date.month,
                    value.date.day);
      return out;
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP:
      std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%09u", value.timestamp.year,
                    value.timestamp.month, value.timestamp.day, value.timestamp.hour,
                    value.timestamp.minute, value.timestamp.second,
                    static_cast<unsigned>(value.timestamp.fraction));
      return out;
    case SQL_C_DOUBLE:
      std::snprintf(out, sizeof out, "%.17g", value.number);
      return out;
    case SQL_C_LONG:
      std::snprintf(out, sizeof out, "%d", static_cast<int>(value.integer));
      return out;
    case SQL_C_BIT:
      std::snprintf(out, sizeof out, "%u", value.bit);
      return out;
    default:
      return std::string(value.text);
  }
}

}  // namespace tallowick::import_test
