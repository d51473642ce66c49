#pragma once
// Reads the worksheets of an .xls workbook stream (BIFF5 and BIFF8, Excel 5
// to 2003): every cell that holds a value, as the workbook last showed it.
// - numbers (NUMBER, RK, MULRK records), as dates, times or both when their
//   number format is a date or time format;
// - text (LABELSST into the shared-string table, LABEL, RSTRING);
// - booleans and error values (BOOLERR);
// - the results of formulas as the workbook last computed them (FORMULA
//   records, a text result in the STRING record after them).
// Every length and index is checked against its record and the tables it
// names: a damaged stream ends in an error, never in a read outside it.
#include <cstdint>
#include <string>
#include <vector>

#include "import/byte_view.h"
#include "import/workbook_cell.h"

namespace tallowick {

struct BiffCell {
  std::uint32_t row = 0;
  std::uint16_t column = 0;
  CellKind kind = CellKind::Empty;
  bool boolean = false;
  std::uint32_t text = 0;  // Text and Error: index into BiffWorkbook::strings
  double number = 0;       // Number, and the serial of the date and time kinds
};

struct BiffSheet {
  std::string name;  // UTF-8
  // By row, then column; one cell for each place.
  std::vector<BiffCell> cells;
};

struct BiffWorkbook {
  std::vector<BiffSheet> sheets;  // the worksheets, in the workbook's order
  std::vector<std::string> strings;
  bool date1904 = false;

  // The cell as the import sees it; its text lives as long as the workbook.
  WorkbookCell View(const BiffCell& cell) const;
};

// Reads the workbook stream `stream`. On failure `why` completes the sentence
// "Cannot read the Excel file F: ..." (without the full stop).
bool ScanBiffWorkbook(ByteView stream, BiffWorkbook& out, std::string& why);

}  // namespace tallowick
