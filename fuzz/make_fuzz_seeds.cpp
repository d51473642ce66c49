// Writes the fuzzer's seed corpus into the folder given: Helper files and
// PDBs made by the engine itself, with every field kind.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/column_info.h"
#include "engine/field_encoder.h"
#include "engine/helper_file.h"
#include "engine/pdb_file.h"
#include "engine/value_layout.h"

namespace {

using tallowick::ColumnInfo;

template <class T>
ColumnInfo Column(std::int16_t sqlType, const T& value) {
  ColumnInfo column = tallowick::MakeColumnInfo(1, "c", sqlType);
  column.value.assign(tallowick::kValueBufferSize, 0);
  std::memcpy(column.value.data(), &value, sizeof value);
  column.indicator = sizeof value;
  return column;
}

ColumnInfo Text(const char* text) {
  ColumnInfo column = tallowick::MakeColumnInfo(1, "c", 12);
  column.value.assign(tallowick::kValueBufferSize, 0);
  std::memcpy(column.value.data(), text, std::strlen(text) + 1);
  column.indicator = static_cast<std::int64_t>(std::strlen(text));
  return column;
}

bool WriteDatabase(const std::string& folder, const std::string& name,
                   const std::vector<std::vector<unsigned char>>& records) {
  std::vector<tallowick::PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
  }
  return tallowick::PdbFile(name, folder, ".pdb")
      .Write(entries, "SEED", "DATA", static_cast<std::uint16_t>(records.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER/\n", argv[0]);
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';

  // One record per row of every kind, then the Helper file that describes it.
  const std::vector<ColumnInfo> row = {
      Text("text\twith\r\nbreaks"),
      Column(8, 1.5),
      Column(7, -2.25f),
      Column(4, std::int32_t{-7}),
      Column(5, std::int16_t{300}),
      Column(93, tallowick::SqlTimestampValue{2003, 5, 17, 15, 4, 9, 0}),
      Column(10, tallowick::SqlTimeValue{8, 5, 0}),
      Column(91, tallowick::SqlDateValue{2003, 7, 15}),
      Column(-6, std::uint8_t{255}),
  };
  std::vector<unsigned char> record;
  std::vector<tallowick::HelperField> fields;
  for (const ColumnInfo& column : row) {
    tallowick::EncodeField(column, record);
    fields.push_back({static_cast<std::uint8_t>(*column.kind), "field"});
  }
  bool ok = WriteDatabase(folder, "AllKinds", {record, record, {}});
  ok = tallowick::WriteHelperFile(folder, "AllKinds", "SEED", "DATA", fields) && ok;
  ok = tallowick::WriteHelperFile(folder, "NoFields", "HWRP", "HWRP", {}) && ok;
  ok = WriteDatabase(folder, "Empty", {}) && ok;
  ok = WriteDatabase(folder, "Short", {{0, 0, 0, 1, 'a'}, {0}}) && ok;
  if (!ok) {
    std::fprintf(stderr, "cannot write the seeds into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
