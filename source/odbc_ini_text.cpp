#include "source/odbc_ini_text.h"

#include <algorithm>
#include <cctype>

#include "platform/text_compare.h"

namespace tallowick {

namespace {

struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;  // past the line break when there is one
  std::string content;  // without the line break (and without a trailing '\r')
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t newline = text.find('\n', begin);
    const std::size_t stop = newline == std::string::npos ? text.size() : newline;
    std::string content = text.substr(begin, stop - begin);
    if (!content.empty() && content.back() == '\r') content.pop_back();
    const std::size_t end = newline == std::string::npos ? text.size() : newline + 1;
    lines.push_back({begin, end, std::move(content)});
    begin = end;
  }
  return lines;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The name of a "[name]" line; false for any other line.
bool SectionName(const std::string& line, std::string& name) {
  const std::string trimmed = Trimmed(line);
  if (trimmed.size() < 2 || trimmed.front() != '[') return false;
  const std::size_t close = trimmed.find(']');
  if (close == std::string::npos) return false;
  name = Trimmed(trimmed.substr(1, close - 1));
  return true;
}

bool IsBlankOrComment(const std::string& line) {
  const std::string trimmed = Trimmed(line);
  return trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#';
}

}  // namespace

IniSection FindIniSection(const std::string& text, const std::string& name) {
  IniSection section;
  const std::vector<Line> lines = SplitLines(text);
  std::size_t index = 0;
  std::string found;
  for (; index < lines.size(); ++index) {
    if (SectionName(lines[index].content, found) && EqualsIgnoringCase(found, name)) break;
  }
  if (index == lines.size()) return section;
  section.found = true;
  section.begin = lines[index].begin;
  section.end = lines[index].end;
  for (std::size_t i = index + 1; i < lines.size(); ++i) {
    std::string next;
    if (SectionName(lines[i].content, next)) break;
    if (IsBlankOrComment(lines[i].content)) continue;
    section.end = lines[i].end;
    const std::size_t equals = lines[i].content.find('=');
    if (equals == std::string::npos) {
      section.entries.emplace_back(Trimmed(lines[i].content), std::string());
    } else {
      section.entries.emplace_back(Trimmed(lines[i].content.substr(0, equals)),
                                   Trimmed(lines[i].content.substr(equals + 1)));
    }
  }
  return section;
}

std::string IniSectionText(const std::string& name, const IniEntries& entries) {
  std::string text = "[" + name + "]\n";
  for (const auto& [key, value] : entries) text += key + "=" + value + "\n";
  return text;
}

std::string WithIniSection(const std::string& text, const std::string& name,
                           const IniEntries& entries) {
  std::string section = IniSectionText(name, entries);
  const IniSection existing = FindIniSection(text, name);
  if (existing.found) {
    // A section that ended the text without a line break keeps ending so.
    if (existing.end == text.size() && text.back() != '\n') section.pop_back();
    return text.substr(0, existing.begin) + section + text.substr(existing.end);
  }
  if (text.empty() || text.back() == '\n') return text + section;
  section.pop_back();
  return text + "\n" + section;
}

std::string WithoutIniSection(const std::string& text, const std::string& name) {
  const IniSection existing = FindIniSection(text, name);
  if (!existing.found) return text;
  std::size_t begin = existing.begin;
  if (existing.end == text.size() && text.back() != '\n' && begin > 0 && text[begin - 1] == '\n') {
    --begin;
  }
  return text.substr(0, begin) + text.substr(existing.end);
}

std::string IniValue(const IniEntries& entries, const std::string& key) {
  for (const auto& [name, value] : entries) {
    if (EqualsIgnoringCase(name, key)) return value;
  }
  return {};
}

}  // namespace tallowick
