#include "import/delimited_text_options.h"

#include <charconv>
#include <string>

#include "import/code_page_decoder.h"

namespace tallowick {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return lower;
}

bool StripPrefix(std::string& text, std::string_view prefix) {
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  text.erase(0, prefix.size());
  return true;
}

}  // namespace

bool ParseDelimiterName(std::string_view name, char& delimiter) {
  const std::string lower = Lower(name);
  if (lower == "tab" || lower == "\\t") {
    delimiter = '\t';
  } else if (lower == "comma") {
    delimiter = ',';
  } else if (lower == "semicolon") {
    delimiter = ';';
  } else if (name.size() == 1) {
    delimiter = name[0];
  } else {
    return false;
  }
  return delimiter != '"' && delimiter != '\r' && delimiter != '\n' && delimiter != '\0';
}

bool ParseEncodingName(std::string_view name, int& codePage) {
  std::string lower = Lower(name);
  if (lower == "auto") {
    codePage = 0;
    return true;
  }
  if (lower == "utf-8" || lower == "utf8") {
    codePage = 65001;
    return true;
  }
  if (!StripPrefix(lower, "windows-") && !StripPrefix(lower, "cp")) StripPrefix(lower, "ibm");
  int number = 0;
  const auto [end, error] = std::from_chars(lower.data(), lower.data() + lower.size(), number);
  if (error != std::errc() || end != lower.data() + lower.size() || number <= 0) return false;
  if (number != 65001 && !CodePageDecoder(number).Supported()) return false;
  codePage = number;
  return true;
}

}  // namespace tallowick
