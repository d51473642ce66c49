#include "source/data_source_list.h"

#include "odbc/odbc_handle.h"
#include "platform/driver_text.h"

namespace tallowick {

namespace {

void Enumerate(SQLHENV environment, SQLUSMALLINT firstDirection, std::vector<std::string>& names) {
  SQLUSMALLINT direction = firstDirection;
  for (;;) {
    SQLCHAR name[255] = {};
    SQLCHAR description[255] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    const SQLRETURN result = SQLDataSources(environment, direction, name, sizeof name, &nameLength,
                                            description, sizeof description, &descriptionLength);
    if (result != SQL_SUCCESS) return;
    names.push_back(platform::TextFromDrivers(reinterpret_cast<const char*>(name)));
    direction = SQL_FETCH_NEXT;
  }
}

}  // namespace

std::vector<std::string> ListDataSourceNames() {
  std::vector<std::string> names;
  EnvironmentHandle environment;
  if (!SQL_SUCCEEDED(AllocateOdbc3Environment(environment))) return names;
  Enumerate(environment.Get(), SQL_FETCH_FIRST_USER, names);
  Enumerate(environment.Get(), SQL_FETCH_FIRST_SYSTEM, names);
  return names;
}

}  // namespace tallowick
