// .xlsx workbooks written by python3-openpyxl (and part by part), and CSV
// files written by Python's csv module and by hand, converted and read back
// from the SQLite file.
#include <gtest/gtest.h>

#include <memory>

#include "import/delimited_text_options.h"
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

class OpenFormatsImportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = std::make_unique<ScratchFolder>();
    ASSERT_TRUE(import_test::RunDataWriter("make_xlsx_workbooks.py", {s_folder->Path()}));
    ASSERT_TRUE(import_test::RunDataWriter("make_csv_files.py", {s_folder->Path()}));
  }
  static void TearDownTestSuite() { s_folder.reset(); }
  static std::string File(const std::string& name) { return s_folder->File(name); }

  static std::unique_ptr<ScratchFolder> s_folder;
};

std::unique_ptr<ScratchFolder> OpenFormatsImportTest::s_folder;

TEST_F(OpenFormatsImportTest, WorkbookSheetsBecomeTablesWithTypedColumnsAndCachedResults) {
  TemporaryDatabaseFolderOverride temporary;
  const ImportResult main = ConvertWorkbook(File("main.xlsx"));
  ASSERT_TRUE(main.ok) << main.error;
  // Hidden sheets are tables too; a style alone (Z20) widens nothing.
  EXPECT_EQ(main.tables, (std::vector<std::string>{"Sheet1$", "Données$", "Secret$", "Empty$"}));
  const std::string db = main.database.Path();
  EXPECT_EQ(DeclaredColumns(db, "Sheet1$"), (Columns{{"Name", "VARCHAR"},
                                                     {"Amount", "DOUBLE"},
                                                     {"Born", "DATE"},
                                                     {"Stamp", "TIMESTAMP"},
                                                     {"Active", "BIT"},
                                                     {"Mixed", "VARCHAR"},
                                                     {"F7", "VARCHAR"},
                                                     {"Name_2", "VARCHAR"},
                                                     {"Clock", "TIMESTAMP"},
                                                     {"Formula", "VARCHAR"},
                                                     {"Custom", "DATE"},
                                                     {"Count", "DOUBLE"}}));
  EXPECT_EQ(
      QueryRows(db,
                "SELECT Name, Amount, Born, Stamp, Active, Mixed, Clock, Formula, Custom,"
                " Count FROM [Sheet1$] ORDER BY rowid"),
      (std::vector<Row>{{S("Zoë"), S("1.5"), S("2003-07-15"), S("2003-07-15 14:35:59"), S("1"),
                         S("abc"), S("1899-12-30 14:35:59"), S("3"), S("2003-07-15"), S("7.0")},
                        {S("Bob"), S("42.0"), S("1900-01-01"), S("1999-12-31 23:59:59"), S("0"),
                         S("3"), S("1899-12-30 00:00:01"), S("twenty"), S("1900-01-01"), S("-3.0")},
                        {N, N, N, N, N, N, N, S("#DIV/0!"), N, N},
                        {S("Last"), S("0.1"), S("2024-02-29"), S("2024-02-29 00:00:00"), S("1"),
                         S("TRUE"), N, S("TRUE"), S("2024-02-29"), S("0.0")}}));
  EXPECT_EQ(QueryRows(db, "SELECT * FROM [Données$]"),
            (std::vector<Row>{{S("Zürich"), S("8001.0")}, {S("Genève"), S("1201.0")}}));
  EXPECT_EQ(QueryRows(db, "SELECT * FROM [Secret$]"), (std::vector<Row>{{S("hidden value")}}));
  EXPECT_EQ(QueryRows(db, "SELECT count(*) FROM [Empty$]"), (std::vector<Row>{{S("0")}}));

  const ImportResult mac = ConvertWorkbook(File("mac.xlsx"));
  ASSERT_TRUE(mac.ok) << mac.error;
  EXPECT_EQ(QueryRows(mac.database.Path(), "SELECT * FROM [Sheet$]"),
            (std::vector<Row>{{S("2003-07-15")}, {S("1904-01-02")}}));
}

