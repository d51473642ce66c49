#pragma once
// Reads the worksheets of an .xls workbook through FreeXL, completed by our
// own scan of the workbook stream for the cells FreeXL does not type or read
// (booleans, error values, formula results; see biff_cell_scanner.h).
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/biff_cell_scanner.h"
#include "import/workbook_cell.h"

namespace tallowick {

class WorkbookReader {
 public:
  WorkbookReader() = default;
  ~WorkbookReader();
  WorkbookReader(const WorkbookReader&) = delete;
  WorkbookReader& operator=(const WorkbookReader&) = delete;

  // Opens the workbook; on failure `error` explains why and names the file.
  bool Open(const std::string& path, std::string& error);

  std::size_t SheetCount() const { return m_sheetNames.size(); }
  const std::string& SheetName(std::size_t index) const { return m_sheetNames[index]; }

  // Makes sheet `index` the one that Rows, Columns and Cell read.
  bool SelectSheet(std::size_t index, std::string& error);
  std::uint32_t Rows() const { return m_rows; }
  std::uint16_t Columns() const { return m_columns; }

  // The cell at (row, column), both 0-based, of the selected sheet. Its text
  // stays valid while the workbook is open.
  bool Cell(std::uint32_t row, std::uint16_t column, WorkbookCell& out, std::string& error) const;

 private:
  static std::uint64_t Key(std::uint32_t row, std::uint16_t column) {
    return (static_cast<std::uint64_t>(row) << 16) | column;
  }

  const void* m_handle = nullptr;
  std::string m_path;
  std::vector<std::string> m_sheetNames;
  std::vector<BiffSheetCells> m_scanned;
  const std::vector<BiffCell>* m_sheetCells = nullptr;
  std::unordered_map<std::uint64_t, std::size_t> m_sheetIndex;
  std::uint32_t m_rows = 0;
  std::uint16_t m_columns = 0;
};

}  // namespace tallowick
