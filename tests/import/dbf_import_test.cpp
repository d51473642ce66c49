// dBase, FoxPro and Visual FoxPro tables written by python3-dbf, converted
// and read back from the SQLite file; damaged copies of them refused.
#include <gtest/gtest.h>

#include <memory>

#include "import/source_import.h"
#include "tests/import/import_test_support.h"

namespace tallowick {
namespace {

using import_test::CopyFile;
using import_test::DeclaredColumns;
using import_test::QueryRows;
using import_test::ReadFile;
using import_test::Row;
using import_test::ScratchFolder;
using import_test::TemporaryDatabaseFolderOverride;
using import_test::WriteFile;

using Columns = std::vector<std::pair<std::string, std::string>>;

std::optional<std::string> S(const std::string& text) { return text; }
constexpr std::nullopt_t N = std::nullopt;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class DbfImportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = std::make_unique<ScratchFolder>();
    ASSERT_TRUE(import_test::RunDataWriter("make_dbf_tables.py", {s_folder->Path()}));
    s_mixed = std::make_unique<ImportResult>(ConvertDbfFolder(s_folder->File("mixed")));
  }
  static void TearDownTestSuite() {
    s_mixed.reset();
    s_folder.reset();
  }
  static std::string Database() { return s_mixed->database.Path(); }
  static std::string Mixed(const std::string& name) { return s_folder->File("mixed/" + name); }

  // A folder holding copies of the given tables (with their memo files).
  static void CopyInto(const ScratchFolder& target, const std::vector<std::string>& files) {
    for (const std::string& file : files) CopyFile(Mixed(file), target.File(file));
  }

  static std::unique_ptr<ScratchFolder> s_folder;
  static std::unique_ptr<ImportResult> s_mixed;
};

std::unique_ptr<ScratchFolder> DbfImportTest::s_folder;
std::unique_ptr<ImportResult> DbfImportTest::s_mixed;

TEST_F(DbfImportTest, EveryTableOfTheFolderIsNamedAfterItsFile) {
  ASSERT_TRUE(s_mixed->ok) << s_mixed->error;
  EXPECT_EQ(s_mixed->tables,
            (std::vector<std::string>{"ORDERS", "clip", "fox", "nulls", "people"}));
  EXPECT_TRUE(s_mixed->skipped.empty());
}

TEST_F(DbfImportTest, DBaseThreeWithMemosAndARussianCodePage) {
  ASSERT_TRUE(s_mixed->ok) << s_mixed->error;
  EXPECT_EQ(DeclaredColumns(Database(), "people"), (Columns{{"NAME", "VARCHAR"},
                                                            {"AGE", "INTEGER"},
                                                            {"SALARY", "DOUBLE"},
                                                            {"BORN", "DATE"},
                                                            {"MEMBER", "BIT"},
                                                            {"NOTES", "TEXT"}}));
  // The deleted row is left out; blanks are NULL, an empty memo is empty.
  EXPECT_EQ(
      QueryRows(
          Database(),
          "SELECT NAME, AGE, SALARY, BORN, MEMBER, NOTES FROM people WHERE length(NOTES) < 100"
          " ORDER BY rowid"),
      (std::vector<Row>{{S("Иван Петров"), S("42"), S("1234.5"), S("1961-04-12"), S("1"),
                         S("Первая строка\r\nвторая")},
                        {S("Пустой"), N, N, N, N, S("")}}));
  // A memo of three 512-byte blocks is read to its end.
  EXPECT_EQ(QueryRows(Database(),
                      "SELECT NAME, NOTES = printf('%.1500c', 'x') FROM people WHERE rowid = 3"),
            (std::vector<Row>{{S("Anna"), S("1")}}));
}

TEST_F(DbfImportTest, VisualFoxProTypesAndWindowsCodePage) {
  ASSERT_TRUE(s_mixed->ok) << s_mixed->error;
  EXPECT_EQ(DeclaredColumns(Database(), "ORDERS"), (Columns{{"ITEM", "VARCHAR"},
                                                            {"QTY", "INTEGER"},
                                                            {"BIG", "DOUBLE"},
                                                            {"PRICE", "DOUBLE"},
                                                            {"RATIO", "DOUBLE"},
                                                            {"PLACED", "DATE"},
                                                            {"STAMP", "TIMESTAMP"},
                                                            {"PAID", "BIT"},
                                                            {"NOTE", "TEXT"},
                                                            {"COUNT", "INTEGER"},
                                                            {"MONEY", "DOUBLE"},
                                                            {"WEIGHT", "DOUBLE"},
                                                            {"BLOB", "BLOB"}}));
  EXPECT_EQ(
      QueryRows(Database(),
                "SELECT ITEM, QTY, BIG, PRICE, RATIO, PLACED, STAMP, PAID, NOTE, COUNT, MONEY,"
                " WEIGHT, hex(BLOB) FROM ORDERS ORDER BY rowid"),
      (std::vector<Row>{{S("Café crème"), S("3"), S("9876543210.0"), S("12.5"), S("0.125"),
                         S("2003-07-15"), S("2003-07-15 14:35:59"), S("1"), S("Grüße – €"),
                         S("-2147483647"), S("1234.5678"), S("2.5"), S("000102")},
                        {S("Thé"), S("0"), S("-5.0"), S("-1.5"), S("100.0"), S("1899-12-31"),
                         S("1999-12-31 23:59:59"), S("0"), S(""), S("2147483646"), S("-0.0001"),
                         S("-1.0e+300"), S("")}}));
}

