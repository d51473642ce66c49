#pragma once
// How a worksheet column becomes a table column: its declared type follows
// its cells, and each cell is stored in the form that type calls for.
//   only numbers                 -> DOUBLE
//   only booleans                -> BIT
//   only dates without a time    -> DATE
//   only dates, times, datetimes -> TIMESTAMP (a time alone on 1899-12-30)
//   anything else, or no value   -> VARCHAR, each cell as Excel shows it
// Empty cells are NULL in every type; no cell with a value becomes NULL.
#include <cstddef>
#include <string>

#include "import/column_type.h"
#include "import/workbook_cell.h"

namespace tallowick {

class SqliteTableWriter;

class WorkbookColumnCensus {
 public:
  void Add(const WorkbookCell& cell);
  ColumnType Result() const;

 private:
  std::size_t m_values = 0;
  std::size_t m_numbers = 0;
  std::size_t m_booleans = 0;
  std::size_t m_plainDates = 0;  // dates with no time of day
  std::size_t m_timedDates = 0;  // datetimes with a time, and times
};

// The cell as text: numbers as Excel's General format shows them, booleans
// "TRUE"/"FALSE", dates "YYYY-MM-DD", datetimes "YYYY-MM-DD HH:MM:SS", times
// "HH:MM:SS", errors as "#N/A" and the like.
std::string CellDisplayText(const WorkbookCell& cell);

// Binds `cell` as column `column` of the row `writer` is building, in the
// form `type` calls for.
void BindWorkbookCell(SqliteTableWriter& writer, int column, ColumnType type,
                      const WorkbookCell& cell);

}  // namespace tallowick
