#pragma once
// Editing one section of an odbc.ini text and leaving every other byte as
// it was: other sections, their order, comments, blank lines and a missing
// final line break.
//
// A section runs from its "[name]" line to the line before the next section
// line; blank lines and comment lines (';' or '#') at its end belong to what
// follows, not to it.
#include <string>
#include <utility>
#include <vector>

namespace tallowick {

using IniEntries = std::vector<std::pair<std::string, std::string>>;

struct IniSection {
  bool found = false;
  std::size_t begin = 0;  // offset of the "[name]" line
  std::size_t end = 0;    // offset just past its last key line (past its line break, if any)
  IniEntries entries;     // its "key=value" lines, blanks around both trimmed
};

// The first section named `name` (letter case ignored, as unixODBC reads it).
IniSection FindIniSection(const std::string& text, const std::string& name);

// The "[name]" line and one "key=value" line per entry.
std::string IniSectionText(const std::string& name, const IniEntries& entries);

// `text` with the section `name` replaced in place by `entries`, or appended
// at the end when there is none. Appended to a text whose last line has no
// line break, the section starts on a line of its own and keeps the text's
// habit: it ends without a line break, so removing it gives back the text.
std::string WithIniSection(const std::string& text, const std::string& name,
                           const IniEntries& entries);

// `text` without the section `name` (unchanged when there is none). A
// section that ends the text without a line break takes the line break
// before it along, undoing WithIniSection.
std::string WithoutIniSection(const std::string& text, const std::string& name);

// The value of `key` (letter case ignored) in `entries`; empty when absent.
std::string IniValue(const IniEntries& entries, const std::string& key);

}  // namespace tallowick
