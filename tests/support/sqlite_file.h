#pragma once
// Making SQLite databases for tests with the SQLite library itself.
#include <string>

namespace tallowick::testing {

// Runs `script` on the database file `path` (created when missing); fails
// the current test with SQLite's message when the script fails.
void RunSqliteScript(const std::string& path, const std::string& script);

}  // namespace tallowick::testing
