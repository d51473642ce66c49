// Excel workbooks written by python3-xlwt, converted and read back from the
// SQLite file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "import/source_import.h"
#include "tests/import/import_test_support.h"

namespace tallowick {
namespace {

using import_test::DeclaredColumns;
using import_test::QueryRows;
using import_test::Row;
using import_test::ScratchFolder;
using import_test::TemporaryDatabaseFolderOverride;

using Columns = std::vector<std::pair<std::string, std::string>>;

std::optional<std::string> S(const char* text) { return std::string(text); }
constexpr std::nullopt_t N = std::nullopt;

class WorkbookImportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = std::make_unique<ScratchFolder>();
    ASSERT_TRUE(import_test::RunDataWriter("make_workbooks.py", {s_folder->Path()}));
    s_main = std::make_unique<ImportResult>(ConvertWorkbook(s_folder->File("main.xls")));
  }
  static void TearDownTestSuite() {
    s_main.reset();
    s_folder.reset();
  }
  static std::string Database() { return s_main->database.Path(); }

  static std::unique_ptr<ScratchFolder> s_folder;
  static std::unique_ptr<ImportResult> s_main;
};

std::unique_ptr<ScratchFolder> WorkbookImportTest::s_folder;
std::unique_ptr<ImportResult> WorkbookImportTest::s_main;

TEST_F(WorkbookImportTest, EverySheetBecomesATableNamedLikeTheExcelDriverNamesIt) {
  ASSERT_TRUE(s_main->ok) << s_main->error;
  EXPECT_EQ(s_main->tables,
            (std::vector<std::string>{"Sheet1$", "Données$", "Empty$", "Formulas$"}));
  EXPECT_EQ(QueryRows(Database(), "SELECT count(*) FROM [Sheet1$]"), (std::vector<Row>{{S("7")}}));
}

TEST_F(WorkbookImportTest, FirstRowNamesColumnsAndCellsDecideTheirTypes) {
  ASSERT_TRUE(s_main->ok) << s_main->error;
  // A blank header gets F<n>; a repeated one a suffix. Numbers -> DOUBLE,
  // dates -> DATE, dates with times -> TIMESTAMP, booleans -> BIT, mixed or
  // empty -> VARCHAR; times alone and midnight datetimes as described.
  EXPECT_EQ(DeclaredColumns(Database(), "Sheet1$"), (Columns{{"Name", "VARCHAR"},
                                                             {"Amount", "DOUBLE"},
                                                             {"Born", "DATE"},
                                                             {"Stamp", "TIMESTAMP"},
                                                             {"Active", "BIT"},
                                                             {"Mixed", "VARCHAR"},
                                                             {"F7", "VARCHAR"},
                                                             {"Name_2", "VARCHAR"},
                                                             {"Nothing", "VARCHAR"},
                                                             {"Clock", "TIMESTAMP"},
                                                             {"Midnight", "DATE"}}));
}

TEST_F(WorkbookImportTest, ValuesKeepTheirKindAndEmptyCellsAloneAreNull) {
  ASSERT_TRUE(s_main->ok) << s_main->error;
  std::vector<Row> rows =
      QueryRows(Database(),
                "SELECT Name, typeof(Amount), Amount, Born, Stamp, Active, Mixed, Clock, Midnight"
                " FROM [Sheet1$] ORDER BY rowid");
  std::vector<Row> expected = {
      {S("Zoë"), S("real"), S("1.5"), S("2003-07-15"), S("2003-07-15 14:35:59"), S("1"), S("abc"),
       S("1899-12-30 14:35:59"), S("2003-07-15")},
      {S("Bob"), S("real"), S("42.0"), S("1900-01-01"), S("1999-12-31 23:59:59"), S("0"), S("3"),
       S("1899-12-30 00:00:01"), S("2004-02-29")},
      {N, S("null"), N, N, N, N, N, N, N},  // the empty row inside the sheet stays a row
      {S("Ann"), S("real"), S("-7.0"), S("2031-12-31"), N, S("1"), S("0.1"), N, N},
      {N, S("real"), S("123456789012.0"), N, S("2003-07-15 00:00:00"), N, S("2003-07-15"), N, N},
      {S("Eve"), S("real"), S("0.25"), S("1999-01-02"), S("2000-01-01 00:00:30"), S("0"), S("TRUE"),
       N, N},
      {S("Max"), S("real"), S("1.0e+20"), N, N, N, S("1E+20"), N, N},
  };
  EXPECT_EQ(rows, expected);
  // Every cell that had a value has one in the table.
  EXPECT_EQ(
      QueryRows(Database(), "SELECT count(F7), count(Name_2), count(\"Nothing\") FROM [Sheet1$]"),
      (std::vector<Row>{{S("1"), S("2"), S("0")}}));
}

