#pragma once
// The filter text of an open-file dialog ("desc|*.mdb|desc|*.xls||") taken
// apart, and patterns that match file names in either letter case.
#include <string>
#include <vector>

namespace tallowick {

struct FileFilterEntry {
  std::string description;
  std::vector<std::string> patterns;  // "*.mdb"; several separated by ';' in the text
};

// The entries of a filter text; an empty or malformed tail is ignored.
std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter);

// "*.mdb" -> "*.[mM][dD][bB]": the same pattern for a matcher that compares
// letters exactly (GTK's file chooser).
std::string CaseInsensitivePattern(const std::string& pattern);

// Whether a file name matches a pattern of '*' and '?', letters compared
// without regard to case.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace tallowick
