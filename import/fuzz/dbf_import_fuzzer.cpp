// Fuzzes the dBase reader through ConvertDbfFolder. Input layout:
//   byte 0      bit 0: a memo file is present; bit 1: it is .fpt, not .dbt
//   bytes 1..4  length of the table part (little-endian, cut to what is left)
//   then        the .dbf bytes, then the memo file's bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "import/fuzz/fuzz_files.h"
#include "import/source_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallowick;
  if (size < 5) return 0;
  const std::string& folder = fuzz::FuzzFolder();
  const std::uint8_t flags = data[0];
  std::size_t tableLength =
      static_cast<std::size_t>(data[1]) | static_cast<std::size_t>(data[2]) << 8 |
      static_cast<std::size_t>(data[3]) << 16 | static_cast<std::size_t>(data[4]) << 24;
  data += 5;
  size -= 5;
  if (tableLength > size) tableLength = size;
  const std::string table = folder + "/t.dbf";
  const std::string memo = folder + ((flags & 2) ? "/t.fpt" : "/t.dbt");
  unlink((folder + "/t.fpt").c_str());
  unlink((folder + "/t.dbt").c_str());
  fuzz::WriteInput(table, data, tableLength);
  if (flags & 1) fuzz::WriteInput(memo, data + tableLength, size - tableLength);
  {
    ImportResult result = ConvertDbfFolder(folder);
    // Either a database and no message, or a message naming the table.
    if (result.ok != result.database.Holds() || result.ok == !result.error.empty()) std::abort();
    if (!result.ok && result.error.find(table) == std::string::npos) std::abort();
  }
  fuzz::ExpectNothingLeftBehind();
  return 0;
}