TEST_F(OpenFormatsImportTest, WorkbookPartsWrittenByHandAreReadAsExcelMeansThem) {
  TemporaryDatabaseFolderOverride temporary;
  const ImportResult hand = ConvertWorkbook(File("hand.xlsx"));
  ASSERT_TRUE(hand.ok) << hand.error;
  // The chart sheet is no table; the very hidden one is.
  EXPECT_EQ(hand.tables, (std::vector<std::string>{"Hand$", "Veiled$"}));
  const std::string db = hand.database.Path();
  EXPECT_EQ(DeclaredColumns(db, "Hand$"), (Columns{{"Label", "VARCHAR"},
                                                   {"Inline", "VARCHAR"},
                                                   {"Time", "TIMESTAMP"},
                                                   {"line\r\nbreak_x0041_", "VARCHAR"},
                                                   {"Stamp", "TIMESTAMP"}}));
  // Rows out of order are put in order, the later of two cells at one place
  // wins, phonetic runs are left out, cells without a reference follow.
  EXPECT_EQ(QueryRows(db, "SELECT * FROM [Hand$] ORDER BY rowid"),
            (std::vector<Row>{{S("second wins"), N, N, N, N},
                              {S("rich text"), S("inline"), S("1899-12-30 18:00:00"), S("#N/A"),
                               S("2003-07-15 14:35:59")},
                              {S("7"), N, S("1899-12-30 12:00:00"), N, S("2003-07-16 00:00:00")}}));
}

TEST_F(OpenFormatsImportTest, DamagedWorkbooksAreRefusedNamingTheFileAndLeaveNothing) {
  const struct {
    const char* file;
    const char* why;
  } cases[] = {
      {"cut.xlsx", "its zip archive is damaged"},
      {"text.xlsx", "the file is no zip archive"},
      {"noworkbook.xlsx", "the archive holds no workbook part"},
      {"notabook.xlsx", "its workbook part holds no workbook"},
      {"badxml.xlsx", "its XML is malformed at line"},
      {"doctype.xlsx", "document type declaration"},
      {"wide.xlsx", "outside the 1,048,576 rows and 16,384 columns"},
      {"tall.xlsx", "past the 1,048,576 rows"},
      {"badstring.xlsx", "refers to the shared string \"9\", which does not exist"},
      {"bomb.xlsx", "unpacks to more than 512 MiB"},
  };
  for (const auto& c : cases) {
    TemporaryDatabaseFolderOverride temporary;
    const ImportResult result = ConvertWorkbook(File(c.file));
    EXPECT_FALSE(result.ok) << c.file;
    EXPECT_NE(result.error.find("Cannot read the Excel file " + File(c.file) + ": "),
              std::string::npos)
        << result.error;
    EXPECT_NE(result.error.find(c.why), std::string::npos) << result.error;
    EXPECT_TRUE(temporary.Files().empty()) << c.file;
  }
}

TEST_F(OpenFormatsImportTest, EveryQuotingAndDelimiterGivesTheSameTable) {
  const Columns columns = {{"Name", "VARCHAR"}, {"Count", "INTEGER"},   {"Amount", "DOUBLE"},
                           {"Day", "DATE"},     {"Stamp", "TIMESTAMP"}, {"Paid", "BIT"},
                           {"Note", "VARCHAR"}, {"F8", "VARCHAR"},      {"name_2", "VARCHAR"},
                           {"Code", "VARCHAR"}, {"Big", "DOUBLE"}};
  const std::vector<Row> rows = {
      {S("Zoë"), S("7"), S("1.5"), S("2003-07-15"), S("2003-07-15 14:35:59"), S("1"),
       S("says \"hi\", twice"), S("x"), S("a"), S("007"), S("12345678901.0")},
      {S("Bob"), S("-2147483648"), S("-3.0"), S("1900-01-01"), S("1999-12-31 23:59:59"), S("0"),
       S("two\nlines"), N, S("b"), S("42"), S("3.0")},
      {N, N, N, N, S("2024-02-29 00:00:00"), N, N, N, N, N, N},
      {S("Ann"), S("2147483647"), S("2000.0"), S("2024-02-29"), S("2024-02-29 00:00:00"), S("0"),
       S(" spaced "), S("y"), S("c"), S("1"), S("4.0")}};
  const struct {
    const char* file;
    const char* table;
  } cases[] = {{"minimal.csv", "minimal"},
               {"all.csv", "all"},
               {"nonnumeric.csv", "nonnumeric"},
               {"semicolon.txt", "semicolon"},
               {"tabs.tsv", "tabs"}};
  for (const auto& c : cases) {
    TemporaryDatabaseFolderOverride temporary;
    const ImportResult result = ConvertDelimitedText(File(c.file), {});
    ASSERT_TRUE(result.ok) << c.file << ": " << result.error;
    EXPECT_EQ(result.tables, std::vector<std::string>{c.table});
    EXPECT_EQ(DeclaredColumns(result.database.Path(), c.table), columns) << c.file;
    EXPECT_EQ(QueryRows(result.database.Path(),
                        std::string("SELECT * FROM \"") + c.table + "\" ORDER BY rowid"),
              rows)
        << c.file;
  }
}

