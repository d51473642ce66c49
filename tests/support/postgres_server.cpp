#include "tests/support/postgres_server.h"

#include <cstdlib>
#include <string>

#include "tests/support/private_odbc.h"

namespace tallowick::testing {

int PostgresPort() {
#ifdef TALLOWICK_PG_PORT
  return TALLOWICK_PG_PORT;
#else
  const char* port = std::getenv("TALLOWICK_PG_PORT");
  return port != nullptr ? std::atoi(port) : 5432;
#endif
}

void AddPostgresDataSource(const std::string& name, bool withPassword) {
  std::vector<std::pair<std::string, std::string>> attributes = {
      {"Servername", "127.0.0.1"},
      {"Port", std::to_string(PostgresPort())},
      {"Database", kPostgresDatabase},
      {"Username", kPostgresUser},
  };
  if (withPassword) attributes.emplace_back("Password", kPostgresPassword);
  PrivateOdbc::Get().AddUserDataSource(name, "PostgreSQL Unicode", attributes);
}

}  // namespace tallowick::testing
