#pragma once
// The ODBC drivers installed on this machine, by the names the driver
// manager lists them under (SQLDrivers), and the choice of the first
// installed one of a list of names.
#include <span>
#include <string>
#include <vector>

namespace tallowick {

// Every installed driver's name, in the driver manager's order; empty when
// ODBC itself is not available.
std::vector<std::string> InstalledDriverNames();

// The first of `candidates` that `installed` names (letter case ignored, as
// Windows ignores it in driver names); null when none is installed.
const char* FirstInstalled(std::span<const char* const> candidates,
                           const std::vector<std::string>& installed);

}  // namespace tallowick
