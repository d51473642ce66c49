#pragma once
// Turns an Excel workbook (.xls, .xlsx, .xlsm), a folder of dBase tables
// (.dbf) or a CSV file (.csv, .tsv, .txt) into a private temporary SQLite database, which the
// connection then serves through the SQLite3 ODBC driver, so every later step reads it through ODBC
// like any other source.
//
// Workbook: each worksheet (hidden ones too) becomes a table named "<sheet>$" (so "[Sheet1$]"
// works in a query), its first row naming the columns; see
// workbook_column_typing.h for the column types.
// dBase: each .dbf file of the folder (extension in any case) becomes a table
// named after its file without the extension; dBase III/IV/7, FoxPro 2 and
// Visual FoxPro with their .dbt/.fpt memo files, text decoded from the
// table's code page to UTF-8, deleted rows left out; see dbf_column_typing.h.
// CSV: one table named after the file without its extension ("orders.csv"
// -> "orders"), its first row naming the columns; see csv_reader.h for the
// format and csv_column_typing.h for the column types.
//
// On failure no file is left behind and the error names the file at fault.
#include <string>
#include <vector>

#include "import/delimited_text_options.h"
#include "import/file_converter.h"
#include "import/temporary_database.h"

namespace tallowick {

struct ImportResult {
  bool ok = false;
  // The converted database; its owner deletes it (hold it until Disconnect).
  TemporaryDatabase database;
  // When !ok: what went wrong, naming the file.
  std::string error;
  // The tables created, in the order they were written.
  std::vector<std::string> tables;
  // dBase tables of the folder that could not be read and were left out,
  // one message each naming the file; the others were converted whole.
  std::vector<std::string> skipped;
};

// Every worksheet of the workbook at `xlsPath`: an .xls file, or an .xlsx
// or .xlsm one (a zip archive).
ImportResult ConvertWorkbook(const std::string& xlsPath);

// The CSV file at `path`, read as `options` say.
ImportResult ConvertDelimitedText(const std::string& path, const DelimitedTextOptions& options);

// Every .dbf table of `folder`. A table that cannot be read is left out and
// listed in `skipped`; the result fails only when no table could be read.
ImportResult ConvertDbfFolder(const std::string& folder);

// Every .dbf table of the folder that holds `dbfPath`, as ConvertDbfFolder;
// fails (with that table's message) when `dbfPath` itself cannot be read.
ImportResult ConvertDbfFileFolder(const std::string& dbfPath);

// The workbook, the dBase folder or the CSV file at `sourcePath`; `text`
// says how a CSV file is read.
ImportResult ConvertFileSource(ConvertedFile what, const std::string& sourcePath,
                               const DelimitedTextOptions& text = {});

}  // namespace tallowick
