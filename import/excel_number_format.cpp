#include "import/excel_number_format.h"

#include <cctype>

namespace tallowick {
namespace {

char Lower(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view prefix) {
  if (pos + prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[pos + i]) != Lower(prefix[i])) return false;
  }
  return true;
}

NumberFormatKind Combine(bool date, bool time) {
  if (date && time) return NumberFormatKind::DateTime;
  if (date) return NumberFormatKind::Date;
  if (time) return NumberFormatKind::Time;
  return NumberFormatKind::Number;
}

}  // namespace

NumberFormatKind KindOfBuiltInFormat(std::uint16_t formatId) {
  if ((formatId >= 14 && formatId <= 17) || (formatId >= 27 && formatId <= 31) ||
      (formatId >= 34 && formatId <= 36) || (formatId >= 50 && formatId <= 58)) {
    return NumberFormatKind::Date;
  }
  if ((formatId >= 18 && formatId <= 21) || formatId == 32 || formatId == 33 ||
      (formatId >= 45 && formatId <= 47)) {
    return NumberFormatKind::Time;
  }
  if (formatId == 22) return NumberFormatKind::DateTime;
  return NumberFormatKind::Number;
}

NumberFormatKind KindOfFormatCode(std::string_view code) {
  bool date = false;
  bool time = false;
  bool lastWasHour = false;  // an "m" right after an hour is minutes
  std::size_t pos = 0;
  while (pos < code.size()) {
    char ch = code[pos];
    if (ch == ';') break;
    if (ch == '"') {
      std::size_t end = code.find('"', pos + 1);
      pos = end == std::string_view::npos ? code.size() : end + 1;
      continue;
    }
    if (ch == '\\' || ch == '_' || ch == '*') {
      pos += 2;
      continue;
    }
    if (ch == '[') {
      std::size_t end = code.find(']', pos + 1);
      std::string_view inside = code.substr(pos + 1, (end == std::string_view::npos ? code.size() : end) - pos - 1);
      if (!inside.empty()) {
        char first = Lower(inside[0]);
        bool elapsed = first == 'h' || first == 'm' || first == 's';
        for (char c : inside) elapsed = elapsed && Lower(c) == first;
        if (elapsed) {
          time = true;
          lastWasHour = first == 'h';
        }
      }
      pos = end == std::string_view::npos ? code.size() : end + 1;
      continue;
    }
    if (StartsWithNoCase(code, pos, "am/pm")) {
      time = true;
      pos += 5;
      continue;
    }
    if (StartsWithNoCase(code, pos, "a/p")) {
      time = true;
      pos += 3;
      continue;
    }
    char lower = Lower(ch);
    if (lower == 'y' || lower == 'd') {
      date = true;
      lastWasHour = false;
    } else if (lower == 'h') {
      time = true;
      lastWasHour = true;
    } else if (lower == 's') {
      time = true;
      lastWasHour = false;
    } else if (lower == 'm') {
      // Minutes when right after an hour or right before seconds.
      std::size_t next = pos;
      while (next < code.size() && Lower(code[next]) == 'm') ++next;
      std::size_t look = next;
      while (look < code.size() && (code[look] == ':' || code[look] == ' ')) ++look;
      bool beforeSeconds = look < code.size() && Lower(code[look]) == 's';
      if (lastWasHour || beforeSeconds) {
        time = true;
      } else {
        date = true;
      }
      lastWasHour = false;
      pos = next;
      continue;
    } else if (lower == 'g' || lower == 'e' || lower == 'b') {
      // "General", era and Buddhist-year letters: "General" is no date.
      if (StartsWithNoCase(code, pos, "general")) {
        pos += 7;
        continue;
      }
    }
    ++pos;
  }
  return Combine(date, time);
}

}  // namespace tallowick
