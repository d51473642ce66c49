#pragma once
// Adding and removing a user data source: the temporary data source of a
// file source, which several runs may hold at the same time.
#include <string>
#include <utility>
#include <vector>

namespace tallowick {

inline constexpr const char* kTemporaryDataSourceName = "TempPTallowickDSN";
// The key of an entry of ours that lists the processes holding it, one
// process id per hold, separated by commas.
inline constexpr const char* kHoldersKey = "TallowickHolders";

using DataSourceAttributes = std::vector<std::pair<std::string, std::string>>;

// False for a value that cannot be written safely into an odbc.ini entry or
// a connection string: it holds ; = [ ] { } or a line break, or is empty.
bool IsSafeIniValue(const std::string& value);

// True when the name, the driver and every key and value are safe.
bool IsSafeEntry(const std::string& name, const std::string& driver,
                 const DataSourceAttributes& attributes);

// "The path ... cannot be used as a data source: ..." for a refused path.
std::string UnsafePathMessage(const std::string& path);
// For a path that the drivers' code page cannot spell, even by its short
// name (platform::PathForDrivers).
std::string UnspellablePathMessage(const std::string& path);

// The attribute text as one line, "DSN=name;key=value;...", for messages
// and logs.
std::string AttributeText(const std::string& name, const DataSourceAttributes& attributes);

// Adds one hold of this process on the user data source `name` for `driver`
// with the attributes: the entry is written (or rewritten in place) with
// them and with this process added to its holders. Holders that no longer
// run are dropped on the way, and an entry of that name without holders
// counts as left over. Only that entry of the user's odbc.ini changes, under
// a lock that other runs respect. False when a value is not safe (then
// nothing is written) or the file could not be changed.
//
// On Windows the driver's setup routine (SQLConfigDataSource) adds it, or,
// for a driver without one, the installer's calls; there are no holders.
bool AddUserDataSource(const std::string& name, const std::string& driver,
                       const DataSourceAttributes& attributes);

// Drops one hold of this process (and those of processes that no longer
// run) on `name`; the entry goes when no holder is left. True when the file
// is as it should be afterwards. `fromCleanup`: called by a clean-up action
// while the process ends, when no further action can be registered.
//
// Nothing here reads an entry back through the driver manager: unixODBC
// answers reads of odbc.ini from a cache that outlives these changes by up
// to 20 seconds.
bool RemoveUserDataSource(const std::string& name, const std::string& driver,
                          bool fromCleanup = false);

// The holders listed in a holders value, in their order ("12,7,12").
std::vector<long> ParseHolders(const std::string& value);
std::string HoldersText(const std::vector<long>& holders);

}  // namespace tallowick
