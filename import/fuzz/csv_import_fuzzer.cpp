// Fuzzes the whole import of a CSV file through ConvertDelimitedText, the
// input being the file; its first byte picks the delimiter and encoding
// choices a user can make (found from the file, or given).
#include <cstdint>
#include <cstdlib>

#include "import/fuzz/fuzz_files.h"
#include "import/source_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallowick;
  if (size == 0) return 0;
  constexpr char kDelimiters[] = {0, ',', ';', '\t'};
  constexpr int kCodePages[] = {0, 65001, 1252, 932};
  DelimitedTextOptions options;
  options.delimiter = kDelimiters[data[0] & 3];
  options.codePage = kCodePages[(data[0] >> 2) & 3];
  const std::string path = fuzz::FuzzFolder() + "/w.csv";
  fuzz::WriteInput(path, data + 1, size - 1);
  {
    ImportResult result = ConvertDelimitedText(path, options);
    if (result.ok != result.database.Holds() || result.ok == !result.error.empty()) std::abort();
    if (!result.ok && result.error.find(path) == std::string::npos) std::abort();
    if (result.ok && result.tables.size() != 1) std::abort();
  }
  fuzz::ExpectNothingLeftBehind();
  return 0;
}
