#include "import/csv_column_typing.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "import/calendar.h"
#include "import/sqlite_table_writer.h"
#include "import/value_text.h"

namespace tallowick {
namespace {

// The most significant digits a double keeps for every number.
constexpr int kExactDigits = 15;

enum class FieldKind { Text, Integer, Number, Boolean, Date, DateTime };

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

bool EqualsNoCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch =
        text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (ch != word[i]) return false;
  }
  return true;
}

// A decimal number: [sign] digits [. digits] [e [sign] digits], or with
// the digits only after the point. `integer` when there is neither a point
// nor an exponent.
bool IsNumberText(std::string_view text, bool& integer) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  const std::size_t first = pos;
  int significant = 0;
  bool leading = true;
  auto digits = [&] {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
      if (leading && text[pos] == '0') {
        ++pos;
        continue;
      }
      leading = false;
      ++significant;
      ++pos;
    }
    return pos - start;
  };
  const std::size_t whole = digits();
  // "007" would lose its zeros; "0" and "0.5" would not.
  if (whole > 1 && text[first] == '0') return false;
  integer = true;
  std::size_t fraction = 0;
  if (pos < text.size() && text[pos] == '.') {
    integer = false;
    ++pos;
    fraction = digits();
  }
  if (whole + fraction == 0) return false;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    integer = false;
    ++pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    if (pos == start) return false;
  }
  return pos == text.size() && significant <= kExactDigits;
}

bool ParseDouble(std::string_view text, double& out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

bool ParseInteger(std::string_view text, std::int64_t& out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

FieldKind KindOf(std::string_view field, CalendarDateTime* when = nullptr) {
  const std::string_view text = Trimmed(field);
  if (text.empty()) return FieldKind::Text;
  bool integer = false;
  if (IsNumberText(text, integer)) {
    std::int64_t value = 0;
    if (integer && ParseInteger(text, value) && value >= INT32_MIN && value <= INT32_MAX) {
      return FieldKind::Integer;
    }
    double real = 0;
    return ParseDouble(text, real) ? FieldKind::Number : FieldKind::Text;
  }
  if (EqualsNoCase(text, "true") || EqualsNoCase(text, "false")) return FieldKind::Boolean;
  CalendarDateTime parsed;
  bool hasDate = false, hasTime = false;
  if (text.size() >= 10 && ParseDateTimeText(text, parsed, hasDate, hasTime) && hasDate) {
    if (when != nullptr) *when = parsed;
    return hasTime ? FieldKind::DateTime : FieldKind::Date;
  }
  return FieldKind::Text;
}

}  // namespace

void CsvColumnCensus::Add(std::string_view field) {
  ++m_values;
  switch (KindOf(field)) {
    case FieldKind::Integer:
      ++m_integers;
      ++m_numbers;
      break;
    case FieldKind::Number:
      ++m_numbers;
      break;
    case FieldKind::Boolean:
      ++m_booleans;
      break;
    case FieldKind::Date:
      ++m_dates;
      break;
    case FieldKind::DateTime:
      ++m_dateTimes;
      break;
    case FieldKind::Text:
      break;
  }
}

ColumnType CsvColumnCensus::Result() const {
  if (m_values == 0) return ColumnType::Varchar;
  if (m_integers == m_values) return ColumnType::Integer;
  if (m_numbers == m_values) return ColumnType::Double;
  if (m_booleans == m_values) return ColumnType::Bit;
  if (m_dates == m_values) return ColumnType::Date;
  if (m_dates + m_dateTimes == m_values) return ColumnType::Timestamp;
  return ColumnType::Varchar;
}

void BindCsvField(SqliteTableWriter& writer, int column, ColumnType type, std::string_view field) {
  const std::string_view text = Trimmed(field);
  CalendarDateTime when;
  std::int64_t integer = 0;
  double real = 0;
  switch (type) {
    case ColumnType::Integer:
      if (ParseInteger(text, integer)) return writer.BindInteger(column, integer);
      break;
    case ColumnType::Double:
      if (ParseDouble(text, real)) return writer.BindDouble(column, real);
      break;
    case ColumnType::Bit:
      return writer.BindInteger(column, EqualsNoCase(text, "true") ? 1 : 0);
    case ColumnType::Date:
      if (KindOf(text, &when) == FieldKind::Date) return writer.BindText(column, DateText(when));
      break;
    case ColumnType::Timestamp:
      if (KindOf(text, &when) != FieldKind::Text) {
        return writer.BindText(column, TimestampText(when));
      }
      break;
    default:
      break;
  }
  // A column of text, or a field its census did not see (it cannot be).
  writer.BindText(column, field);
}

}  // namespace tallowick