TEST_F(WorkbookImportTest, SheetsWithoutDataStillBecomeTables) {
  ASSERT_TRUE(s_main->ok) << s_main->error;
  EXPECT_EQ(DeclaredColumns(Database(), "Données$"),
            (Columns{{"Ville", "VARCHAR"}, {"Pays", "VARCHAR"}}));
  EXPECT_EQ(DeclaredColumns(Database(), "Empty$"), (Columns{{"F1", "VARCHAR"}}));
  EXPECT_EQ(QueryRows(Database(),
                      "SELECT (SELECT count(*) FROM [Données$]) + (SELECT count(*) FROM [Empty$])"),
            (std::vector<Row>{{S("0")}}));
}

TEST_F(WorkbookImportTest, FormulasGiveTheResultsTheWorkbookStores) {
  ASSERT_TRUE(s_main->ok) << s_main->error;
  EXPECT_EQ(DeclaredColumns(Database(), "Formulas$"), (Columns{{"Number", "DOUBLE"},
                                                               {"Text", "VARCHAR"},
                                                               {"Flag", "BIT"},
                                                               {"Fault", "VARCHAR"},
                                                               {"Day", "DATE"},
                                                               {"Blank", "VARCHAR"},
                                                               {"Long", "VARCHAR"}}));
  EXPECT_EQ(
      QueryRows(Database(),
                "SELECT Number, Text, Flag, Fault, Day, Blank FROM [Formulas$] ORDER BY rowid"),
      (std::vector<Row>{{S("2.5"), S("héllo"), S("1"), S("#DIV/0!"), S("2003-07-15"), N},
                        {S("7.0"), S(""), S("0"), S("text"), S("2004-01-01"), N}}));
  // A string result longer than one record continues in CONTINUE records.
  std::vector<Row> longText = QueryRows(Database(), "SELECT Long FROM [Formulas$] WHERE rowid = 1");
  ASSERT_EQ(longText.size(), 1u);
  EXPECT_EQ(longText[0][0], import_test::ReadFile(s_folder->File("main.xls.longtext")));
}

TEST_F(WorkbookImportTest, DatesOfThe1904SystemComeOutRight) {
  ImportResult result = ConvertWorkbook(s_folder->File("dates1904.xls"));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT Day FROM [Mac$] ORDER BY rowid"),
            (std::vector<Row>{{S("2003-07-15")}, {S("1904-01-02")}}));
}

