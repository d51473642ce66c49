#pragma once
// The text of a freedesktop desktop entry (a ".desktop" file), with every value
// written in the form the format requires: string escapes, the Exec key's
// quoting and field-code rules, and file URLs percent-encoded.
#include <optional>
#include <string>
#include <string_view>

namespace tallowick {

struct DesktopEntry {
  enum class Type { Application, Link };
  Type type = Type::Application;
  std::string name;
  std::string comment;        // empty: no Comment key
  std::string icon;           // an icon's absolute path or theme name; empty: no Icon key
  std::string program;        // Application: the program started (an absolute path)
  std::string workingFolder;  // Application: the folder it is started in; empty: no Path key
  std::string linkTarget;     // Link: the absolute path of the document opened
};

// The file's text, LF line ends; nothing when a value holds bytes that no
// desktop entry can carry (control characters other than tab, newline and
// carriage return, or bytes that are not UTF-8) in a key where they cannot be
// encoded, or when a path is not absolute.
std::optional<std::string> DesktopEntryText(const DesktopEntry& entry);

// The pieces, for the keys they serve.
// A value of type string: backslash, tab, newline and carriage return escaped,
// and blanks at either end written as "\s" so no reader trims them.
std::string EscapeStringValue(std::string_view value);
// One argument of an Exec key, as it stands before the string escapes: quoted
// when it holds a reserved character, '"', '`', '$' and '\' escaped inside the
// quotes, and every '%' doubled.
std::string QuoteExecArgument(std::string_view argument);
// "file://" and the absolute path, every byte outside the unreserved set and
// '/' percent-encoded.
std::string FileUrl(std::string_view absolutePath);
// True when the text can stand in a string value: UTF-8 without control
// characters other than tab, newline and carriage return.
bool IsStringValueText(std::string_view text);

}  // namespace tallowick
