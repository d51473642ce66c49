#include "source/data_source_config.h"

#include <sql.h>
#include <sqlext.h>
#include <odbcinst.h>


namespace tallowick {

namespace {

// The installer's attribute list: "key=value\0key=value\0\0".
std::string InstallerAttributeList(const std::string& name, const DataSourceAttributes& attributes) {
  std::string list = "DSN=" + name;
  list.push_back('\0');
  for (const auto& [key, value] : attributes) {
    list += key + "=" + value;
    list.push_back('\0');
  }
  list.push_back('\0');
  return list;
}

// Runs `action` with the installer set to the user's data sources, then
// restores the mode for both.
template <typename Action>
bool InUserMode(Action action) {
  SQLSetConfigMode(ODBC_USER_DSN);
  const bool result = action();
  SQLSetConfigMode(ODBC_BOTH_DSN);
  return result;
}

}  // namespace

bool IsSafeIniValue(const std::string& value) {
  if (value.empty()) return false;
  return value.find_first_of(";=[]{}\r\n") == std::string::npos;
}

std::string UnsafePathMessage(const std::string& path) {
  return "The path \"" + path +
         "\" cannot be used as a data source: it contains one of the characters "
         "; = [ ] { } or a line break";
}

std::string AttributeText(const std::string& name, const DataSourceAttributes& attributes) {
  std::string text = "DSN=" + name;
  for (const auto& [key, value] : attributes) text += ";" + key + "=" + value;
  return text;
}

bool AddUserDataSource(const std::string& name, const std::string& driver,
                       const DataSourceAttributes& attributes) {
  if (!IsSafeIniValue(name) || !IsSafeIniValue(driver)) return false;
  for (const auto& [key, value] : attributes) {
    if (!IsSafeIniValue(key) || !IsSafeIniValue(value)) return false;
  }
  const std::string list = InstallerAttributeList(name, attributes);
  if (SQLConfigDataSource(nullptr, ODBC_ADD_DSN, driver.c_str(), list.c_str())) return true;
  // No setup routine in the driver (every Debian driver): write the entry.
  return InUserMode([&] {
    if (!SQLWriteDSNToIni(name.c_str(), driver.c_str())) return false;
    for (const auto& [key, value] : attributes) {
      if (!SQLWritePrivateProfileString(name.c_str(), key.c_str(), value.c_str(), "odbc.ini")) {
        SQLRemoveDSNFromIni(name.c_str());
        return false;
      }
    }
    return true;
  });
}

bool RemoveUserDataSource(const std::string& name, const std::string& driver) {
  const std::string list = InstallerAttributeList(name, {});
  if (SQLConfigDataSource(nullptr, ODBC_REMOVE_DSN, driver.c_str(), list.c_str())) return true;
  return InUserMode([&] { return SQLRemoveDSNFromIni(name.c_str()) != 0; });
}

}  // namespace tallowick
