#include "import/workbook_column_typing.h"

#include "import/sqlite_table_writer.h"
#include "import/value_text.h"

namespace tallowick {
namespace {

// The day a time of day alone is dated on, as Excel's own epoch shows it.
CalendarDateTime OnExcelEpoch(const CalendarDateTime& time) {
  CalendarDateTime value = time;
  value.year = 1899;
  value.month = 12;
  value.day = 30;
  return value;
}

}  // namespace

void WorkbookColumnCensus::Add(const WorkbookCell& cell) {
  switch (cell.kind) {
    case CellKind::Empty:
      return;
    case CellKind::Number:
      ++m_numbers;
      break;
    case CellKind::Boolean:
      ++m_booleans;
      break;
    case CellKind::Date:
      ++m_plainDates;
      break;
    case CellKind::DateTime:
      if (cell.when.HasTime()) {
        ++m_timedDates;
      } else {
        ++m_plainDates;
      }
      break;
    case CellKind::Time:
      ++m_timedDates;
      break;
    case CellKind::Text:
    case CellKind::Error:
      break;
  }
  ++m_values;
}

ColumnType WorkbookColumnCensus::Result() const {
  if (m_values == 0) return ColumnType::Varchar;
  if (m_numbers == m_values) return ColumnType::Double;
  if (m_booleans == m_values) return ColumnType::Bit;
  if (m_plainDates == m_values) return ColumnType::Date;
  if (m_plainDates + m_timedDates == m_values) return ColumnType::Timestamp;
  return ColumnType::Varchar;
}

std::string CellDisplayText(const WorkbookCell& cell) {
  switch (cell.kind) {
    case CellKind::Empty:
      return {};
    case CellKind::Number:
      return ExcelNumberText(cell.number);
    case CellKind::Text:
    case CellKind::Error:
      return std::string(cell.text);
    case CellKind::Boolean:
      return cell.boolean ? "TRUE" : "FALSE";
    case CellKind::Date:
      return DateText(cell.when);
    case CellKind::DateTime:
      return TimestampText(cell.when);
    case CellKind::Time:
      return TimeText(cell.when);
  }
  return {};
}

void BindWorkbookCell(SqliteTableWriter& writer, int column, ColumnType type,
                      const WorkbookCell& cell) {
  if (cell.kind == CellKind::Empty) {
    writer.BindNull(column);
    return;
  }
  switch (type) {
    case ColumnType::Double:
      writer.BindDouble(column, cell.number);
      return;
    case ColumnType::Bit:
      writer.BindInteger(column, cell.boolean ? 1 : 0);
      return;
    case ColumnType::Date:
      writer.BindText(column, DateText(cell.when));
      return;
    case ColumnType::Timestamp:
      writer.BindText(
          column, TimestampText(cell.kind == CellKind::Time ? OnExcelEpoch(cell.when) : cell.when));
      return;
    default:
      writer.BindText(column, CellDisplayText(cell));
      return;
  }
}

}  // namespace tallowick
