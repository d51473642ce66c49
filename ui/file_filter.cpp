#include "ui/file_filter.h"

#include <cctype>

namespace tallowick {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (true) {
    const auto end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool Match(const char* name, const char* pattern) {
  // Iterative '*' matching with one back-tracking point.
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      starPattern = ++pattern;
      starName = name;
    } else if (*pattern == '?' || (*pattern != '\0' && Lower(*pattern) == Lower(*name))) {
      ++pattern;
      ++name;
    } else if (starPattern != nullptr) {
      pattern = starPattern;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter) {
  std::vector<FileFilterEntry> entries;
  const auto parts = Split(filter, '|');
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty()) break;  // the closing "||"
    FileFilterEntry entry;
    entry.description = parts[i];
    for (auto& pattern : Split(parts[i + 1], ';')) {
      if (!pattern.empty()) entry.patterns.push_back(pattern);
    }
    if (!entry.patterns.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

std::string CaseInsensitivePattern(const std::string& pattern) {
  std::string result;
  for (char c : pattern) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u) != 0 && u < 0x80) {
      result += '[';
      result += static_cast<char>(std::tolower(u));
      result += static_cast<char>(std::toupper(u));
      result += ']';
    } else {
      result += c;
    }
  }
  return result;
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  return Match(name.c_str(), pattern.c_str());
}

}  // namespace tallowick