TEST_F(DbfImportTest, FoxProTwoClipperAndNullableFields) {
  ASSERT_TRUE(s_mixed->ok) << s_mixed->error;
  EXPECT_EQ(
      QueryRows(Database(), "SELECT CODE, AMOUNT, WEIGHT, DAY, OK, TEXT FROM fox ORDER BY rowid"),
      (std::vector<Row>{{S("Ünïcödé"), S("1.5"), S("2.25"), S("2020-02-29"), S("1"), S("mémo ½")},
                        {S("second"), N, N, N, S("0"), S("")}}));
  // Clipper keeps the high byte of a 300-character field's length in the
  // decimals; a 19-digit number needs a DOUBLE.
  EXPECT_EQ(DeclaredColumns(Database(), "clip"),
            (Columns{{"WIDE", "VARCHAR"}, {"WHOLE", "DOUBLE"}}));
  EXPECT_EQ(QueryRows(Database(), "SELECT length(WIDE), substr(WIDE, 299), WHOLE FROM clip"),
            (std::vector<Row>{{S("300"), S("é!"), S("1.23456789012346e+18")}}));
  EXPECT_EQ(QueryRows(Database(), "SELECT A, B, C, D, E, F FROM nulls ORDER BY rowid"),
            (std::vector<Row>{
                {S("x"), N, N, N, S(""), N},
                {S(""), S("5"), S("2000-01-01"), S("1"), S("memo"), S("2000-01-01 01:02:03")}}));
}

TEST_F(DbfImportTest, DamagedTablesAreRefusedWithTheirNameAndLeaveNothingBehind) {
  TemporaryDatabaseFolderOverride runtime;
  std::string people = ReadFile(Mixed("people.dbf"));
  std::string memo = ReadFile(Mixed("people.dbt"));
  const std::size_t headerLength =
      static_cast<unsigned char>(people[8]) | static_cast<unsigned char>(people[9]) << 8;
  const std::size_t recordLength =
      static_cast<unsigned char>(people[10]) | static_cast<unsigned char>(people[11]) << 8;
  // The NOTES memo reference of the first record: the last 10 bytes of it.
  const std::size_t firstMemo = headerLength + recordLength - 10;

  struct Case {
    std::string name;
    std::string table;
    std::string memo;  // empty: no memo file
    std::string expected;
  };
  std::string wrongType = people;
  wrongType[32 + 11] = 'X';
  std::string longHeader = people;
  longHeader[8] = '\xFF';
  longHeader[9] = '\xFF';
  std::string farMemo = people;
  farMemo.replace(firstMemo, 10, "9999999999");
  std::string textMemo = people;
  textMemo.replace(firstMemo, 10, "    12x456");
  std::vector<Case> cases = {
      {"truncated", people.substr(0, people.size() - 10), memo, "the file is truncated"},
      {"missing memo", people, "", "people.dbt is missing"},
      {"unknown field type", wrongType, memo, "the header is damaged"},
      {"header past the end", longHeader, memo, "the header is damaged"},
      {"not a table", "just some text, long enough to have a header......", "",
       "not a dBase or FoxPro table"},
      {"memo outside the memo file", farMemo, memo, "people.dbt cannot be read"},
      {"memo reference not a number", textMemo, memo, "is not a number"},
      {"empty file", "", "", "too short"},
  };
  for (const Case& item : cases) {
    ScratchFolder folder;
    WriteFile(folder.File("people.dbf"), item.table);
    if (!item.memo.empty()) WriteFile(folder.File("people.dbt"), item.memo);
    auto check = [&](const ImportResult& result) {
      EXPECT_FALSE(result.ok) << item.name;
      EXPECT_TRUE(Contains(result.error, folder.File("people.dbf")))
          << item.name << ": " << result.error;
      EXPECT_TRUE(Contains(result.error, item.expected)) << item.name << ": " << result.error;
      EXPECT_FALSE(result.database.Holds()) << item.name;
    };
    check(ConvertDbfFolder(folder.Path()));
    check(ConvertDbfFileFolder(folder.File("people.dbf")));
  }
  EXPECT_TRUE(runtime.Files().empty());
}

