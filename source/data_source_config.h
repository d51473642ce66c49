#pragma once
// Adding and removing a user data source through the ODBC installer.
#include <string>
#include <utility>
#include <vector>

namespace tallowick {

inline constexpr const char* kTemporaryDataSourceName = "TempPTallowickDSN";

using DataSourceAttributes = std::vector<std::pair<std::string, std::string>>;

// False for a value that cannot be written safely into an odbc.ini entry or
// a connection string: it holds ; = [ ] { } or a line break, or is empty.
bool IsSafeIniValue(const std::string& value);

// "The path ... cannot be used as a data source: ..." for a refused path.
std::string UnsafePathMessage(const std::string& path);

// The attribute text as one line, "DSN=name;key=value;...", for messages
// and logs.
std::string AttributeText(const std::string& name, const DataSourceAttributes& attributes);

// Adds the user data source `name` for `driver` with the attributes. Tries
// SQLConfigDataSource first (the driver's own setup routine), then writes
// the entry with the installer's profile calls. False when neither wrote it
// or when a value is not safe (then nothing is written).
bool AddUserDataSource(const std::string& name, const std::string& driver,
                       const DataSourceAttributes& attributes);

// Removes the user data source `name` (SQLConfigDataSource, then
// SQLRemoveDSNFromIni). True when one of them reports success.
//
// Nothing here reads an entry back: unixODBC answers reads of odbc.ini from
// a cache that outlives these changes by up to 20 seconds.
bool RemoveUserDataSource(const std::string& name, const std::string& driver);

}  // namespace tallowick
