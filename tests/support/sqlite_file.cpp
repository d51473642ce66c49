#include "tests/support/sqlite_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tallowick::testing {

void RunSqliteScript(const std::string& path, const std::string& script) {
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK) << path;
  char* error = nullptr;
  const int result = sqlite3_exec(database, script.c_str(), nullptr, nullptr, &error);
  const std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(database);
  ASSERT_EQ(result, SQLITE_OK) << message;
}

}  // namespace tallowick::testing