TEST_F(DbfImportTest, AnUnreadableTableIsLeftOutUnlessItIsTheChosenOne) {
  ScratchFolder folder;
  CopyFile(s_folder->File("single/only.dbf"), folder.File("only.dbf"));
  WriteFile(folder.File("broken.DBF"),
            "not a table at all, but long enough to be read as a header");
  WriteFile(folder.File("readme.txt"), "not a table either, and not looked at");

  ImportResult all = ConvertDbfFolder(folder.Path());
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(all.tables, std::vector<std::string>{"only"});
  ASSERT_EQ(all.skipped.size(), 1u);
  EXPECT_TRUE(Contains(all.skipped[0], folder.File("broken.DBF"))) << all.skipped[0];
  EXPECT_EQ(QueryRows(all.database.Path(), "SELECT NAME, N FROM only ORDER BY rowid"),
            (std::vector<Row>{{S("one"), S("1")}, {S("three"), S("3")}}));

  EXPECT_TRUE(ConvertDbfFileFolder(folder.File("only.dbf")).ok);
  ImportResult chosen = ConvertDbfFileFolder(folder.File("broken.DBF"));
  EXPECT_FALSE(chosen.ok);
  EXPECT_TRUE(Contains(chosen.error, folder.File("broken.DBF"))) << chosen.error;

  ScratchFolder empty;
  ImportResult none = ConvertDbfFolder(empty.Path());
  EXPECT_FALSE(none.ok);
  EXPECT_TRUE(Contains(none.error, empty.Path()) && Contains(none.error, "holds no dBase table"))
      << none.error;
}

TEST_F(DbfImportTest, TheSourceKindChoosesTheConverter) {
  // Kind 3: the connection hands over the folder of the chosen table.
  ImportResult folder = ConvertFileSource(ConvertedFile::DbaseFolder, s_folder->File("single"));
  ASSERT_TRUE(folder.ok) << folder.error;
  EXPECT_EQ(folder.tables, std::vector<std::string>{"only"});
  // Kind 2 reads a workbook: a table file is none.
  ImportResult workbook =
      ConvertFileSource(ConvertedFile::Workbook, s_folder->File("single/only.dbf"));
  EXPECT_FALSE(workbook.ok);
  EXPECT_TRUE(Contains(workbook.error, "not an Excel 97-2003 workbook")) << workbook.error;
  EXPECT_FALSE(ConvertFileSource(static_cast<ConvertedFile>(-1), s_folder->File("single")).ok);
}

TEST_F(DbfImportTest, NumbersAndDatesThatAreNotSoKeepTheirText) {
  // dBase shows an overflowing number as asterisks; such a column keeps
  // every value as text rather than losing one.
  std::string only = ReadFile(s_folder->File("single/only.dbf"));
  const std::size_t headerLength =
      static_cast<unsigned char>(only[8]) | static_cast<unsigned char>(only[9]) << 8;
  std::string overflow = only;
  overflow.replace(headerLength + 1 + 10, 5, "*****");
  ScratchFolder folder;
  WriteFile(folder.File("only.dbf"), overflow);
  ImportResult result = ConvertDbfFolder(folder.Path());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(DeclaredColumns(result.database.Path(), "only"),
            (Columns{{"NAME", "VARCHAR"}, {"N", "VARCHAR"}}));
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT N FROM only ORDER BY rowid"),
            (std::vector<Row>{{S("*****")}, {S("3")}}));

  // A date written the way some programs do ("12/04/61"): the column keeps
  // it as it stands and the real dates in their usual form.
  std::string people = ReadFile(Mixed("people.dbf"));
  const std::size_t peopleHeader =
      static_cast<unsigned char>(people[8]) | static_cast<unsigned char>(people[9]) << 8;
  people.replace(peopleHeader + 1 + 20 + 3 + 10, 8, "12/04/61");
  ScratchFolder dates;
  WriteFile(dates.File("people.dbf"), people);
  CopyFile(Mixed("people.dbt"), dates.File("people.dbt"));
  ImportResult withText = ConvertDbfFolder(dates.Path());
  ASSERT_TRUE(withText.ok) << withText.error;
  EXPECT_EQ(DeclaredColumns(withText.database.Path(), "people")[3],
            (std::pair<std::string, std::string>{"BORN", "VARCHAR"}));
  EXPECT_EQ(QueryRows(withText.database.Path(), "SELECT BORN FROM people ORDER BY rowid"),
            (std::vector<Row>{{S("12/04/61")}, {N}, {S("2003-07-15")}}));
}

}  // namespace
}  // namespace tallowick
