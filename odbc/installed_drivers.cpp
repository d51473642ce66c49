#include "odbc/installed_drivers.h"

#include <algorithm>

#include "odbc/odbc_handle.h"
#include "platform/driver_text.h"
#include "platform/text_compare.h"

namespace tallowick {

std::vector<std::string> InstalledDriverNames() {
  std::vector<std::string> names;
  EnvironmentHandle environment;
  if (!SQL_SUCCEEDED(AllocateOdbc3Environment(environment))) return names;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    // Driver names are short; a longer description is cut (with info).
    SQLCHAR description[256] = {};
    SQLCHAR attributes[1024] = {};
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    const SQLRETURN result =
        SQLDrivers(environment.Get(), direction, description, sizeof description,
                   &descriptionLength, attributes, sizeof attributes, &attributesLength);
    if (!SQL_SUCCEEDED(result)) break;
    names.push_back(platform::TextFromDrivers(reinterpret_cast<const char*>(description)));
    direction = SQL_FETCH_NEXT;
  }
  return names;
}

const char* FirstInstalled(std::span<const char* const> candidates,
                           const std::vector<std::string>& installed) {
  for (const char* candidate : candidates) {
    if (std::any_of(installed.begin(), installed.end(),
                    [&](const std::string& name) { return EqualsIgnoringCase(name, candidate); })) {
      return candidate;
    }
  }
  return nullptr;
}

}  // namespace tallowick
