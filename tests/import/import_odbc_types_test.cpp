// Converted files read through the real SQLite3 ODBC driver (unixODBC, a
// private configuration): the SQL types it reports are the ones the
// generation run classifies, and the stored values arrive in the C types the
// run binds them with.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <memory>

#include "import/source_import.h"
#include "tests/import/import_test_support.h"
#include "tests/import/odbc_probe.h"

namespace tallowick {
namespace {

using import_test::DescribedColumn;
using import_test::OdbcProbe;
using import_test::Row;
using import_test::ScratchFolder;

std::vector<std::int16_t> Types(const std::vector<DescribedColumn>& columns) {
  std::vector<std::int16_t> types;
  for (const DescribedColumn& column : columns) types.push_back(column.sqlType);
  return types;
}

class ImportOdbcTypesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = std::make_unique<ScratchFolder>();
    ASSERT_TRUE(import_test::RunDataWriter("make_workbooks.py", {s_folder->Path()}));
    ASSERT_TRUE(import_test::RunDataWriter("make_dbf_tables.py", {s_folder->Path()}));
    s_workbook = std::make_unique<ImportResult>(ConvertWorkbook(s_folder->File("main.xls")));
    s_tables = std::make_unique<ImportResult>(ConvertDbfFolder(s_folder->File("mixed")));
  }
  static void TearDownTestSuite() {
    s_workbook.reset();
    s_tables.reset();
    s_folder.reset();
  }

  static std::unique_ptr<ScratchFolder> s_folder;
  static std::unique_ptr<ImportResult> s_workbook;
  static std::unique_ptr<ImportResult> s_tables;
};

std::unique_ptr<ScratchFolder> ImportOdbcTypesTest::s_folder;
std::unique_ptr<ImportResult> ImportOdbcTypesTest::s_workbook;
std::unique_ptr<ImportResult> ImportOdbcTypesTest::s_tables;

TEST_F(ImportOdbcTypesTest, WorkbookColumnsReportTheirSqlTypes) {
  // A success carries no message (not even that of a driver name tried first).
  for (const ImportResult* result : {s_workbook.get(), s_tables.get()}) {
    EXPECT_TRUE(result->ok && result->error.empty()) << result->error;
  }
  ASSERT_TRUE(s_workbook->ok) << s_workbook->error;
  OdbcProbe odbc(s_workbook->database.Path());
  ASSERT_TRUE(odbc.Connected());
  std::vector<std::string> tables = odbc.Tables("TABLE,VIEW,SYSTEM TABLE");
  EXPECT_NE(std::find(tables.begin(), tables.end(), "Sheet1$"), tables.end());
  // Name, Amount, Born, Stamp, Active, Mixed, F7, Name_2, Nothing, Clock, Midnight
  const std::vector<std::int16_t> expected = {
      SQL_VARCHAR, SQL_DOUBLE,  SQL_TYPE_DATE, SQL_TYPE_TIMESTAMP, SQL_BIT,      SQL_VARCHAR,
      SQL_VARCHAR, SQL_VARCHAR, SQL_VARCHAR,   SQL_TYPE_TIMESTAMP, SQL_TYPE_DATE};
  EXPECT_EQ(Types(odbc.Describe("SELECT * FROM [Sheet1$]")), expected);
  EXPECT_EQ(Types(odbc.CatalogColumns("Sheet1$")), expected);
}

