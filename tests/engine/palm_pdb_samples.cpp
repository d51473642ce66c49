// Writes databases with the engine into the folder given, and a manifest of
// what each must hold (manifest.json) for an independent reader to check.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/field_encoder.h"
#include "engine/generation_job.h"
#include "engine/helper_file.h"
#include "engine/pdb_file.h"
#include "engine/record_arena.h"
#include "engine/value_layout.h"

namespace {

using namespace tallowick;
using Record = std::vector<unsigned char>;

struct Expected {
  std::string file;
  std::string name;  // as the header must hold it
  std::string creator;
  std::string type;
  std::vector<Record> records;
};

std::string Hex(const Record& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : bytes) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

bool WriteEntries(const std::string& folder, const Expected& expected) {
  std::vector<PdbRecordEntry> entries(expected.records.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(expected.records[i].size());
    entries[i].data = expected.records[i].data();
  }
  PdbFile file(expected.file.substr(0, expected.file.size() - 4), folder, ".pdb");
  return file.Write(entries, expected.creator, expected.type,
                    static_cast<std::uint16_t>(entries.size()));
}

// A query result of three columns held in memory.
class SampleRows : public ResultSource {
 public:
  explicit SampleRows(std::size_t rows) : m_rows(rows) {}
  bool DescribeColumn(std::uint16_t number, std::string& name, std::int16_t& sqlType) override {
    static const char* names[] = {"ID", "Name", "Photo", "Born"};
    static const std::int16_t types[] = {4, 12, -4, 93};
    if (number < 1 || number > 4) return false;
    name = names[number - 1];
    sqlType = types[number - 1];
    return true;
  }
  bool Execute() override { return true; }
  bool BindColumn(ColumnInfo& column) override {
    if (column.bindType != bind::None) m_bound.push_back(&column);
    return true;
  }
  FetchStatus FetchNext() override {
    if (m_row == m_rows) return FetchStatus::NoData;
    for (ColumnInfo* column : m_bound) Fill(m_row, *column);
    ++m_row;
    return FetchStatus::Row;
  }
  std::string Diagnostic() override { return "none  00000"; }

  // The record the row must become, encoded from columns of our own.
  Record Expected(std::size_t row) {
    Record record;
    for (std::uint16_t number = 1; number <= 4; ++number) {
      std::string name;
      std::int16_t sqlType = 0;
      DescribeColumn(number, name, sqlType);
      ColumnInfo column = MakeColumnInfo(number, name, sqlType);
      if (!column.kind) continue;
      column.value.assign(kValueBufferSize, 0);
      Fill(row, column);
      EncodeField(column, record);
    }
    return record;
  }

 private:
  static void Fill(std::size_t row, ColumnInfo& column) {
    if (column.bindType == bind::Long) {
      const auto id = static_cast<std::int32_t>(row * 7919 - 1000);
      std::memcpy(column.value.data(), &id, sizeof id);
      column.indicator = 4;
    } else if (column.bindType == bind::Char) {
      const std::string name = row % 5 == 0 ? "" : "Name\t" + std::to_string(row) + "\r\n";
      std::memcpy(column.value.data(), name.c_str(), name.size() + 1);
      column.indicator = row % 10 == 0 ? -1 : static_cast<std::int64_t>(name.size());
    } else {
      const SqlTimestampValue born{static_cast<std::int16_t>(1950 + row % 80),
                                   static_cast<std::uint16_t>(1 + row % 12),
                                   static_cast<std::uint16_t>(1 + row % 28),
                                   static_cast<std::uint16_t>(row % 24),
                                   30,
                                   15,
                                   0};
      std::memcpy(column.value.data(), &born, sizeof born);
      column.indicator = row % 7 == 0 ? -1 : 16;
    }
  }

  std::size_t m_rows;
  std::size_t m_row = 0;
  std::vector<ColumnInfo*> m_bound;
};

class NoNotices : public NoticeSink {
 public:
  void Notice(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER/\n", argv[0]);
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  std::vector<Expected> all;
  bool ok = true;

  all.push_back({"Empty.pdb", "Empty", "EMPT", "DATA", {}});
  all.push_back({"FiveSeven.pdb",
                 "FiveSeven",
                 "CRTR",
                 "TYPE",
                 {{1, 2, 3, 4, 5}, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7}}});
  const std::string longName = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  all.push_back({longName + ".pdb", longName.substr(0, 31), "LONG", "NAME", {{0x42}}});
  for (std::size_t i = 0; i < 3; ++i) ok = WriteEntries(folder, all[i]) && ok;

  // Records of many lengths, empty ones among them, through contiguous records.
  Expected many{"Many.pdb", "Many", "MANY", "RECS", {}};
  RecordArena arena;
  for (std::size_t i = 0; i < 1000; ++i) {
    Record record(i % 13 == 0 ? 0 : i % 97 + 1);
    for (std::size_t j = 0; j < record.size(); ++j) record[j] = static_cast<unsigned char>(i + j);
    arena.Append(record.data(), record.size());
    arena.EndRecord();
    many.records.push_back(record);
  }
  ok = PdbFile("Many", folder, ".pdb").Write(arena, many.creator, many.type) && ok;
  all.push_back(many);

  // A whole generation run: the PDB and its Helper file.
  SampleRows rows(500);
  NoNotices notices;
  GenerationJob job(notices);
  ok = job.Generate(rows, {folder, 4, "Customers", "CUST", "DATA"}) == 1 && ok;
  Expected customers{"Customers.pdb", "Customers", "CUST", "DATA", {}};
  for (std::size_t row = 0; row < 500; ++row) customers.records.push_back(rows.Expected(row));
  all.push_back(customers);
  all.push_back(
      {"CustomersHelper.mhl", "CustomersHelper", "HWRP", "HWRP",
       BuildHelperRecords("Customers", "CUST", "DATA", {{4, "ID"}, {1, "Name"}, {6, "Born"}})});

  std::FILE* manifest = std::fopen((folder + "manifest.json").c_str(), "w");
  if (manifest == nullptr || !ok) {
    std::fprintf(stderr, "cannot write the sample databases into %s\n", folder.c_str());
    return 1;
  }
  std::fprintf(manifest, "[\n");
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Expected& e = all[i];
    std::fprintf(manifest,
                 "  {\"file\": \"%s\", \"name\": \"%s\", \"creator\": \"%s\", \"type\": \"%s\", "
                 "\"records\": [",
                 e.file.c_str(), e.name.c_str(), e.creator.c_str(), e.type.c_str());
    for (std::size_t r = 0; r < e.records.size(); ++r) {
      std::fprintf(manifest, "%s\"%s\"", r == 0 ? "" : ", ", Hex(e.records[r]).c_str());
    }
    std::fprintf(manifest, "]}%s\n", i + 1 < all.size() ? "," : "");
  }
  std::fprintf(manifest, "]\n");
  return std::fclose(manifest) == 0 ? 0 : 1;
}
