#pragma once
// Reads an Office Open XML workbook (.xlsx, .xlsm): the package's
// relationships lead to the workbook part, its sheets (hidden ones too; chart
// and dialog sheets are left out), the styles and the shared strings; each
// worksheet's cells are read by xlsx_sheet_reader.h into the same cell list
// the .xls reader fills, so both are written to tables alike.
#include <string>

#include "import/biff_cell_scanner.h"
#include "import/byte_view.h"

namespace tallowick {

// True when `file` starts like a zip archive.
bool LooksLikeZip(ByteView file);

// The workbook held in `file`. On failure `why` completes the sentence
// "Cannot read the Excel file F: ..." (without the full stop).
bool ReadXlsxBytes(ByteView file, BiffWorkbook& out, std::string& why);

}  // namespace tallowick
