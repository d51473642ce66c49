#include "source/data_source_config.h"

#include <unistd.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/stale_files.h"
#include "source/odbc_ini_file.h"
#include "source/odbc_ini_text.h"
#include "odbc/odbc_installer_api.h"

namespace tallowick {

namespace {

#ifdef _WIN32
// The installer's attribute list: "key=value\0key=value\0\0".
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
#endif

// The holders of an existing entry that still run.
std::vector<long> LiveHolders(const IniSection& section) {
  std::vector<long> holders = ParseHolders(IniValue(section.entries, kHoldersKey));
  std::erase_if(holders, [](long pid) { return !platform::ProcessIsAlive(pid); });
  return holders;
}

IniEntries EntryLines(const std::string& driver, const DataSourceAttributes& attributes,
                      const std::vector<long>& holders) {
  IniEntries entries = {{"Driver", driver}};
  entries.insert(entries.end(), attributes.begin(), attributes.end());
  entries.emplace_back(kHoldersKey, HoldersText(holders));
  return entries;
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

std::vector<long> ParseHolders(const std::string& value) {
  std::vector<long> holders;
  std::size_t start = 0;
  while (start < value.size()) {
    std::size_t comma = value.find(',', start);
    if (comma == std::string::npos) comma = value.size();
    const std::string part = value.substr(start, comma - start);
    if (!part.empty() && part.size() <= 10 &&
        std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      const long pid = std::stol(part);
      if (pid > 0) holders.push_back(pid);
    }
    start = comma + 1;
  }
  return holders;
}

std::string HoldersText(const std::vector<long>& holders) {
  std::string text;
  for (long pid : holders) {
    if (!text.empty()) text.push_back(',');
    text.append(std::to_string(pid));
  }
  return text;
}

bool AddUserDataSource(const std::string& name, const std::string& driver,
                       const DataSourceAttributes& attributes) {
  if (!IsSafeIniValue(name) || !IsSafeIniValue(driver)) return false;
  for (const auto& [key, value] : attributes) {
    if (!IsSafeIniValue(key) || !IsSafeIniValue(value)) return false;
  }
#ifdef _WIN32
  const std::string list = InstallerAttributeList(name, attributes);
  return SQLConfigDataSource(nullptr, ODBC_ADD_DSN, driver.c_str(), list.c_str()) != FALSE;
#else
  std::string error;
  return EditOdbcIni(
      UserOdbcIniPath(),
      [&](std::string& text) {
        std::vector<long> holders = LiveHolders(FindIniSection(text, name));
        holders.push_back(static_cast<long>(::getpid()));
        text = WithIniSection(text, name, EntryLines(driver, attributes, holders));
      },
      error);
#endif
}

bool RemoveUserDataSource(const std::string& name, const std::string& driver, bool fromCleanup) {
#ifdef _WIN32
  (void)fromCleanup;
  const std::string list = InstallerAttributeList(name, {});
  return SQLConfigDataSource(nullptr, ODBC_REMOVE_DSN, driver.c_str(), list.c_str()) != FALSE;
#else
  (void)driver;  // the entry names its driver itself
  std::string error;
  return EditOdbcIni(
      UserOdbcIniPath(),
      [&](std::string& text) {
        const IniSection section = FindIniSection(text, name);
        if (!section.found) return;
        std::vector<long> holders = LiveHolders(section);
        const auto own = std::find(holders.begin(), holders.end(), static_cast<long>(::getpid()));
        if (own != holders.end()) holders.erase(own);
        if (holders.empty()) {
          text = WithoutIniSection(text, name);
          return;
        }
        IniEntries entries = section.entries;
        std::erase_if(entries, [](const auto& entry) { return entry.first == kHoldersKey; });
        entries.emplace_back(kHoldersKey, HoldersText(holders));
        text = WithIniSection(text, name, entries);
      },
      error, fromCleanup);
#endif
}

}  // namespace tallowick
