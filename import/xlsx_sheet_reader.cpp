#include "import/xlsx_sheet_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "import/calendar.h"

namespace tallowick {
namespace {

bool ParseNumber(std::string_view text, double& out) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

// The serial number of an ISO 8601 date (and time) in the workbook's date
// system; false for a text that is none or a date before the system's epoch.
bool SerialOfIsoDate(std::string_view text, bool date1904, double& serial, bool& hasTime) {
  CalendarDateTime when;
  bool hasDate = false;
  if (!ParseDateTimeText(text, when, hasDate, hasTime) || !hasDate) return false;
  const std::int64_t epoch = date1904 ? DaysFromCivil(1904, 1, 1) : DaysFromCivil(1899, 12, 30);
  std::int64_t days = DaysFromCivil(when.year, when.month, when.day) - epoch;
  // The 1900 system counts a 29 February 1900 that never was.
  if (!date1904 && days < 61) --days;
  if (days < 0) return false;
  serial =
      static_cast<double>(days) + (when.hour * 3600.0 + when.minute * 60.0 + when.second) / 86400.0;
  CalendarDateTime back;
  return ExcelSerialToCalendar(serial, date1904, back) && back.year == when.year &&
         back.month == when.month && back.day == when.day;
}

}  // namespace

bool ParseCellReference(std::string_view reference, std::uint32_t& row, std::uint32_t& column) {
  std::size_t pos = 0;
  std::uint64_t letters = 0;
  while (pos < reference.size() && pos < 4) {
    const char ch = reference[pos];
    const char upper = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
    if (upper < 'A' || upper > 'Z') break;
    letters = letters * 26 + static_cast<std::uint64_t>(upper - 'A' + 1);
    ++pos;
  }
  if (pos == 0 || pos == reference.size()) return false;
  std::uint64_t number = 0;
  for (std::size_t i = pos; i < reference.size(); ++i) {
    if (reference[i] < '0' || reference[i] > '9' || i - pos >= 9) return false;
    number = number * 10 + static_cast<std::uint64_t>(reference[i] - '0');
  }
  if (number == 0 || number > kXlsxMaxRows || letters > kXlsxMaxColumns) return false;
  row = static_cast<std::uint32_t>(number - 1);
  column = static_cast<std::uint32_t>(letters - 1);
  return true;
}

XlsxSheetHandler::XlsxSheetHandler(BiffWorkbook& workbook, BiffSheet& sheet,
                                   std::size_t sharedStrings, const StylesHandler& styles,
                                   XlsxMemoryBudget& budget)
    : m_workbook(workbook),
      m_sheet(sheet),
      m_sharedStrings(sharedStrings),
      m_styles(styles),
      m_budget(budget) {}

bool XlsxSheetHandler::Fail(const std::string& why) {
  if (failure.empty()) failure = why;
  return false;
}

void XlsxSheetHandler::Start(std::string_view name, const char** attributes) {
  if (name == "sheetData") {
    m_inData = true;
  } else if (!m_inData) {
    return;
  } else if (name == "row") {
    const char* number = AttributeOf(attributes, "r");
    std::int64_t row = m_lastRow + 1;
    if (number != nullptr) {
      const std::string_view text(number);
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
      if (error != std::errc() || end != text.data() + text.size() || row < 1) {
        Fail("the row number \"" + std::string(text) + "\" is not valid");
        return;
      }
      --row;
    }
    if (row >= static_cast<std::int64_t>(kXlsxMaxRows)) {
      Fail("it has a row past the 1,048,576 rows a worksheet can have");
      return;
    }
    if (row <= m_lastRow && m_lastRow >= 0 && number != nullptr) m_ordered = false;
    m_row = static_cast<std::uint32_t>(row);
    m_lastRow = row;
    m_lastColumn = -1;
  } else if (name == "c") {
    StartCell(attributes);
  } else if (!m_inCell) {
    return;
  } else if (name == "v") {
    m_inValue = true;
  } else if (name == "rPh") {
    ++m_phonetic;
  } else if (name == "t" && m_phonetic == 0) {
    m_inInlineText = true;
  }
}

void XlsxSheetHandler::StartCell(const char** attributes) {
  m_inCell = true;
  m_value.clear();
  m_inline.clear();
  m_phonetic = 0;
  const char* reference = AttributeOf(attributes, "r");
  std::uint32_t row = m_row, column = static_cast<std::uint32_t>(m_lastColumn + 1);
  if (reference != nullptr && !ParseCellReference(reference, row, column)) {
    Fail("the cell reference \"" + std::string(reference) +
         "\" is not valid or lies outside the 1,048,576 rows and 16,384 columns a worksheet "
         "can have");
    return;
  }
  if (column >= kXlsxMaxColumns) {
    Fail("it has a cell past the 16,384 columns a worksheet can have");
    return;
  }
  if (row != m_row) {  // a reference that disagrees with its row: take the reference
    m_ordered = m_ordered && row > m_row;
    m_row = row;
    m_lastRow = row;
  } else if (static_cast<std::int64_t>(column) <= m_lastColumn) {
    m_ordered = false;
  }
  m_column = column;
  m_lastColumn = column;
  const char* type = AttributeOf(attributes, "t");
  m_type = type != nullptr ? type : "n";
  const char* style = AttributeOf(attributes, "s");
  m_style = style != nullptr ? static_cast<std::uint32_t>(std::strtoul(style, nullptr, 10)) : 0;
}

void XlsxSheetHandler::Text(std::string_view text) {
  if (m_inValue) {
    m_value.append(text);
  } else if (m_inInlineText) {
    m_inline.append(text);
  }
}

void XlsxSheetHandler::End(std::string_view name) {
  if (name == "sheetData") {
    m_inData = false;
  } else if (!m_inCell) {
    return;
  } else if (name == "v") {
    m_inValue = false;
  } else if (name == "rPh") {
    --m_phonetic;
  } else if (name == "t") {
    m_inInlineText = false;
  } else if (name == "c") {
    m_inCell = false;
    EndCell();
  }
}

void XlsxSheetHandler::SetNumber(BiffCell& cell, double value) {
  cell.kind = CellKind::Number;
  cell.number = value;
  const NumberFormatKind kind = m_styles.KindOfStyle(m_style);
  CalendarDateTime when;
  if (kind == NumberFormatKind::Number ||
      !ExcelSerialToCalendar(value, m_workbook.date1904, when)) {
    return;
  }
  cell.kind = kind == NumberFormatKind::Date   ? CellKind::Date
              : kind == NumberFormatKind::Time ? CellKind::Time
                                               : CellKind::DateTime;
}

void XlsxSheetHandler::SetText(BiffCell& cell, CellKind kind, std::string text) {
  if (!m_budget.Take(sizeof(std::string) + text.size())) {
    Fail(XlsxMemoryBudget::Refusal());
    return;
  }
  cell.kind = kind;
  cell.text = static_cast<std::uint32_t>(m_workbook.strings.size());
  m_workbook.strings.push_back(std::move(text));
}

void XlsxSheetHandler::EndCell() {
  BiffCell cell;
  cell.row = m_row;
  cell.column = static_cast<std::uint16_t>(m_column);
  double number = 0;
  if (m_type == "s") {
    std::uint32_t index = 0;
    const auto [end, error] =
        std::from_chars(m_value.data(), m_value.data() + m_value.size(), index);
    if (m_value.empty()) return;  // an empty cell
    if (error != std::errc() || end != m_value.data() + m_value.size() ||
        index >= m_sharedStrings) {
      Fail("a cell refers to the shared string \"" + m_value + "\", which does not exist");
      return;
    }
    cell.kind = CellKind::Text;
    cell.text = index;
  } else if (m_type == "inlineStr") {
    SetText(cell, CellKind::Text, UnescapeXlsxText(m_inline));
  } else if (m_type == "str") {
    SetText(cell, CellKind::Text, UnescapeXlsxText(m_value));
  } else if (m_type == "e") {
    SetText(cell, CellKind::Error, m_value);
  } else if (m_type == "b") {
    if (m_value.empty()) return;
    cell.kind = CellKind::Boolean;
    cell.boolean = m_value == "1" || m_value == "true";
  } else if (m_type == "d") {
    bool hasTime = false;
    if (m_value.empty()) return;
    if (SerialOfIsoDate(m_value, m_workbook.date1904, number, hasTime)) {
      cell.kind = hasTime ? CellKind::DateTime : CellKind::Date;
      cell.number = number;
    } else {
      SetText(cell, CellKind::Text, m_value);
    }
  } else if (m_value.empty()) {
    return;  // a formula never computed, or a cell with a style alone
  } else if (ParseNumber(m_value, number)) {
    SetNumber(cell, number);
  } else {
    Fail("a cell holds \"" + m_value.substr(0, 40) + "\" where a number belongs");
    return;
  }
  if (!failure.empty()) return;
  if (!m_budget.Take(sizeof(BiffCell))) {
    Fail(XlsxMemoryBudget::Refusal());
    return;
  }
  m_sheet.cells.push_back(cell);
}

void XlsxSheetHandler::Finish() {
  if (m_ordered) return;
  auto before = [](const BiffCell& a, const BiffCell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  };
  std::stable_sort(m_sheet.cells.begin(), m_sheet.cells.end(), before);
  // Of two cells at one place the later one stands.
  std::vector<BiffCell> unique;
  unique.reserve(m_sheet.cells.size());
  for (const BiffCell& cell : m_sheet.cells) {
    if (!unique.empty() && unique.back().row == cell.row && unique.back().column == cell.column) {
      unique.back() = cell;
    } else {
      unique.push_back(cell);
    }
  }
  m_sheet.cells = std::move(unique);
}

}  // namespace tallowick
