#include "source/data_source_config.h"

#include <algorithm>

#include "source/odbc_ini_text.h"

namespace tallowick {

bool IsSafeIniValue(const std::string& value) {
  if (value.empty()) return false;
  return value.find_first_of(";=[]{}\r\n") == std::string::npos;
}

bool IsSafeEntry(const std::string& name, const std::string& driver,
                 const DataSourceAttributes& attributes) {
  if (!IsSafeIniValue(name) || !IsSafeIniValue(driver)) return false;
  for (const auto& [key, value] : attributes) {
    if (!IsSafeIniValue(key) || !IsSafeIniValue(value)) return false;
  }
  return true;
}

std::string UnsafePathMessage(const std::string& path) {
  return "The path \"" + path +
         "\" cannot be used as a data source: it contains one of the characters "
         "; = [ ] { } or a line break";
}

std::string UnspellablePathMessage(const std::string& path) {
  return "The path \"" + path +
         "\" cannot be given to the ODBC driver: it has characters that the system's code page "
         "lacks";
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

}  // namespace tallowick
