// The temporary data source on Windows: added and removed by the driver's
// setup routine (SQLConfigDataSource), or, for a driver without one (as
// under Wine), through the installer's own calls, and what the installer
// fails to remove (under Wine) from the registry. Connections never depend on
// it: they name the driver and the file themselves.
#include "odbc/odbc_installer_api.h"
#include "platform/driver_text.h"
#include "platform/wide_text.h"
#include "source/data_source_config.h"

namespace tallowick {

namespace {

// The setup routine's attribute list: "DSN=name\0key=value\0...\0\0".
std::string InstallerAttributeList(const std::string& name,
                                   const DataSourceAttributes& attributes) {
  std::string list = "DSN=" + name;
  list.push_back('\0');
  for (const auto& [key, value] : attributes) {
    list += key + "=" + value;
    list.push_back('\0');
  }
  list.push_back('\0');
  return list;
}

bool WriteEntry(const std::string& name, const std::string& driver,
                const DataSourceAttributes& attributes) {
  if (!SQLWriteDSNToIni(name.c_str(), driver.c_str())) return false;
  for (const auto& [key, value] : attributes) {
    if (!SQLWritePrivateProfileString(name.c_str(), key.c_str(), value.c_str(), "odbc.ini")) {
      SQLRemoveDSNFromIni(name.c_str());
      return false;
    }
  }
  return true;
}

// The values in the code page of the ANSI functions; false when one has a
// character that the page lacks (the entry is then not written: a path
// with '?' in it would name another file).
bool ForInstaller(const DataSourceAttributes& attributes, DataSourceAttributes& converted) {
  for (const auto& [key, value] : attributes) {
    std::string text;
    if (!platform::TextForDrivers(value, text)) return false;
    converted.emplace_back(key, std::move(text));
  }
  return true;
}

// The user data source as Windows keeps it in the registry: a key of its
// own and a value in "ODBC Data Sources". For an installer that leaves
// them behind (Wine's). True when the key is gone, or was never there.
bool RemoveRegistryEntry(const std::string& name) {
  const std::wstring wideName = platform::Widen(name);
  HKEY sources = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ODBC\\ODBC.INI\\ODBC Data Sources", 0,
                      KEY_SET_VALUE, &sources) == ERROR_SUCCESS) {
    ::RegDeleteValueW(sources, wideName.c_str());
    ::RegCloseKey(sources);
  }
  const std::wstring key = L"Software\\ODBC\\ODBC.INI\\" + wideName;
  const LSTATUS deleted = ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool AddUserDataSource(const std::string& name, const std::string& driver,
                       const DataSourceAttributes& utf8Attributes) {
  DataSourceAttributes attributes;
  if (!IsSafeEntry(name, driver, utf8Attributes) || !ForInstaller(utf8Attributes, attributes)) {
    return false;
  }
  const std::string list = InstallerAttributeList(name, attributes);
  if (SQLConfigDataSource(nullptr, ODBC_ADD_DSN, driver.c_str(), list.c_str())) return true;
  SQLSetConfigMode(ODBC_USER_DSN);
  const bool written = WriteEntry(name, driver, attributes);
  SQLSetConfigMode(ODBC_BOTH_DSN);
  return written;
}

bool RemoveUserDataSource(const std::string& name, const std::string& driver, bool) {
  const std::string list = InstallerAttributeList(name, {});
  if (SQLConfigDataSource(nullptr, ODBC_REMOVE_DSN, driver.c_str(), list.c_str())) return true;
  SQLSetConfigMode(ODBC_USER_DSN);
  SQLRemoveDSNFromIni(name.c_str());
  SQLSetConfigMode(ODBC_BOTH_DSN);
  // Wine's installer reports the removal done and leaves the key.
  return RemoveRegistryEntry(name);
}

}  // namespace tallowick
