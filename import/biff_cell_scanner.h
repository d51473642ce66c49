#pragma once
// Reads from an .xls file's workbook stream the cells that FreeXL leaves out
// or reads too loosely or too slowly:
// - booleans and error values (BOOLERR records, which FreeXL hands out as
//   the integers 1/0 or the error code);
// - the results of formulas as the workbook last computed them (FORMULA
//   records with their STRING follow-ups, which FreeXL skips, leaving the
//   cell empty);
// - numbers shown as dates or times (NUMBER, RK and MULRK records whose
//   number format is a date or time format). FreeXL turns those into dates
//   too, but counting day by day from 1900, which takes seconds for a sheet
//   full of dates; the scan also finds where in the file the date formats
//   are named, so that FreeXL can be given a copy that shows them as plain
//   numbers (see workbook_reader.cpp).
// Only BIFF5 and BIFF8 workbooks (Excel 5 to 2003) are scanned; anything the
// scanner cannot follow is simply not supplemented.
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
  double number = 0;
  bool boolean = false;
  std::string text;
  CalendarDateTime when;

  WorkbookCell View() const { return {kind, number, boolean, text, when}; }
};

struct BiffSheetCells {
  std::string name;  // UTF-8, as FreeXL names the sheet
  std::vector<BiffCell> cells;
};

struct BiffScan {
  std::vector<BiffSheetCells> sheets;
  // File offsets of the two-byte format index of every cell format (XF
  // record) that shows numbers as dates or times. Empty when the workbook
  // stream cannot be mapped back to the file.
  std::vector<std::size_t> dateFormatIndexOffsets;
};

// Scans the whole .xls file held in `file`.
BiffScan ScanBiffCells(ByteView file);

}  // namespace tallowick
