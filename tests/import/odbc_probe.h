#pragma once
// Reads a converted database through the real SQLite3 ODBC driver, under a
// private ODBC configuration (never the user's own ~/.odbc.ini): the data
// source "TempPTallowickDSN" points at the database file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/import/import_test_support.h"
#include "tests/support/saved_environment.h"

namespace tallowick::import_test {

struct DescribedColumn {
  std::string name;
  std::int16_t sqlType = 0;
};

class OdbcProbe {
 public:
  // Writes odbcinst.ini (a copy of the system's) and odbc.ini into a scratch
  // folder, points ODBCSYSINI and ODBCINI at them, and connects.
  explicit OdbcProbe(const std::string& databasePath);
  ~OdbcProbe();
  OdbcProbe(const OdbcProbe&) = delete;
  OdbcProbe& operator=(const OdbcProbe&) = delete;

  bool Connected() const { return m_dbc != nullptr; }
  // TABLE_NAME of each row SQLTables gives for the table types `types`.
  std::vector<std::string> Tables(const std::string& types);
  // SQL type of each result column of `sql`, as SQLDescribeCol reports it.
  std::vector<DescribedColumn> Describe(const std::string& sql);
  // DATA_TYPE of each column of `table`, as SQLColumns reports it.
  std::vector<DescribedColumn> CatalogColumns(const std::string& table);
  // Every row of `sql`, each value fetched as SQL_C_CHAR (NULL as nullopt).
  std::vector<Row> FetchText(const std::string& sql);
  // The first row of `sql`, its column `column` fetched with the C type the
  // generation run binds for its SQL type: text form of what arrived.
  std::string FetchBound(const std::string& sql, int column, std::int16_t cType);

 private:
  ScratchFolder m_config;
  testing::SavedEnvironment m_environment;
  void* m_env = nullptr;
  void* m_dbc = nullptr;
};

}  // namespace tallowick::import_test