TEST_F(WorkbookImportTest, SheetsFullOfDatesComeOutRightAndOnlyTheDatabaseStays) {
  // A workbook stream of whole sectors, its own date formats numbered from 164.
  TemporaryDatabaseFolderOverride runtime;
  {
    ImportResult result = ConvertWorkbook(s_folder->File("many_dates.xls"));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(DeclaredColumns(result.database.Path(), "Dates$"),
              (Columns{{"Day", "DATE"},
                       {"Stamp", "TIMESTAMP"},
                       {"Clock", "TIMESTAMP"},
                       {"Share", "DOUBLE"},
                       {"Custom", "TIMESTAMP"}}));
    // Row r: 2000-01-01 + 37 r days; 2003-07-15 r%24:r%60:7r%60; r%24:3r%60.
    EXPECT_EQ(QueryRows(result.database.Path(),
                        "SELECT * FROM [Dates$] WHERE rowid IN (1, 200, 400) ORDER BY rowid"),
              (std::vector<Row>{{S("2000-02-07"), S("2003-07-15 01:01:07"),
                                 S("1899-12-30 01:03:00"), S("0.001"), S("1999-12-31 12:30:00")},
                                {S("2020-04-05"), S("2003-07-15 08:20:20"),
                                 S("1899-12-30 08:00:00"), S("0.2"), S("1999-12-31 12:30:00")},
                                {S("2040-07-09"), S("2003-07-15 16:40:40"),
                                 S("1899-12-30 16:00:00"), S("0.4"), S("1999-12-31 12:30:00")}}));
    EXPECT_EQ(runtime.Files().size(), 1u);  // the database alone
  }
  EXPECT_TRUE(runtime.Files().empty());
}

TEST_F(WorkbookImportTest, SharedTextsSplitOverContinueRecordsComeBackWhole) {
  ImportResult result = ConvertWorkbook(s_folder->File("texts.xls"));
  ASSERT_TRUE(result.ok) << result.error;
  std::vector<Row> expected;
  std::string texts = import_test::ReadFile(s_folder->File("texts.xls.texts"));
  for (std::size_t start = 0, end = 0; start <= texts.size(); start = end + 1) {
    end = std::min(texts.find('\n', start), texts.size());
    expected.push_back({texts.substr(start, end - start)});
  }
  EXPECT_EQ(QueryRows(result.database.Path(), "SELECT Text FROM [Texts$] ORDER BY rowid"),
            expected);
}

TEST_F(WorkbookImportTest, TheDatabaseIsAPrivateFileThatGoesAwayWithItsOwner) {
  TemporaryDatabaseFolderOverride runtime;
  std::string path;
  {
    ImportResult result = ConvertWorkbook(s_folder->File("dates1904.xls"));
    ASSERT_TRUE(result.ok) << result.error;
    path = result.database.Path();
    EXPECT_EQ(path.rfind(runtime.Path() + "/", 0), 0u) << path;
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
  }
  EXPECT_TRUE(runtime.Files().empty());
}

TEST_F(WorkbookImportTest, BadFilesAreRefusedWithTheirNameAndLeaveNothingBehind) {
  TemporaryDatabaseFolderOverride runtime;
  ScratchFolder bad;
  std::string whole = import_test::ReadFile(s_folder->File("main.xls"));
  struct Case {
    std::string file;
    std::string bytes;
    std::string expected;
  };
  std::vector<Case> cases = {
      {"notes.xls", "Name;Amount\nZoe;1.5\n", "not an Excel 97-2003 workbook"},
      {"half.xls", whole.substr(0, whole.size() / 2), "Cannot read the Excel file"},
      {"header-only.xls", whole.substr(0, 512), "Cannot read the Excel file"},
      {"empty.xls", "", "Cannot read the Excel file"},
  };
  for (const Case& item : cases) {
    std::string path = bad.File(item.file);
    import_test::WriteFile(path, item.bytes);
    ImportResult result = ConvertWorkbook(path);
    EXPECT_FALSE(result.ok) << item.file;
    EXPECT_NE(result.error.find(path), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(item.expected), std::string::npos) << result.error;
    EXPECT_FALSE(result.database.Holds());
    EXPECT_TRUE(result.tables.empty());
  }
  ImportResult missing = ConvertWorkbook(bad.File("missing.xls"));
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find(bad.File("missing.xls")), std::string::npos) << missing.error;
  EXPECT_TRUE(runtime.Files().empty());
}

}  // namespace
}  // namespace tallowick