TEST_F(OpenFormatsImportTest, EncodingsShapesAndLineEndsOfHandWrittenFiles) {
  const struct {
    const char* file;
    DelimitedTextOptions options;
    Columns columns;
    std::vector<Row> rows;
  } cases[] = {
      {"western.csv",
       {},
       {{"Ville", "VARCHAR"}, {"Prix", "VARCHAR"}},
       {{S("Orléans"), S("€ 5")}, {S("Café"), S("3")}}},
      {"western.csv",
       {';', 65001},
       {{"Ville", "VARCHAR"}, {"Prix", "VARCHAR"}},
       {{S("Orl\xEF\xBF\xBD"
           "ans"),
         S("\xEF\xBF\xBD 5")},
        {S("Caf\xEF\xBF\xBD"), S("3")}}},
      {"western.csv", {',', 0}, {{"Ville;Prix", "VARCHAR"}}, {{S("Orléans;€ 5")}, {S("Café;3")}}},
      {"bom.csv", {}, {{"Key", "VARCHAR"}, {"Value", "INTEGER"}}, {{S("ké"), S("1")}}},
      {"ragged.csv",
       {},
       {{"A", "INTEGER"}, {"B", "INTEGER"}, {"F3", "INTEGER"}},
       {{S("1"), S("2"), S("3")}, {S("4"), N, N}, {S("5"), S("6"), N}}},
      {"headeronly.csv", {}, {{"Only", "VARCHAR"}, {"Header", "VARCHAR"}}, {}},
      {"cr.csv", {}, {{"A", "INTEGER"}, {"B", "INTEGER"}}, {{S("1"), S("2")}, {S("3"), S("4")}}},
      {"stray.csv", {}, {{"Size", "VARCHAR"}}, {{S("5\" pipe")}}},
  };
  for (const auto& c : cases) {
    TemporaryDatabaseFolderOverride temporary;
    const ImportResult result = ConvertDelimitedText(File(c.file), c.options);
    ASSERT_TRUE(result.ok) << c.file << ": " << result.error;
    const std::string table = result.tables.at(0);
    EXPECT_EQ(DeclaredColumns(result.database.Path(), table), c.columns) << c.file;
    EXPECT_EQ(QueryRows(result.database.Path(), "SELECT * FROM \"" + table + "\" ORDER BY rowid"),
              c.rows)
        << c.file;
  }
}

TEST_F(OpenFormatsImportTest, BrokenTextFilesAreRefusedNamingTheFileAndLeaveNothing) {
  const struct {
    const char* file;
    const char* why;
  } cases[] = {
      {"open.csv", "a quoted field that starts on line 2 has no closing quote"},
      {"binary.csv", "it is not a text file"},
      {"missing.csv", "the file cannot be opened"},
  };
  for (const auto& c : cases) {
    TemporaryDatabaseFolderOverride temporary;
    const ImportResult result = ConvertDelimitedText(File(c.file), {});
    EXPECT_FALSE(result.ok) << c.file;
    EXPECT_EQ(result.error.find("Cannot read the CSV file " + File(c.file) + ": " + c.why), 0u)
        << result.error;
    EXPECT_TRUE(temporary.Files().empty()) << c.file;
  }
}

TEST(DelimitedTextOptionNames, NamesOfDelimitersAndEncodings) {
  const struct {
    const char* name;
    bool ok;
    char delimiter;
  } delimiters[] = {{"tab", true, '\t'},  {"\\t", true, '\t'}, {";", true, ';'},
                    {"Comma", true, ','}, {"|", true, '|'},    {"\"", false, 0},
                    {"ab", false, 0},     {"", false, 0}};
  for (const auto& d : delimiters) {
    char delimiter = 0;
    EXPECT_EQ(ParseDelimiterName(d.name, delimiter), d.ok) << d.name;
    if (d.ok) {
      EXPECT_EQ(delimiter, d.delimiter) << d.name;
    }
  }
  const struct {
    const char* name;
    bool ok;
    int codePage;
  } encodings[] = {{"UTF-8", true, 65001}, {"windows-1252", true, 1252},
                   {"cp1251", true, 1251}, {"850", true, 850},
                   {"auto", true, 0},      {"latin9x", false, 0},
                   {"cp99999", false, 0}};
  for (const auto& e : encodings) {
    int codePage = -1;
    EXPECT_EQ(ParseEncodingName(e.name, codePage), e.ok) << e.name;
    if (e.ok) {
      EXPECT_EQ(codePage, e.codePage) << e.name;
    }
  }
}

}  // namespace
}  // namespace tallowick
