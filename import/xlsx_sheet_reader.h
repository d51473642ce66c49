#pragma once
// Reads the cells of one .xlsx worksheet part (<sheetData>) into the cell
// list the workbook import writes tables from:
// - numbers, typed by the number format of their style (dates, times,
//   both) in the workbook's date system;
// - shared strings (t="s"), inline strings (t="inlineStr"), formula text
//   results (t="str"), booleans (t="b"), errors as text (t="e"), ISO 8601
//   dates (t="d");
// - formulas by the result the workbook last computed (<v>); a formula
//   never computed is an empty cell.
// Cells and rows without a reference follow the one before them. A cell
// outside the 1,048,576 rows and 16,384 columns a worksheet can have is an
// error; cells come out by row, then column, the last of two at one place
// winning.
#include <cstdint>
#include <string>
#include <string_view>

#include "import/biff_cell_scanner.h"
#include "import/xlsx_parts.h"
#include "import/xml_part_parser.h"

namespace tallowick {

inline constexpr std::uint32_t kXlsxMaxRows = 1048576;
inline constexpr std::uint32_t kXlsxMaxColumns = 16384;

// Parses a cell reference such as "B7" into a 0-based row and column.
bool ParseCellReference(std::string_view reference, std::uint32_t& row, std::uint32_t& column);

class XlsxSheetHandler : public XmlPartHandler {
 public:
  // Cells go to `sheet`; texts other than shared strings are appended to
  // `workbook.strings`, whose first `sharedStrings` entries are the shared
  // strings.
  XlsxSheetHandler(BiffWorkbook& workbook, BiffSheet& sheet, std::size_t sharedStrings,
                   const StylesHandler& styles, XlsxMemoryBudget& budget);

  void Start(std::string_view name, const char** attributes) override;
  void End(std::string_view name) override;
  void Text(std::string_view text) override;

  // Puts the cells in order once the part has been read.
  void Finish();

 private:
  void StartCell(const char** attributes);
  void EndCell();
  bool Fail(const std::string& why);
  void SetNumber(BiffCell& cell, double value);
  void SetText(BiffCell& cell, CellKind kind, std::string text);

  BiffWorkbook& m_workbook;
  BiffSheet& m_sheet;
  std::size_t m_sharedStrings;
  const StylesHandler& m_styles;
  XlsxMemoryBudget& m_budget;

  std::uint32_t m_row = 0;         // 0-based row of the current <row>
  std::int64_t m_lastRow = -1;     // the row before it
  std::int64_t m_lastColumn = -1;  // the cell before the current one in its row
  bool m_inData = false;
  bool m_ordered = true;

  // The cell being read.
  std::uint32_t m_column = 0;
  std::string m_type;
  std::uint32_t m_style = 0;
  std::string m_value;
  std::string m_inline;
  bool m_inValue = false;
  bool m_inInlineText = false;
  bool m_inCell = false;
  int m_phonetic = 0;
};

}  // namespace tallowick
