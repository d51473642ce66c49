#pragma once
// Reads an .xls workbook (Excel 5 to 2003): the OLE2 compound file, its
// workbook stream and the cells of every worksheet (biff_cell_scanner.h);
// or, when the file is a zip archive or named .xlsx/.xlsm, an Office Open
// XML workbook (xlsx_reader.h) into the same cell list.
#include <string>

#include "import/biff_cell_scanner.h"
#include "import/byte_view.h"

namespace tallowick {

// The workbook held in `file`. On failure `why` completes the sentence
// "Cannot read the Excel file F: ..." (without the full stop).
bool ReadWorkbookBytes(ByteView file, BiffWorkbook& out, std::string& why);

// The workbook at `path`; on failure `error` says why and names the file.
bool ReadWorkbookFile(const std::string& path, BiffWorkbook& out, std::string& error);

}  // namespace tallowick
