// ConvertWorkbook: every worksheet of an .xls file into the temporary database.
#include <vector>

#include "source/import/column_names.h"
#include "source/import/source_import.h"
#include "source/import/sqlite_table_writer.h"
#include "source/import/workbook_column_typing.h"
#include "source/import/workbook_reader.h"

namespace tallowick {
namespace {

bool WriteSheet(WorkbookReader& workbook, std::size_t index, SqliteTableWriter& writer, std::string& table,
                std::string& error) {
  if (!workbook.SelectSheet(index, error)) return false;
  const std::uint32_t rows = workbook.Rows();
  // A sheet with no cells still becomes a table, with one empty column.
  const std::uint16_t columns = workbook.Columns() > 0 ? workbook.Columns() : 1;
  WorkbookCell cell;

  std::vector<std::string> headers(columns);
  if (rows > 0) {
    for (std::uint16_t column = 0; column < workbook.Columns(); ++column) {
      if (!workbook.Cell(0, column, cell, error)) return false;
      headers[column] = CellDisplayText(cell);
    }
  }
  std::vector<std::string> names = UniqueColumnNames(headers);

  std::vector<WorkbookColumnCensus> census(columns);
  for (std::uint32_t row = 1; row < rows; ++row) {
    for (std::uint16_t column = 0; column < workbook.Columns(); ++column) {
      if (!workbook.Cell(row, column, cell, error)) return false;
      census[column].Add(cell);
    }
  }
  std::vector<ColumnDefinition> definitions(columns);
  for (std::uint16_t column = 0; column < columns; ++column) {
    definitions[column] = {names[column], census[column].Result()};
  }

  table = workbook.SheetName(index) + "$";
  if (!writer.BeginTable(table, definitions, error)) return false;
  for (std::uint32_t row = 1; row < rows; ++row) {
    for (std::uint16_t column = 0; column < workbook.Columns(); ++column) {
      if (!workbook.Cell(row, column, cell, error)) return false;
      BindWorkbookCell(writer, column, definitions[column].type, cell);
    }
    if (!writer.InsertRow(error)) return false;
  }
  writer.EndTable();
  return true;
}

}  // namespace

ImportResult ConvertWorkbook(const std::string& xlsPath) {
  ImportResult result;
  WorkbookReader workbook;
  if (!workbook.Open(xlsPath, result.error)) return result;
  if (workbook.SheetCount() == 0) {
    result.error = "Cannot read the Excel file " + xlsPath + ": the workbook has no worksheet.";
    return result;
  }
  TemporaryDatabase database;
  if (!TemporaryDatabase::Create(database, result.error)) return result;
  SqliteTableWriter writer;
  if (!writer.Open(database.Path(), result.error)) return result;
  for (std::size_t index = 0; index < workbook.SheetCount(); ++index) {
    std::string table;
    if (!WriteSheet(workbook, index, writer, table, result.error)) {
      result.tables.clear();
      return result;  // `database` deletes the file
    }
    result.tables.push_back(table);
  }
  if (!writer.Commit(result.error)) {
    result.tables.clear();
    return result;
  }
  result.database = std::move(database);
  result.ok = true;
  return result;
}

}  // namespace tallowick
