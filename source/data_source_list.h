#pragma once
// The configured data sources the user can pick from.
#include <string>
#include <vector>

namespace tallowick {

// The names of the user data sources, then those of the system data
// sources, each in the driver manager's order. Each enumeration stops at
// the first result other than SQL_SUCCESS (a warning ends it too). A name
// configured both ways appears twice. Uses an environment of its own, freed
// before returning.
std::vector<std::string> ListDataSourceNames();

}  // namespace tallowick
