// Fuzzes the whole import of an .xlsx workbook through ConvertWorkbook, the
// input being the file: the zip archive, its XML parts, typing the columns,
// writing the database.
#include <cstdint>
#include <cstdlib>

#include "import/fuzz/fuzz_files.h"
#include "import/source_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallowick;
  const std::string path = fuzz::FuzzFolder() + "/w.xlsx";
  fuzz::WriteInput(path, data, size);
  {
    ImportResult result = ConvertWorkbook(path);
    if (result.ok != result.database.Holds() || result.ok == !result.error.empty()) std::abort();
    if (!result.ok && result.error.find(path) == std::string::npos) std::abort();
  }
  fuzz::ExpectNothingLeftBehind();
  return 0;
}