TEST_F(ImportOdbcTypesTest, WorkbookValuesArriveInTheBoundCTypes) {
  ASSERT_TRUE(s_workbook->ok) << s_workbook->error;
  OdbcProbe odbc(s_workbook->database.Path());
  const std::string first = "SELECT * FROM [Sheet1$] WHERE Name = 'Zoë'";
  EXPECT_EQ(odbc.FetchBound(first, 2, SQL_C_DOUBLE), "1.5");
  EXPECT_EQ(odbc.FetchBound(first, 3, SQL_C_DATE), "2003-07-15");
  EXPECT_EQ(odbc.FetchBound(first, 4, SQL_C_TIMESTAMP), "2003-07-15 14:35:59.000000000");
  EXPECT_EQ(odbc.FetchBound(first, 5, SQL_C_BIT), "1");
  EXPECT_EQ(odbc.FetchBound(first, 10, SQL_C_TIMESTAMP), "1899-12-30 14:35:59.000000000");
  EXPECT_EQ(odbc.FetchBound("SELECT Mixed FROM [Sheet1$] WHERE Name = 'Max'", 1, SQL_C_CHAR),
            "1E+20");
  EXPECT_EQ(odbc.FetchBound("SELECT Born FROM [Sheet1$] WHERE Name = 'Max'", 1, SQL_C_DATE),
            "NULL");
  EXPECT_EQ(odbc.FetchText("SELECT count(*) FROM [Formulas$]"),
            (std::vector<Row>{{std::string("2")}}));
}

TEST_F(ImportOdbcTypesTest, DbaseColumnsReportTheirSqlTypes) {
  ASSERT_TRUE(s_tables->ok) << s_tables->error;
  OdbcProbe odbc(s_tables->database.Path());
  ASSERT_TRUE(odbc.Connected());
  std::vector<std::string> tables = odbc.Tables("TABLE");
  std::sort(tables.begin(), tables.end());
  EXPECT_EQ(tables, (std::vector<std::string>{"ORDERS", "clip", "fox", "nulls", "people"}));
  // ITEM QTY BIG PRICE RATIO PLACED STAMP PAID NOTE COUNT MONEY WEIGHT BLOB
  const std::vector<std::int16_t> expected = {
      SQL_VARCHAR,   SQL_INTEGER,        SQL_DOUBLE, SQL_DOUBLE,      SQL_DOUBLE,
      SQL_TYPE_DATE, SQL_TYPE_TIMESTAMP, SQL_BIT,    SQL_LONGVARCHAR, SQL_INTEGER,
      SQL_DOUBLE,    SQL_DOUBLE,         SQL_BINARY};
  EXPECT_EQ(Types(odbc.Describe("SELECT * FROM ORDERS")), expected);
  EXPECT_EQ(Types(odbc.CatalogColumns("ORDERS")), expected);
}

TEST_F(ImportOdbcTypesTest, DbaseValuesArriveInTheBoundCTypes) {
  ASSERT_TRUE(s_tables->ok) << s_tables->error;
  OdbcProbe odbc(s_tables->database.Path());
  const std::string first = "SELECT * FROM ORDERS WHERE rowid = 1";
  EXPECT_EQ(odbc.FetchBound(first, 1, SQL_C_CHAR), "Café crème");
  EXPECT_EQ(odbc.FetchBound(first, 2, SQL_C_LONG), "3");
  EXPECT_EQ(odbc.FetchBound(first, 3, SQL_C_DOUBLE), "9876543210");
  EXPECT_EQ(odbc.FetchBound(first, 6, SQL_C_DATE), "2003-07-15");
  EXPECT_EQ(odbc.FetchBound(first, 7, SQL_C_TIMESTAMP), "2003-07-15 14:35:59.000000000");
  EXPECT_EQ(odbc.FetchBound(first, 8, SQL_C_BIT), "1");
  EXPECT_EQ(odbc.FetchBound(first, 9, SQL_C_CHAR), "Grüße – €");
  EXPECT_EQ(odbc.FetchBound(first, 10, SQL_C_LONG), "-2147483647");
  EXPECT_EQ(odbc.FetchBound(first, 11, SQL_C_DOUBLE), "1234.5678");
  EXPECT_EQ(odbc.FetchText("SELECT NAME, AGE FROM people ORDER BY rowid"),
            (std::vector<Row>{{std::string("Иван Петров"), std::string("42")},
                              {std::string("Пустой"), std::nullopt},
                              {std::string("Anna"), std::string("7")}}));
}

}  // namespace
}  // namespace tallowick
