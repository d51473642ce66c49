// The temporary data source on Linux: an entry of the user's odbc.ini,
// written by us under a lock, with the processes that hold it.
#include <algorithm>

#include "platform/file_system.h"
#include "source/data_source_config.h"
#include "source/odbc_ini_file.h"
#include "source/odbc_ini_text.h"

namespace tallowick {

namespace {

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

bool AddUserDataSource(const std::string& name, const std::string& driver,
                       const DataSourceAttributes& attributes) {
  if (!IsSafeEntry(name, driver, attributes)) return false;
  std::string error;
  return EditOdbcIni(
      UserOdbcIniPath(),
      [&](std::string& text) {
        std::vector<long> holders = LiveHolders(FindIniSection(text, name));
        holders.push_back(static_cast<long>(platform::ProcessId()));
        text = WithIniSection(text, name, EntryLines(driver, attributes, holders));
      },
      error);
}

bool RemoveUserDataSource(const std::string& name, const std::string& driver, bool fromCleanup) {
  (void)driver;  // the entry names its driver itself
  std::string error;
  return EditOdbcIni(
      UserOdbcIniPath(),
      [&](std::string& text) {
        const IniSection section = FindIniSection(text, name);
        if (!section.found) return;
        std::vector<long> holders = LiveHolders(section);
        const auto own =
            std::find(holders.begin(), holders.end(), static_cast<long>(platform::ProcessId()));
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
}

}  // namespace tallowick
