// Access files through MDB Tools. Every value read must equal what
// mdb-export reads from the same file: that is what proves the remedies for
// the driver's 32-bit indicators, Single floats, narrow integers and bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/helper_file.h"
#include "source/catalogue.h"
#include "source/generation_checks.h"
#include "source/odbc_result_source.h"
#include "source/query_composer.h"
#include "source/query_run.h"
#include "source/source_connection.h"
#include "tests/source/source_test_util.h"
#include "tests/support/command_output.h"
#include "tests/support/private_odbc.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::RecordedNotices;
using testing::ScriptedPrompt;
using testing::ShellQuoted;
using testing::TempFolder;

const std::string kFixtures = TALLOWICK_FIXTURES;

struct ExportField {
  bool null = false;
  std::string text;
};
using ExportRow = std::vector<ExportField>;

// mdb-export's CSV: quoted fields double their quotes and may hold line
// breaks; an unquoted empty field is NULL.
std::vector<ExportRow> ParseExport(const std::string& csv) {
  std::vector<ExportRow> rows;
  ExportRow row;
  std::size_t i = 0;
  while (i < csv.size()) {
    ExportField field;
    if (csv[i] == '"') {
      ++i;
      for (;;) {
        if (i >= csv.size()) break;
        if (csv[i] == '"') {
          if (i + 1 < csv.size() && csv[i + 1] == '"') {
            field.text.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field.text.push_back(csv[i++]);
      }
    } else {
      while (i < csv.size() && csv[i] != ',' && csv[i] != '\n') field.text.push_back(csv[i++]);
      field.null = field.text.empty();
    }
    row.push_back(field);
    if (i >= csv.size() || csv[i] == '\n') {
      rows.push_back(std::move(row));
      row.clear();
    }
    ++i;  // the separator
  }
  return rows;
}

std::vector<ExportRow> MdbExport(const std::string& file, const std::string& table) {
  const std::string format = "%Y-%m-%d %H:%M:%S";
  int status = 0;
  const std::string csv = testing::CommandOutput(
      // The oracle reads names and texts in the locale's encoding: UTF-8,
      // whatever locale the tests run in.
      "LC_ALL=C.UTF-8 mdb-export -H -b strip -D " + ShellQuoted(format) + " -T " +
          ShellQuoted(format) + " " + ShellQuoted(file) + " " + ShellQuoted(table),
      &status);
  EXPECT_EQ(status, 0) << "mdb-export " << table;
  return ParseExport(csv);
}

template <typename T>
T Read(const ColumnInfo& column) {
  T value{};
  std::memcpy(&value, column.value.data(), sizeof value);
  return value;
}

// The value in the same text form as mdb-export's, or "" when it cannot be
// compared that way (floating values are compared numerically).
std::string ExportForm(const ColumnInfo& column) {
  char text[64];
  switch (column.bindType) {
    case bind::Char:
      return std::string(reinterpret_cast<const char*>(column.value.data()));
    case bind::Long:
      return std::to_string(Read<std::int32_t>(column));
    case bind::Short:
      return std::to_string(Read<std::int16_t>(column));
    case bind::TinyInt:
    case bind::Bit:
      return std::to_string(Read<std::uint8_t>(column));
    case bind::Timestamp: {
      const auto stamp = Read<SQL_TIMESTAMP_STRUCT>(column);
      std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", stamp.year, stamp.month,
                    stamp.day, stamp.hour, stamp.minute, stamp.second);
      return text;
    }
    default:
      return {};
  }
}

class MdbSource : public testing::OdbcTest {
 protected:
  void Open(const std::string& file) {
    const ConnectOutcome outcome = m_connection.OpenFile(file, m_prompt);
    ASSERT_TRUE(outcome.Connected()) << outcome.message;
  }

  // Reads the whole table as the generation run does and compares every
  // value of every column with a kind against mdb-export. Returns the
  // number of values compared.
  std::size_t CompareWithExport(const std::string& file, const std::string& table) {
    const std::string query = "SELECT * FROM " + m_connection.Naming().Table(table);
    OdbcResultSource source(m_connection.Connection(), query);
    EXPECT_TRUE(source.Ready()) << table << ": " << source.Diagnostic();
    if (!source.Ready()) return 0;
    // MDB Tools knows its columns only after running the query.
    EXPECT_TRUE(source.ExecutedWhilePreparing());
    std::vector<ColumnInfo> columns;
    for (int n = 1; n <= source.ColumnCount(); ++n) {
      std::string name;
      std::int16_t type = 0;
      EXPECT_TRUE(source.DescribeColumn(static_cast<std::uint16_t>(n), name, type));
      columns.push_back(MakeColumnInfo(static_cast<std::uint16_t>(n), name, type));
    }
    EXPECT_TRUE(source.Execute());
    for (ColumnInfo& column : columns) EXPECT_TRUE(source.BindColumn(column)) << column.name;

    const std::vector<ExportRow> expected = MdbExport(file, table);
    std::size_t compared = 0;
    std::size_t row = 0;
    for (;; ++row) {
      const FetchStatus status = source.FetchNext();
      if (status != FetchStatus::Row) {
        EXPECT_EQ(status, FetchStatus::NoData)
            << table << " row " << row << ": " << source.Diagnostic();
        break;
      }
      if (row >= expected.size()) {
        ADD_FAILURE() << table << ": more rows than mdb-export";
        break;
      }
      EXPECT_EQ(expected[row].size(), columns.size()) << table << " row " << row;
      for (std::size_t c = 0; c < columns.size() && c < expected[row].size(); ++c) {
        const ColumnInfo& column = columns[c];
        if (!column.kind) continue;  // OLE pictures: no kind, never bound
        const ExportField& want = expected[row][c];
        const std::string where = table + "." + column.name + " row " + std::to_string(row);
        ++compared;
        EXPECT_EQ(column.IsNull(), want.null) << where << " export: " << want.text;
        if (column.IsNull() || want.null) continue;
        if (column.bindType == bind::Double) {
          const double value = Read<double>(column);
          EXPECT_EQ(static_cast<float>(value), std::strtof(want.text.c_str(), nullptr)) << where;
          if (column.sqlType == SQL_FLOAT) {
            // A Single arrives widened, not as a float read as half a double.
            EXPECT_EQ(value, static_cast<double>(static_cast<float>(value))) << where;
          }
        } else {
          EXPECT_EQ(ExportForm(column), want.text) << where;
        }
      }
    }
    EXPECT_EQ(row, expected.size()) << table;
    // Forward reading replaced the absolute fetch the driver lacks.
    if (row > 0) {
      EXPECT_TRUE(source.ReadsForward());
    }
    return compared;
  }

  ScriptedPrompt m_prompt;
  SourceConnection m_connection;
};

class MdbFixture : public MdbSource, public ::testing::WithParamInterface<const char*> {};

TEST_P(MdbFixture, EveryValueOfEveryTableEqualsMdbExport) {
  const std::string file = kFixtures + "/" + GetParam();
  Open(file);
  const TableListing listing = ListTables(m_connection);
  ASSERT_TRUE(listing.ok);
  ASSERT_FALSE(listing.names.empty());
  std::size_t compared = 0;
  for (const std::string& table : listing.names) compared += CompareWithExport(file, table);
  RecordProperty("values_compared", static_cast<int>(compared));
  std::printf("%s: %zu tables, %zu values equal to mdb-export\n", GetParam(), listing.names.size(),
              compared);
}

INSTANTIATE_TEST_SUITE_P(AccessFiles, MdbFixture,
                         ::testing::Values("Northwind.mdb", "DateTest.mdb", "AssetItems.accdb"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

TEST_F(MdbSource, TableListHoldsTheTablesOnlyAsMdbToolsListsThem) {
  const std::string file = kFixtures + "/Northwind.mdb";
  Open(file);
  TableListing listing = ListTables(m_connection);
  ASSERT_TRUE(listing.ok);
  // mdb-tables lists user tables, without system tables and queries (views).
  std::vector<std::string> expected;
  std::string line;
  for (char c : testing::CommandOutput("LC_ALL=C.UTF-8 mdb-tables -1 " + ShellQuoted(file))) {
    if (c == '\n') {
      if (!line.empty()) expected.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  std::sort(listing.names.begin(), listing.names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listing.names, expected);
  // The catalogue statement serves request after request.
  EXPECT_EQ(ListColumns(m_connection, "Shippers"),
            (std::vector<std::string>{"ShipperID", "CompanyName", "Phone"}));
  EXPECT_EQ(
      ListColumns(m_connection, "Order Details"),
      (std::vector<std::string>{"OrderID", "ProductID", "UnitPrice", "Quantity", "Discount"}));
}

TEST_F(MdbSource, OrderDetailsIsBracketedAndItsComposedQueriesRun) {
  Open(kFixtures + "/Northwind.mdb");
  const TableSelection selection = SelectTables(m_connection, {"Order Details"});
  ASSERT_TRUE(selection.query);
  EXPECT_EQ(*selection.query, "SELECT   *   FROM  [Order Details]");
  EXPECT_EQ(*selection.pdbName, "Order Details");
  RecordedNotices notices;
  PreviewTable all;
  PreviewRun run = RunPreview(m_connection.Connection(), *selection.query, all, notices);
  ASSERT_EQ(run.message, "") << run.driverDiagnostic;
  EXPECT_EQ(all.rows.size(), 2155u);
  EXPECT_EQ(all.columns, (std::vector<std::string>{"OrderID", "ProductID", "UnitPrice", "Quantity",
                                                   "Discount"}));
  EXPECT_EQ(all.rows[0], (std::vector<std::string>{"10248", "11", "14.0000", "12", "0.000000"}));

  const FieldMove move =
      RemoveFields({{}, selection.selectedFields}, {0, 1, 2}, {"[Order Details]"});
  EXPECT_EQ(*move.query, "SELECT    Quantity , Discount FROM  [Order Details]");
  PreviewTable some;
  run = RunPreview(m_connection.Connection(), *move.query, some, notices);
  ASSERT_EQ(run.message, "") << run.driverDiagnostic;
  ASSERT_EQ(some.rows.size(), 2155u);
  // A Single of 0.15 shows as the float it is, widened.
  bool sawFifteen = false;
  for (const auto& row : some.rows) sawFifteen |= row[1] == "0.150000";
  EXPECT_TRUE(sawFifteen);
  EXPECT_TRUE(notices.texts.empty());
}

TEST_F(MdbSource, NullsReadAsNullsNotAsThePreviousRowsValue) {
  Open(kFixtures + "/Northwind.mdb");
  RecordedNotices notices;
  PreviewTable table;
  const PreviewRun run =
      RunPreview(m_connection.Connection(), "SELECT OrderID, ShipRegion, ShippedDate FROM Orders",
                 table, notices);
  ASSERT_EQ(run.message, "");
  ASSERT_GE(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{"10330", "Lara", "1994/11/28 12:00:00  AM"}));
  EXPECT_EQ(table.rows[1], (std::vector<std::string>{"10331", "", "1994/11/21 12:00:00  AM"}));
}

TEST_F(MdbSource, GenerationFromAccessWritesTheFileValues) {
  Open(kFixtures + "/Northwind.mdb");
  TempFolder output;
  RecordedNotices notices;
  GenerationRequest request{output.Path() + "/", 0, "OrderDetails", "HWRP", "HWRP"};
  const GenerationRun run =
      RunGeneration(m_connection.Connection(), "SELECT * FROM [Order Details]", request, notices);
  ASSERT_EQ(run.message, "") << run.driverDiagnostic;
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 2155u);
  const std::vector<Bytes> records = testing::ReadPdbRecords(output.Path() + "/", "OrderDetails");
  ASSERT_EQ(records.size(), 2155u);
  const Bytes first = {0x00, 0x00, 0x28, 0x08,                     // OrderID 10248
                       0x00, 0x00, 0x00, 0x0B,                     // ProductID 11
                       '1',  '4',  '.',  '0',  '0', '0', '0', 0,   // UnitPrice, Currency as text
                       0x00, 0x0C,                                 // Quantity 12
                       0,    0,    0,    0,    0,   0,   0,   0};  // Discount 0.0
  EXPECT_EQ(records[0], first);
}

TEST_F(MdbSource, ATableWithAPictureColumnGeneratesWithoutBindErrors) {
  Open(kFixtures + "/Northwind.mdb");
  TempFolder output;
  RecordedNotices notices;
  GenerationRequest request{output.Path() + "/", 0, "Employees", "HWRP", "HWRP"};
  const GenerationRun run =
      RunGeneration(m_connection.Connection(), "SELECT * FROM Employees", request, notices);
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 9u);
  const std::string log = testing::FileText(output.File("TallowickProcess.log"));
  EXPECT_EQ(log.find("Could not Bind Column"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error while reading"), std::string::npos) << log;
  const std::optional<HelperInfo> helper = ReadHelperFile(output.File("EmployeesHelper.mhl"));
  ASSERT_TRUE(helper);
  EXPECT_EQ(helper->fields.size(), 16u);  // 17 columns, the Photo has no kind
}

TEST_F(MdbSource, AMissingDatabaseFailsWithAReadableMessage) {
  testing::PrivateOdbc::Get().AddUserDataSource("GoneAccess", "MDBTools",
                                                {{"Database", "/nonexistent/gone.mdb"}});
  const ConnectOutcome outcome = m_connection.ConnectDataSource("GoneAccess", m_prompt);
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_EQ(outcome.message, "ODBC Error ::The driver reported no diagnostic  ");
  EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(MdbSource, AQueryTheParserRefusesIsAnInvalidQuery) {
  Open(kFixtures + "/Northwind.mdb");
  RecordedNotices notices;
  PreviewTable table;
  const PreviewRun run =
      RunPreview(m_connection.Connection(), "SELECT * FROM `Order Details`", table, notices);
  EXPECT_EQ(run.message, "Invalid Query, Please Enter Valid SELECT Query");
  EXPECT_TRUE(table.columns.empty());
  EXPECT_NE(run.driverDiagnostic.find("Couldn't parse SQL"), std::string::npos)
      << run.driverDiagnostic;
}

// The query forms MDB Tools' parser takes give the rows isql reads through
// the same driver; those it refuses (UNION, sub-selects, ORDER BY) are
// refused here too, never shown as an empty result.
TEST_F(MdbSource, EachQueryFormGivesTheRowsIsqlReads) {
  const std::string file = kFixtures + "/Northwind.mdb";
  Open(file);
  const std::string target = "-k " + ShellQuoted("DRIVER={MDBTools};DBQ=" + file);
  const char* taken[] = {
      "SELECT CategoryID, CategoryName FROM Categories",
      "SELECT TOP 3 CategoryID, CategoryName FROM Categories",
      "SELECT CategoryID FROM Categories LIMIT 3",
      "SELECT CategoryID FROM Categories WHERE CategoryID > 5",
      "SELECT CategoryID FROM Categories WHERE CategoryName LIKE 'C%'",
  };
  for (const char* query : taken) {
    const auto expected = testing::IsqlRows(target, query);
    ASSERT_TRUE(expected) << query;
    EXPECT_FALSE(expected->empty()) << query;
    PreviewTable table;
    RecordedNotices notices;
    const PreviewRun run = RunPreview(m_connection.Connection(), query, table, notices);
    EXPECT_EQ(run.message, "") << query;
    EXPECT_FALSE(run.failed) << query << ": " << run.driverDiagnostic;
    EXPECT_EQ(table.rows, *expected) << query;
  }
  const char* refused[] = {
      "SELECT CategoryID FROM Categories UNION SELECT ShipperID FROM Shippers",
      "SELECT * FROM (SELECT CategoryID FROM Categories)",
      "SELECT CategoryID FROM Categories ORDER BY CategoryID DESC",
  };
  for (const char* query : refused) {
    EXPECT_FALSE(testing::IsqlRows(target, query)) << query;
    PreviewTable table;
    RecordedNotices notices;
    const PreviewRun run = RunPreview(m_connection.Connection(), query, table, notices);
    EXPECT_TRUE(!run.message.empty() || run.failed) << query;
    EXPECT_TRUE(table.rows.empty()) << query;
  }
}

}  // namespace
}  // namespace tallowick
