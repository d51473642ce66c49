// ConvertWorkbook: every worksheet of an .xls file into the temporary database.
#include <algorithm>
#include <vector>

#include "import/child_process.h"
#include "import/column_names.h"
#include "import/source_import.h"
#include "import/sqlite_table_writer.h"
#include "import/workbook_column_typing.h"
#include "import/workbook_reader.h"

namespace tallowick {
namespace {

bool WriteSheet(WorkbookReader& workbook, std::size_t index, SqliteTableWriter& writer, std::string& table,
                std::string& error) {
  if (!workbook.SelectSheet(index, error)) return false;
  WorkbookCell cell;

  // The sheet's stated size may run past its last value; the table ends at
  // the last row and the last column that hold something (at least one).
  std::vector<std::string> headers(workbook.Columns());
  std::vector<WorkbookColumnCensus> census(workbook.Columns());
  std::uint16_t columns = 1;
  std::uint32_t rows = 0;  // data rows, after the header
  for (std::uint32_t row = 0; row < workbook.Rows(); ++row) {
    for (std::uint16_t column = 0; column < workbook.Columns(); ++column) {
      if (!workbook.Cell(row, column, cell, error)) return false;
      if (cell.kind == CellKind::Empty) continue;
      columns = std::max<std::uint16_t>(columns, column + 1);
      if (row == 0) {
        headers[column] = CellDisplayText(cell);
      } else {
        census[column].Add(cell);
        rows = row;
      }
    }
  }
  headers.resize(columns);
  std::vector<std::string> names = UniqueColumnNames(headers);
  std::vector<ColumnDefinition> definitions(columns);
  for (std::uint16_t column = 0; column < columns; ++column) {
    definitions[column] = {names[column], column < census.size() ? census[column].Result() : ColumnType::Varchar};
  }

  table = workbook.SheetName(index) + "$";
  if (!writer.BeginTable(table, definitions, error)) return false;
  for (std::uint32_t row = 1; row <= rows; ++row) {
    for (std::uint16_t column = 0; column < columns; ++column) {
      if (!workbook.Cell(row, column, cell, error)) return false;
      BindWorkbookCell(writer, column, definitions[column].type, cell);
    }
    if (!writer.InsertRow(error)) return false;
  }
  writer.EndTable();
  return true;
}

// The conversion proper: every sheet into the database at `databasePath`.
bool WriteWorkbook(const std::string& xlsPath, const std::string& databasePath, std::vector<std::string>& tables,
                   std::string& error) {
  WorkbookReader workbook;
  if (!workbook.Open(xlsPath, error)) return false;
  if (workbook.SheetCount() == 0) {
    error = "Cannot read the Excel file " + xlsPath + ": the workbook has no worksheet.";
    return false;
  }
  SqliteTableWriter writer;
  if (!writer.Open(databasePath, error)) return false;
  for (std::size_t index = 0; index < workbook.SheetCount(); ++index) {
    std::string table;
    if (!WriteSheet(workbook, index, writer, table, error)) return false;
    tables.push_back(table);
  }
  return writer.Commit(error);
}

// The child's answer: 'T' and the table names, or 'E' and the error, the
// parts separated by NUL bytes.
std::string EncodeAnswer(bool ok, const std::vector<std::string>& tables, const std::string& error) {
  std::string answer(1, ok ? 'T' : 'E');
  if (!ok) return answer + error;
  for (const std::string& table : tables) {
    answer += table;
    answer += '\0';
  }
  return answer;
}

void DecodeAnswer(const std::string& answer, ImportResult& result) {
  if (answer.empty() || answer[0] != 'T') {
    result.error = answer.empty() ? std::string("no answer") : answer.substr(1);
    return;
  }
  std::size_t start = 1;
  for (std::size_t end; (end = answer.find('\0', start)) != std::string::npos; start = end + 1) {
    result.tables.push_back(answer.substr(start, end - start));
  }
  result.ok = true;
}

}  // namespace

ImportResult ConvertWorkbook(const std::string& xlsPath) {
  ImportResult result;
  TemporaryDatabase database;
  if (!TemporaryDatabase::Create(database, result.error)) return result;
  // FreeXL reads the workbook in a child process: a fault of it on a damaged
  // file must not take the program down.
  std::string answer;
  bool finished = RunInChildProcess(
      [&] {
        std::vector<std::string> tables;
        std::string error;
        bool ok = WriteWorkbook(xlsPath, database.Path(), tables, error);
        return EncodeAnswer(ok, tables, error);
      },
      answer);
  if (!finished) {
    result.error = "Cannot read the Excel file " + xlsPath + ": the workbook is damaged (" + answer + ").";
    return result;  // `database` deletes the file
  }
  DecodeAnswer(answer, result);
  if (result.ok) result.database = std::move(database);
  return result;
}

}  // namespace tallowick
