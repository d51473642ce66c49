// Fuzzes our reading of .xls files in memory, with no file or database in
// the way: the compound file, the BIFF records, shared strings and text
// split over CONTINUE records, number formats.
#include <cstdint>
#include <string>

#include "import/workbook_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallowick;
  BiffWorkbook workbook;
  std::string why;
  const bool read = ReadWorkbookBytes(ByteView(data, size), workbook, why);
  // Either a workbook or a reason, and every cell's text where it points.
  if (read == !why.empty()) __builtin_trap();
  for (const BiffSheet& sheet : workbook.sheets) {
    for (const BiffCell& cell : sheet.cells) {
      if (cell.column >= 256) __builtin_trap();
      if ((cell.kind == CellKind::Text || cell.kind == CellKind::Error) &&
          cell.text >= workbook.strings.size()) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
