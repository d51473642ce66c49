// Fuzzes our own reading of .xls files in memory: the compound file, the
// BIFF records, strings split over CONTINUE records, number formats.
#include <cstdint>

#include "import/biff_cell_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tallowick::BiffScan scan = tallowick::ScanBiffCells(tallowick::ByteView(data, size));
  // Every offset handed back lies inside the file, room for two bytes.
  for (std::size_t offset : scan.dateFormatIndexOffsets) {
    if (offset + 2 > size) __builtin_trap();
  }
  return 0;
}
