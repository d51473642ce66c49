// Feeds arbitrary bytes to the readers: the bytes are written to a file that
// is read as a Helper file and as a PDB, and every record is decoded.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/field_text.h"
#include "engine/helper_file.h"
#include "engine/pdb_file.h"

namespace {

constexpr const char* kInputName = "InputHelper.mhl";

const std::string& InputFolder() {
  static const std::string folder = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/tallowick-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) abort();
    return pattern + "/";
  }();
  return folder;
}

void RemoveInput() {
  unlink((InputFolder() + kInputName).c_str());
  rmdir(InputFolder().c_str());
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
  // The folder exists before the clean-up is registered, so it outlives it.
  static const bool cleanup = !InputFolder().empty() && std::atexit(RemoveInput) == 0;
  (void)cleanup;
  std::FILE* file = std::fopen((InputFolder() + kInputName).c_str(), "wb");
  if (file == nullptr) abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) abort();
  std::fclose(file);
}

// Reads the input as a PDB and decodes every record with `kinds`.
void DecodeAll(const std::vector<std::uint8_t>& kinds) {
  tallowick::PdbFile file(kInputName, InputFolder(), ".mhl");
  tallowick::PdbHeader header;
  std::vector<tallowick::PdbRecordEntry> entries;
  std::uint16_t count = 0;
  if (!file.ReadRecordList(header, entries, count)) return;
  for (std::size_t i = 0; i < count; ++i) {
    const auto record = file.ReadRecord(entries, i, count);
    if (!record) continue;
    // The buffer holds the record and one spare byte that is not part of it.
    const auto texts = tallowick::DecodeRecordFields(record->data(), record->size() - 1, kinds);
    if (texts.size() != kinds.size()) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteInput(data, size);

  const auto helper = tallowick::ReadHelperFile(InputFolder() + kInputName);
  if (helper) {
    std::vector<std::uint8_t> kinds;
    for (const auto& field : helper->fields) kinds.push_back(field.kind);
    DecodeAll(kinds);
  }
  // Every kind, unknown ones included, in a fixed order and in an order the
  // input chooses from its last bytes.
  DecodeAll({1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 255});
  std::vector<std::uint8_t> chosen;
  for (std::size_t i = 0; i < 12 && i < size; ++i) chosen.push_back(data[size - 1 - i] % 10);
  DecodeAll(chosen);
  return 0;
}
