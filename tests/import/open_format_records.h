#pragma once
// What a PDB generated with "SELECT *" from the files make_csv_files.py and
// make_xlsx_workbooks.py write holds, record byte by record byte, and how to
// read a generated PDB and its Helper file back. The command line's and the
// generator page's tests compare against the same bytes.
//
// The field layouts are written out here on their own, not taken from the
// engine: Long and Double big-endian, a Date one word of (year - 1904) << 9 |
// month << 5 | day, a DateTime seven words (second, minute, hour, day, month,
// year, week day), a Bit one word, a String its bytes in the handheld's set
// (Windows-1252 here) and a NUL. A NULL is its field's size in zero bytes,
// an empty String for text.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/field_kind.h"
#include "engine/helper_file.h"
#include "engine/pdb_file.h"

namespace tallowick::import_test {

// The bytes of one expected record, built field by field.
class RecordBytes {
 public:
  RecordBytes& Long(std::int32_t value) { return Word(static_cast<std::uint32_t>(value), 4); }
  RecordBytes& Double(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return Word(bits, 8);
  }
  RecordBytes& Date(int year, int month, int day) {
    return Word(static_cast<std::uint64_t>(((year - 1904) & 127) << 9 | month << 5 | day), 2);
  }
  // `weekDay` as the handheld counts it: Monday 1 ... Sunday 7.
  RecordBytes& Stamp(int year, int month, int day, int hour, int minute, int second, int weekDay) {
    for (int word : {second, minute, hour, day, month, year, weekDay}) {
      Word(static_cast<std::uint64_t>(word), 2);
    }
    return *this;
  }
  RecordBytes& Bit(bool value) { return Word(value ? 1 : 0, 2); }
  RecordBytes& Text(std::string_view handheldBytes) {
    m_bytes.append(handheldBytes);
    m_bytes += '\0';
    return *this;
  }
  // A NULL in a fixed-size field of `size` bytes.
  RecordBytes& Null(std::size_t size) {
    m_bytes.append(size, '\0');
    return *this;
  }
  operator std::string() const { return m_bytes; }

 private:
  RecordBytes& Word(std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) m_bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return *this;
  }
  std::string m_bytes;
};

struct ExpectedPdb {
  std::vector<std::string> kinds;    // FieldKindName of each field of the Helper file
  std::vector<std::string> records;  // each record's bytes
};

inline constexpr std::size_t kLongNull = 4, kDoubleNull = 8, kDateNull = 2, kStampNull = 14,
                             kBitNull = 2;

// Each record on its own lines, field by field in column order.
// clang-format off

// The rows of make_csv_files.py, whatever the quoting or the delimiter:
// Name, Count, Amount, Day, Stamp, Paid, Note, F8, name_2, Code, Big.
inline ExpectedPdb CsvRowsPdb() {
  using R = RecordBytes;
  return {{"String", "Long", "Double", "Date", "DateTime", "Short", "String", "String", "String",
           "String", "Double"},
          {R().Text("Zo\xEB").Long(7).Double(1.5).Date(2003, 7, 15)
              .Stamp(2003, 7, 15, 14, 35, 59, 2).Bit(true).Text("says \"hi\", twice").Text("x")
              .Text("a").Text("007").Double(12345678901.0),
           R().Text("Bob").Long(INT32_MIN).Double(-3).Date(1900, 1, 1)
              .Stamp(1999, 12, 31, 23, 59, 59, 5).Bit(false).Text("two\nlines").Text("")
              .Text("b").Text("42").Double(3),
           R().Text("").Null(kLongNull).Null(kDoubleNull).Null(kDateNull)
              .Stamp(2024, 2, 29, 0, 0, 0, 4).Null(kBitNull).Text("").Text("")
              .Text("").Text("").Null(kDoubleNull),
           R().Text("Ann").Long(INT32_MAX).Double(2000).Date(2024, 2, 29)
              .Stamp(2024, 2, 29, 0, 0, 0, 4).Bit(false).Text(" spaced ").Text("y")
              .Text("c").Text("1").Double(4)}};
}

// western.csv, written by hand in Windows-1252: Ville, Prix.
inline ExpectedPdb WesternCsvPdb() {
  using R = RecordBytes;
  return {{"String", "String"},
          {R().Text("Orl\xE9" "ans").Text("\x80 5"),
           R().Text("Caf\xE9").Text("3")}};
}

// main.xlsx, sheet "Sheet1": Name, Amount, Born, Stamp, Active, Mixed, F7,
// Name_2, Clock, Formula, Custom, Count. A time of day alone is a
// timestamp on 1899-12-30, whose week day the handheld's rule takes from
// 2003-12-30.
inline ExpectedPdb MainSheetPdb() {
  using R = RecordBytes;
  return {{"String", "Double", "Date", "DateTime", "Short", "String", "String", "String",
           "DateTime", "String", "Date", "Double"},
          {R().Text("Zo\xEB").Double(1.5).Date(2003, 7, 15).Stamp(2003, 7, 15, 14, 35, 59, 2)
              .Bit(true).Text("abc").Text("").Text("x").Stamp(1899, 12, 30, 14, 35, 59, 2)
              .Text("3").Date(2003, 7, 15).Double(7),
           R().Text("Bob").Double(42).Date(1900, 1, 1).Stamp(1999, 12, 31, 23, 59, 59, 5)
              .Bit(false).Text("3").Text("").Text("y").Stamp(1899, 12, 30, 0, 0, 1, 2)
              .Text("twenty").Date(1900, 1, 1).Double(-3),
           R().Text("").Null(kDoubleNull).Null(kDateNull).Null(kStampNull).Null(kBitNull)
              .Text("").Text("").Text("").Null(kStampNull).Text("#DIV/0!").Null(kDateNull)
              .Null(kDoubleNull),
           R().Text("Last").Double(0.1).Date(2024, 2, 29).Stamp(2024, 2, 29, 0, 0, 0, 4)
              .Bit(true).Text("TRUE").Text("").Text("").Null(kStampNull).Text("TRUE")
              .Date(2024, 2, 29).Double(0)}};
}

// main.xlsx, sheet "Données": Ville, Code.
inline ExpectedPdb SecondSheetPdb() {
  using R = RecordBytes;
  return {{"String", "Double"},
          {R().Text("Z\xFCrich").Double(8001), R().Text("Gen\xE8ve").Double(1201)}};
}

// clang-format on

// The records of `name`.pdb in `folder`, each without the reader's spare
// byte; one "(unreadable)" entry when the file cannot be read.
inline std::vector<std::string> PdbRecords(const std::string& folder, const std::string& name) {
  PdbFile pdb(name, folder + "/", ".pdb");
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  if (!pdb.ReadRecordList(header, entries, count)) return {"(unreadable)"};
  std::vector<std::string> records;
  for (std::size_t i = 0; i < count; ++i) {
    const auto record = pdb.ReadRecord(entries, i, count);
    if (!record) return {"(unreadable)"};
    records.emplace_back(record->begin(), record->end() - 1);
  }
  return records;
}

// The kind of each field the Helper file at `path` names.
inline std::vector<std::string> HelperKinds(const std::string& path) {
  const auto helper = ReadHelperFile(path);
  if (!helper) return {"(unreadable)"};
  std::vector<std::string> kinds;
  for (const HelperField& field : helper->fields) {
    kinds.emplace_back(FieldKindName(field.kind));
  }
  return kinds;
}

}  // namespace tallowick::import_test
