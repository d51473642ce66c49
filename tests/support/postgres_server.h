#pragma once
// The private PostgreSQL server that CTest starts for the tests labelled
// `postgres` (tests/support/pg_server.sh, which also loads their tables),
// and data sources that reach it.
#include <string>

namespace tallowick::testing {

inline constexpr const char* kPostgresUser = "tallowick";
inline constexpr const char* kPostgresPassword = "tallowick-pw";
inline constexpr const char* kPostgresDatabase = "tallowick";

int PostgresPort();

// Adds a user data source for the server with the "PostgreSQL Unicode"
// driver and the user name; the password only when `withPassword`.
void AddPostgresDataSource(const std::string& name, bool withPassword);

}  // namespace tallowick::testing
