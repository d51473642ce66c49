// ConvertWorkbook: every worksheet of an .xls file into the temporary database.
#include <algorithm>
#include <vector>

#include "import/column_names.h"
#include "import/source_import.h"
#include "import/sqlite_table_writer.h"
#include "import/workbook_column_typing.h"
#include "import/workbook_reader.h"

namespace tallowick {
namespace {

// A sheet's stated size may run past its last value; the table ends at the
// last row and the last column that hold something (at least one column).
struct SheetExtent {
  std::uint16_t columns = 1;
  std::uint32_t rows = 0;  // data rows, after the header row
};

SheetExtent ExtentOf(const BiffSheet& sheet) {
  SheetExtent extent;
  for (const BiffCell& cell : sheet.cells) {
    if (cell.kind == CellKind::Empty) continue;
    extent.columns = std::max<std::uint16_t>(extent.columns, cell.column + 1);
    extent.rows = std::max(extent.rows, cell.row);
  }
  return extent;
}

// The first row names the columns; the cells below decide their types.
std::vector<ColumnDefinition> DefineColumns(const BiffWorkbook& workbook, const BiffSheet& sheet,
                                            std::uint16_t columns) {
  std::vector<std::string> headers(columns);
  std::vector<WorkbookColumnCensus> census(columns);
  for (const BiffCell& cell : sheet.cells) {
    if (cell.kind == CellKind::Empty) continue;
    if (cell.row == 0) {
      headers[cell.column] = CellDisplayText(workbook.View(cell));
    } else {
      census[cell.column].Add(workbook.View(cell));
    }
  }
  std::vector<std::string> names = UniqueColumnNames(headers);
  std::vector<ColumnDefinition> definitions(columns);
  for (std::uint16_t column = 0; column < columns; ++column) {
    definitions[column] = {names[column], census[column].Result()};
  }
  return definitions;
}

// Rows 1 to `rows`, an empty row inside the sheet staying a row of NULLs.
bool WriteRows(const BiffWorkbook& workbook, const BiffSheet& sheet,
               const std::vector<ColumnDefinition>& definitions, std::uint32_t rows,
               SqliteTableWriter& writer, std::string& error) {
  auto cell = sheet.cells.begin();
  while (cell != sheet.cells.end() && cell->row == 0) ++cell;
  for (std::uint32_t row = 1; row <= rows; ++row) {
    for (; cell != sheet.cells.end() && cell->row == row; ++cell) {
      if (cell->column >= definitions.size()) continue;  // empty, past the last column
      BindWorkbookCell(writer, cell->column, definitions[cell->column].type, workbook.View(*cell));
    }
    if (!writer.InsertRow(error)) return false;
  }
  return true;
}

bool WriteSheet(const BiffWorkbook& workbook, const BiffSheet& sheet, SqliteTableWriter& writer,
                std::string& table, std::string& error) {
  const SheetExtent extent = ExtentOf(sheet);
  const std::vector<ColumnDefinition> definitions = DefineColumns(workbook, sheet, extent.columns);
  table = sheet.name + "$";
  if (!writer.BeginTable(table, definitions, error)) return false;
  if (!WriteRows(workbook, sheet, definitions, extent.rows, writer, error)) return false;
  return writer.EndTable(error);
}

// Every sheet of the workbook at `xlsPath` into the database at `databasePath`.
bool WriteWorkbook(const std::string& xlsPath, const std::string& databasePath,
                   std::vector<std::string>& tables, std::string& error) {
  BiffWorkbook workbook;
  if (!ReadWorkbookFile(xlsPath, workbook, error)) return false;
  if (workbook.sheets.empty()) {
    error = "Cannot read the Excel file " + xlsPath + ": the workbook has no worksheet.";
    return false;
  }
  SqliteTableWriter writer;
  if (!writer.Open(databasePath, error)) return false;
  for (const BiffSheet& sheet : workbook.sheets) {
    std::string table;
    if (!WriteSheet(workbook, sheet, writer, table, error)) return false;
    tables.push_back(table);
  }
  return writer.Commit(error);
}

}  // namespace

ImportResult ConvertWorkbook(const std::string& xlsPath) {
  ImportResult result;
  TemporaryDatabase database;
  if (!TemporaryDatabase::Create(database, result.error)) return result;
  if (!WriteWorkbook(xlsPath, database.Path(), result.tables, result.error)) {
    result.tables.clear();
    return result;  // `database` deletes the file
  }
  result.ok = true;
  result.database = std::move(database);
  return result;
}

}  // namespace tallowick
