// Table layouts python3-dbf does not write, built byte by byte: dBase IV
// memo blocks, Visual FoxPro null flags and varchar fields, dBase 7 field
// descriptors and integers, double-byte and unmarked code pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "import/source_import.h"
#include "tests/import/import_test_support.h"

namespace tallowick {
namespace {

using import_test::DeclaredColumns;
using import_test::QueryRows;
using import_test::Row;
using import_test::ScratchFolder;
using import_test::WriteFile;

using Columns = std::vector<std::pair<std::string, std::string>>;

std::optional<std::string> S(const std::string& text) { return text; }
constexpr std::nullopt_t N = std::nullopt;

struct Field {
  std::string name;
  char type;
  std::uint8_t length;
  std::uint8_t decimals = 0;
  std::uint8_t flags = 0;
};

void PutLE(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::string LE32(std::uint32_t value) {
  std::string out(4, '\0');
  PutLE(out, 0, value, 4);
  return out;
}

std::string BE32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string BE64(std::uint64_t value) {
  return BE32(static_cast<std::uint32_t>(value >> 32)) + BE32(static_cast<std::uint32_t>(value));
}

// A table file: header, field descriptors (48 bytes for dBase 7), the
// terminator, Visual FoxPro's backlink, then `records` (each with its
// deletion flag) and the end-of-file mark.
std::string BuildTable(std::uint8_t version, std::uint8_t languageDriver,
                       const std::vector<Field>& fields, const std::vector<std::string>& records) {
  const bool level7 = (version & 0x07) == 4;
  const bool visual = version == 0x30 || version == 0x31 || version == 0x32;
  const std::size_t descriptorSize = level7 ? 48 : 32;
  std::size_t recordLength = 1;
  for (const Field& field : fields) recordLength += field.length;
  std::string header(level7 ? 68 : 32, '\0');
  header[0] = static_cast<char>(version);
  PutLE(header, 4, static_cast<std::uint32_t>(records.size()), 4);
  PutLE(header, 10, static_cast<std::uint32_t>(recordLength), 2);
  header[29] = static_cast<char>(languageDriver);
  for (const Field& field : fields) {
    std::string descriptor(descriptorSize, '\0');
    std::memcpy(descriptor.data(), field.name.data(), field.name.size());
    descriptor[level7 ? 32 : 11] = field.type;
    descriptor[level7 ? 33 : 16] = static_cast<char>(field.length);
    descriptor[level7 ? 34 : 17] = static_cast<char>(field.decimals);
    if (!level7) descriptor[18] = static_cast<char>(field.flags);
    header += descriptor;
  }
  header += '\x0D';
  if (visual) header += std::string(263, '\0');
  PutLE(header, 8, static_cast<std::uint32_t>(header.size()), 2);
  for (const std::string& record : records) {
    EXPECT_EQ(record.size(), recordLength) << "record built with the wrong length";
    header += record;
  }
  return header + '\x1A';
}

class DbfLayoutTest : public ::testing::Test {
 protected:
  // Converts the one table `file` (plus a memo file when given).
  ImportResult Convert(const std::string& table, const std::string& memoName = {},
                       const std::string& memo = {}) {
    WriteFile(m_folder.File("t.dbf"), table);
    if (!memoName.empty()) WriteFile(m_folder.File(memoName), memo);
    return ConvertDbfFolder(m_folder.Path());
  }
  ScratchFolder m_folder;
};

TEST_F(DbfLayoutTest, DBaseFourMemoBlocksCarryTheirLength) {
  // Block size 512 at offset 20; block 1 dBase IV style (FF FF 08 00 and a
  // length that counts its 8 header bytes), block 2 the dBase III way.
  std::string memo(512, '\0');
  PutLE(memo, 0, 3, 4);
  PutLE(memo, 20, 512, 2);
  std::string block1 = std::string("\xFF\xFF\x08\x00", 4) + LE32(8 + 11) + "with \x1A byte";
  block1.resize(512, '\0');
  std::string block2 = "dBase III text\x1A\x1A";
  memo += block1 + block2;
  std::vector<Field> fields = {{"NOTE", 'M', 10}};
  ImportResult result = Convert(
      BuildTable(0x8B, 0x03, fields, {"          1", " 2         ", "           "}), "t.dbt", memo);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT NOTE FROM t ORDER BY rowid"),
            (std::vector<Row>{{S("with \x1A byte")}, {S("dBase III text")}, {S("")}}));
}

TEST_F(DbfLayoutTest, VisualFoxProNullFlagsAndVarcharFollowFieldOrder) {
  // KEY is not nullable and takes no bit; NAME (V, nullable) takes bit 0
  // for "shorter than the field" and bit 1 for NULL; QTY takes bit 2.
  std::vector<Field> fields = {{"KEY", 'C', 3},
                               {"NAME", 'V', 6, 0, 0x02},
                               {"QTY", 'N', 4, 0, 0x02},
                               {"_NullFlags", '0', 1, 0, 0x05}};
  std::vector<std::string> records = {
      std::string(" k1 abcdef  12") + '\x00',            // full-length varchar
      std::string(" k2 ab\0\0\0\x02  -3", 14) + '\x01',  // 2 bytes long
      std::string(" k3       xxxx", 14) + '\x06',        // NULL name, NULL qty
  };
  ImportResult result = Convert(BuildTable(0x32, 0x03, fields, records));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(DeclaredColumns(result.database.Path(), "t"),
            (Columns{{"KEY", "VARCHAR"}, {"NAME", "VARCHAR"}, {"QTY", "INTEGER"}}));
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT KEY, NAME, QTY FROM t ORDER BY rowid"),
            (std::vector<Row>{
                {S("k1"), S("abcdef"), S("12")}, {S("k2"), S("ab"), S("-3")}, {S("k3"), N, N}}));
}

TEST_F(DbfLayoutTest, VisualFoxProDatetimesLogicalsAndCurrency) {
  // Julian day 2452836 is 2003-07-15; 52559250 ms is 14:35:59.250.
  std::vector<Field> fields = {{"WHEN", 'T', 8}, {"FLAG", 'L', 1}, {"CASH", 'Y', 8}};
  auto record = [](std::uint32_t day, std::uint32_t ms, char flag, std::int64_t cash) {
    std::string out(1, ' ');
    out.append(LE32(day)).append(LE32(ms)).append(1, flag);
    std::string money(8, '\0');
    for (int i = 0; i < 8; ++i)
      money[static_cast<std::size_t>(i)] =
          static_cast<char>(static_cast<std::uint64_t>(cash) >> (8 * i));
    return out + money;
  };
  ImportResult result = Convert(BuildTable(
      0x30, 0x03, fields,
      {record(2452836, 52559250, 'T', 123456), record(0, 0, 'y', -1), record(2440588, 0, 'N', 0),
       record(2440588, 0, '?', 0), record(2440588, 0, ' ', 0)}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT \"WHEN\", FLAG, CASH FROM t ORDER BY rowid"),
            (std::vector<Row>{{S("2003-07-15 14:35:59.250"), S("1"), S("12.3456")},
                              {N, S("1"), S("-0.0001")},
                              {S("1970-01-01 00:00:00"), S("0"), S("0.0")},
                              {S("1970-01-01 00:00:00"), N, S("0.0")},
                              {S("1970-01-01 00:00:00"), N, S("0.0")}}));
}

TEST_F(DbfLayoutTest, DBaseSevenDescriptorsAndSortableNumbers) {
  // dBase 7 stores integers big-endian with the sign bit flipped, and
  // doubles big-endian with the sign bit set (positive) or all bits
  // inverted (negative).
  std::vector<Field> fields = {
      {"A_LONG_FIELD_NAME_OF_DBASE_7", 'C', 4}, {"ID", 'I', 4}, {"AMOUNT", 'O', 8}};
  std::uint64_t twoAndAHalf = 0x4004000000000000ull;
  ImportResult result = Convert(
      BuildTable(0x04, 0x00, fields,
                 {" abc " + BE32(0x80000007u) + BE64(twoAndAHalf | 0x8000000000000000ull),
                  " xyz " + BE32(0x7FFFFFFBu) + BE64(~(twoAndAHalf | 0x8000000000000000ull))}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT * FROM t ORDER BY rowid"),
            (std::vector<Row>{{S("abc"), S("7"), S("2.5")}, {S("xyz"), S("-5"), S("-2.5")}}));
  EXPECT_EQ(DeclaredColumns(result.database.Path(), "t")[0].first, "A_LONG_FIELD_NAME_OF_DBASE_7");
}

TEST_F(DbfLayoutTest, TextIsDecodedFromTheTablesCodePage) {
  // 0x7B: Japanese Windows (932), double-byte: 93 FA 96 7B is "日本".
  ImportResult japanese =
      Convert(BuildTable(0x03, 0x7B, {{"NAME", 'C', 6}}, {std::string(" \x93\xFA\x96\x7B  ")}));
  ASSERT_TRUE(japanese.ok) << japanese.error;
  EXPECT_EQ(QueryRows(japanese.database.Path(), "SELECT NAME FROM t"),
            (std::vector<Row>{{S("日本")}}));
  // No code page marked: UTF-8 stays UTF-8, anything else is read as
  // Windows-1252.
  ImportResult unmarked = Convert(BuildTable(
      0x03, 0x00, {{"NAME", 'C', 6}}, {std::string(" Zo\xC3\xAB  "), std::string(" Zo\xEB   ")}));
  ASSERT_TRUE(unmarked.ok) << unmarked.error;
  EXPECT_EQ(QueryRows(unmarked.database.Path(), "SELECT NAME FROM t ORDER BY rowid"),
            (std::vector<Row>{{S("Zoë")}, {S("Zoë")}}));
  // Bytes the code page leaves undefined are marked, not dropped.
  ImportResult undefined = Convert(BuildTable(0x03, 0x03, {{"NAME", 'C', 3}},
                                              {std::string(" a\x81"
                                                           "b")}));
  ASSERT_TRUE(undefined.ok) << undefined.error;
  EXPECT_EQ(QueryRows(undefined.database.Path(), "SELECT NAME FROM t"),
            (std::vector<Row>{{S("a\xEF\xBF\xBD"
                                 "b")}}));
}

TEST_F(DbfLayoutTest, FieldsTheRecordCannotHoldAreADamagedHeader) {
  std::string table = BuildTable(0x03, 0x03, {{"NAME", 'C', 4}, {"AGE", 'N', 3}}, {" abcd 12"});
  table[10] = 5;  // record length below what the fields need
  ImportResult result = Convert(table);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("the fields need 8 bytes but a record holds 5"), std::string::npos)
      << result.error;
  ImportResult noFields = Convert(BuildTable(0x03, 0x03, {}, {}));
  EXPECT_FALSE(noFields.ok);
  EXPECT_NE(noFields.error.find("no fields"), std::string::npos) << noFields.error;
}

}  // namespace
}  // namespace tallowick
