#pragma once
// Reads from an .xls file's workbook stream the cells that FreeXL leaves out
// or reads too loosely: booleans and error values (BOOLERR records, which
// FreeXL hands out as the integers 1/0 or the error code) and the results of
// formulas as the workbook last computed them (FORMULA records with their
// STRING follow-ups, which FreeXL skips, leaving the cell empty). Dates
// computed by formulas are recognised from the cell's number format.
// Only BIFF5 and BIFF8 workbooks (Excel 5 to 2003) are scanned; anything the
// scanner cannot follow is simply not supplemented.
#include <cstdint>
#include <string>
#include <vector>

#include "source/import/byte_view.h"
#include "source/import/workbook_cell.h"

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

// Scans the whole .xls file held in `file`.
std::vector<BiffSheetCells> ScanBiffCells(ByteView file);

}  // namespace tallowick
