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

namespace {

// Walks the first section of a format code, noting the date and time parts
// it shows.
class FormatCodeReader {
 public:
  explicit FormatCodeReader(std::string_view code) : m_code(code) {}

  NumberFormatKind Read() {
    while (m_pos < m_code.size() && m_code[m_pos] != ';') {
      if (!SkipLiteral() && !ReadBracket() && !ReadAmPm()) ReadLetter();
    }
    return Combine(m_date, m_time);
  }

 private:
  // Quoted text, escaped characters, fills and paddings show no part.
  bool SkipLiteral() {
    const char ch = m_code[m_pos];
    if (ch == '"') {
      std::size_t end = m_code.find('"', m_pos + 1);
      m_pos = end == std::string_view::npos ? m_code.size() : end + 1;
      return true;
    }
    if (ch == '\\' || ch == '_' || ch == '*') {
      m_pos += 2;
      return true;
    }
    return false;
  }

  // Colours and locales are skipped; "[h]", "[mm]", "[ss]" are elapsed times.
  bool ReadBracket() {
    if (m_code[m_pos] != '[') return false;
    std::size_t end = m_code.find(']', m_pos + 1);
    std::string_view inside =
        m_code.substr(m_pos + 1, (end == std::string_view::npos ? m_code.size() : end) - m_pos - 1);
    if (!inside.empty()) {
      char first = Lower(inside[0]);
      bool elapsed = first == 'h' || first == 'm' || first == 's';
      for (char c : inside) elapsed = elapsed && Lower(c) == first;
      if (elapsed) {
        m_time = true;
        m_lastWasHour = first == 'h';
      }
    }
    m_pos = end == std::string_view::npos ? m_code.size() : end + 1;
    return true;
  }

  bool ReadAmPm() {
    for (std::string_view marker : {std::string_view("am/pm"), std::string_view("a/p")}) {
      if (StartsWithNoCase(m_code, m_pos, marker)) {
        m_time = true;
        m_pos += marker.size();
        return true;
      }
    }
    return false;
  }

  // "m" is minutes right after an hour or right before seconds, else a month.
  void ReadMonthOrMinutes() {
    std::size_t next = m_pos;
    while (next < m_code.size() && Lower(m_code[next]) == 'm') ++next;
    std::size_t look = next;
    while (look < m_code.size() && (m_code[look] == ':' || m_code[look] == ' ')) ++look;
    bool beforeSeconds = look < m_code.size() && Lower(m_code[look]) == 's';
    if (m_lastWasHour || beforeSeconds) {
      m_time = true;
    } else {
      m_date = true;
    }
    m_lastWasHour = false;
    m_pos = next;
  }

  void ReadLetter() {
    const char lower = Lower(m_code[m_pos]);
    if (lower == 'm') return ReadMonthOrMinutes();
    if (lower == 'g' && StartsWithNoCase(m_code, m_pos, "general")) {
      m_pos += 7;  // "General" is no date, for all its letters
      return;
    }
    if (lower == 'y' || lower == 'd') {
      m_date = true;
      m_lastWasHour = false;
    } else if (lower == 'h') {
      m_time = true;
      m_lastWasHour = true;
    } else if (lower == 's') {
      m_time = true;
      m_lastWasHour = false;
    }
    ++m_pos;
  }

  std::string_view m_code;
  std::size_t m_pos = 0;
  bool m_date = false;
  bool m_time = false;
  bool m_lastWasHour = false;  // an "m" right after an hour is minutes
};

}  // namespace

NumberFormatKind KindOfFormatCode(std::string_view code) { return FormatCodeReader(code).Read(); }

}  // namespace tallowick
