// SQLite files through the real SQLite3 driver: catalogue, every column
// type in the preview and in a generated PDB, the row limit, long texts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

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
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::RecordedNotices;
using testing::ScriptedPrompt;
using testing::TempFolder;

constexpr const char* kEveryType = R"(
CREATE TABLE everything(
  a TINYINT, b SMALLINT, c BIT, e FLOAT, g DOUBLE, h DATE, i TIME, j TIMESTAMP,
  l VARCHAR(20), m TEXT, n INTEGER, o BIGINT, q DECIMAL(10,2), r BLOB);
INSERT INTO everything VALUES(200, -2, 1, 1.5, 123456789.5, '2003-03-01', '14:30:00',
  '2003-03-01 00:05:09', 'a	b', 'Crème brûlée', -7, 9000000000, 3.14, x'0102');
INSERT INTO everything VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
  NULL, NULL, NULL);
INSERT INTO everything VALUES(-1, 32767, 0, -0.5, 99999999.5, '1999-12-31', '00:00:01',
  '2003-03-01 14:30:00', '', 'x', 2147483647, 1, 0, x'');
)";

class SqliteSource : public testing::OdbcTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(m_database, kEveryType));
  }

  void Open(const std::string& path) {
    const ConnectOutcome outcome = m_connection.OpenFile(path, m_prompt);
    ASSERT_TRUE(outcome.Connected()) << outcome.message;
  }

  PreviewTable Preview(const std::string& query, PreviewRun* runOut = nullptr) {
    PreviewTable table;
    PreviewRun run = RunPreview(m_connection.Connection(), query, table, m_notices);
    EXPECT_EQ(run.message, "") << run.driverDiagnostic;
    if (runOut != nullptr) *runOut = run;
    return table;
  }

  GenerationRun Generate(const std::string& query, const std::string& name) {
    GenerationInputs inputs{query, name, "TWck", "DATA", m_output.Path()};
    const GenerationCheck check = CheckGenerationInputs(inputs);
    EXPECT_TRUE(check.Passed()) << check.message;
    GenerationRequest request;
    request.outputFolder = check.outputFolder;
    request.pdbName = name;
    request.creator = inputs.creator;
    request.type = inputs.type;
    return RunGeneration(m_connection.Connection(), query, request, m_notices);
  }

  std::string ProcessLog() const {
    return testing::FileText(m_output.File("TallowickProcess.log"));
  }

  TempFolder m_folder;
  TempFolder m_output;
  std::string m_database = m_folder.File("types.db");
  ScriptedPrompt m_prompt;
  RecordedNotices m_notices;
  SourceConnection m_connection;
};

TEST_F(SqliteSource, PreviewShowsEveryTypeInItsTextForm) {
  Open(m_database);
  PreviewRun run;
  const PreviewTable table = Preview("SELECT * FROM everything", &run);
  EXPECT_EQ(table.columns, (std::vector<std::string>{"a", "b", "c", "e", "g", "h", "i", "j", "l",
                                                     "m", "n", "o", "q", "r"}));
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{
                               "200", "65534", "1", "1.500000", "1.234568e+08", "2003/3/1",
                               "Not Supported", "2003/03/01 12:05:09  AM", "a     b",
                               "Crème brûlée", "-7", "Not Supported", "3.14", "Not Supported"}));
  EXPECT_EQ(table.rows[1],
            (std::vector<std::string>{"0", "0", "0", "0.000000", "0.000000", "", "Not Supported",
                                      "", "", "", "0", "Not Supported", "", "Not Supported"}));
  EXPECT_EQ(table.rows[2],
            (std::vector<std::string>{"255", "32767", "0", "-0.500000", "99999999.500000",
                                      "1999/12/31", "Not Supported", "2003/03/01 02:30:00 PM", "",
                                      "x", "2147483647", "Not Supported", "0", "Not Supported"}));
  // Columns without a kind are left unbound: no binding error was met.
  EXPECT_EQ(run.result.diagnostic, "");
  EXPECT_TRUE(run.result.executed);
  EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(SqliteSource, DriverReportsTheTypesTheSampleReliesOn) {
  Open(m_database);
  OdbcResultSource source(m_connection.Connection(), "SELECT h, j, n, g, l FROM everything");
  ASSERT_TRUE(source.Ready());
  const std::int16_t expected[] = {91, 93, 4, 8, 12};
  for (std::uint16_t i = 1; i <= 5; ++i) {
    std::string name;
    std::int16_t type = 0;
    ASSERT_TRUE(source.DescribeColumn(i, name, type));
    EXPECT_EQ(type, expected[i - 1]) << name;
  }
  // SQLite positions absolutely: no fallback, no early execution.
  ColumnInfo column = MakeColumnInfo(3, "n", 4);
  ASSERT_TRUE(source.Execute());
  ASSERT_TRUE(source.BindColumn(column));
  EXPECT_EQ(source.FetchNext(), FetchStatus::Row);
  EXPECT_FALSE(source.ReadsForward());
  EXPECT_FALSE(source.ExecutedWhilePreparing());
}

TEST_F(SqliteSource, GeneratedRecordsHoldEveryKindBigEndian) {
  Open(m_database);
  const GenerationRun run = Generate("SELECT n, l, b, a, h, j, g FROM everything", "Every");
  ASSERT_EQ(run.message, "");
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 3u);
  const std::vector<Bytes> records = testing::ReadPdbRecords(m_output.Path() + "/", "Every");
  ASSERT_EQ(records.size(), 3u);
  const Bytes first = {
      0xFF, 0xFF, 0xFF, 0xF9,                          // n -7
      'a',  ' ',  ' ',  ' ',  ' ',  ' ',  'b',  0,     // l, tab as five blanks
      0xFF, 0xFE,                                      // b -2
      0x00, 0xC8,                                      // a 200 (a byte, widened)
      0xC6, 0x61,                                      // h 2003-03-01
      0x00, 0x09, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01,  // j second, minute, hour, day
      0x00, 0x03, 0x07, 0xD3, 0x00, 0x06,              //   month, year 2003, Saturday
      0x41, 0x9D, 0x6F, 0x34, 0x56, 0x00, 0x00, 0x00,  // g 123456789.5
  };
  EXPECT_EQ(records[0], first);
  // NULLs: zero bytes of each field's size, one NUL for the text.
  EXPECT_EQ(records[1], Bytes(4 + 1 + 2 + 2 + 2 + 14 + 8, 0));

  const std::optional<HelperInfo> helper = ReadHelperFile(m_output.File("EveryHelper.mhl"));
  ASSERT_TRUE(helper);
  EXPECT_EQ(helper->pdbName, "Every");
  EXPECT_EQ(helper->creator, "TWck");
  EXPECT_EQ(helper->type, "DATA");
  ASSERT_EQ(helper->fields.size(), 7u);
  const std::uint8_t kinds[] = {4, 1, 5, 5, 8, 6, 2};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(helper->fields[i].kind, kinds[i]) << i;
  EXPECT_EQ(helper->fields[5].name, "j");
}

TEST_F(SqliteSource, ColumnsWithoutAKindAreSkippedWithoutABindError) {
  Open(m_database);
  const GenerationRun run = Generate("SELECT n, r, o, i, l FROM everything", "Unbound");
  EXPECT_EQ(run.generated, 1);
  const std::string log = ProcessLog();
  EXPECT_EQ(log.find("Could not Bind Column"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error while reading"), std::string::npos) << log;
  const std::optional<HelperInfo> helper = ReadHelperFile(m_output.File("UnboundHelper.mhl"));
  ASSERT_TRUE(helper);
  ASSERT_EQ(helper->fields.size(), 2u);
  EXPECT_EQ(helper->fields[1].name, "l");
  const std::vector<Bytes> records = testing::ReadPdbRecords(m_output.Path() + "/", "Unbound");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2], (Bytes{0x7F, 0xFF, 0xFF, 0xFF, 0}));
}

TEST_F(SqliteSource, CatalogueListsTablesOnlyAndQuotesNamesThatNeedIt) {
  ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(m_database, R"(
    CREATE TABLE "Order Details"("Unit Price" REAL, Quantity INTEGER);
    INSERT INTO "Order Details" VALUES(9.5, 3);
    CREATE TABLE a_b(x INTEGER);
    CREATE TABLE aXb(y INTEGER, z INTEGER);
    CREATE VIEW cheap AS SELECT * FROM "Order Details";
  )"));
  Open(m_database);
  TableListing listing = ListTables(m_connection);
  ASSERT_TRUE(listing.ok);
  std::sort(listing.names.begin(), listing.names.end());
  EXPECT_EQ(listing.names, (std::vector<std::string>{"Order Details", "aXb", "a_b", "everything"}));

  // "a_b" as a pattern also matches aXb; only a_b's own column is listed.
  EXPECT_EQ(ListColumns(m_connection, "a_b"), (std::vector<std::string>{"x"}));

  const TableSelection selection = SelectTables(m_connection, {"Order Details"});
  EXPECT_EQ(*selection.query, "SELECT   *   FROM  \"Order Details\"");
  EXPECT_EQ(selection.selectedFields, (std::vector<std::string>{"\"Unit Price\"", "Quantity"}));
  EXPECT_EQ(*selection.pdbName, "Order Details");
  EXPECT_EQ(Preview(*selection.query).rows.size(), 1u);

  const FieldMove move = RemoveFields({{}, selection.selectedFields}, {1}, {"\"Order Details\""});
  EXPECT_EQ(*move.query, "SELECT    \"Unit Price\" FROM  \"Order Details\"");
  const PreviewTable table = Preview(*move.query);
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{"9.500000"}));

  // Two tables: entries carry the table, and the composed query still runs.
  const TableSelection both = SelectTables(m_connection, {"a_b", "Order Details"});
  EXPECT_EQ(both.selectedFields,
            (std::vector<std::string>{"a_b.x", "\"Order Details\".\"Unit Price\"",
                                      "\"Order Details\".Quantity"}));
  EXPECT_FALSE(both.pdbName);
}

TEST_F(SqliteSource, QueryTextsAreUsedWholeWhateverTheirLength) {
  Open(m_database);
  std::string query = "SELECT n";
  for (int i = 0; i < 40; ++i)
    query += ", n + " + std::to_string(i) + " AS plus_" + std::to_string(i);
  query += " FROM everything";
  ASSERT_GT(query.size(), 600u);
  const PreviewTable table = Preview(query);
  ASSERT_EQ(table.columns.size(), 41u);
  EXPECT_EQ(table.columns.back(), "plus_39");
  EXPECT_EQ(table.rows[0].back(), "32");
  const GenerationRun run = Generate(query, "Long");
  EXPECT_EQ(run.generated, 1);
  const std::optional<HelperInfo> helper = ReadHelperFile(m_output.File("LongHelper.mhl"));
  ASSERT_TRUE(helper);
  EXPECT_EQ(helper->fields.size(), 41u);
}

TEST_F(SqliteSource, RefusedAndNonSelectQueriesGiveTheirMessages) {
  Open(m_database);
  PreviewTable table;
  PreviewRun run =
      RunPreview(m_connection.Connection(), "\tSELECT * FROM everything", table, m_notices);
  EXPECT_EQ(run.message, "Only SELECT Query Suppoted");
  run = RunPreview(m_connection.Connection(), "SELECT * FROM missing", table, m_notices);
  EXPECT_EQ(run.message, "Invalid Query, Please Enter Valid SELECT Query");
  EXPECT_NE(run.driverDiagnostic.find("no such table"), std::string::npos) << run.driverDiagnostic;
  EXPECT_TRUE(table.columns.empty());
  GenerationRequest request{m_output.Path() + "/", 0, "Missing", "HWRP", "HWRP"};
  const GenerationRun generation =
      RunGeneration(m_connection.Connection(), "SELECT * FROM missing", request, m_notices);
  EXPECT_EQ(generation.message, "Invalid Query, Please Enter Valid SELECT  Query");
  EXPECT_FALSE(std::ifstream(m_output.File("Missing.pdb")).good());
  // Leading blanks and lower case pass and reach the driver as typed.
  EXPECT_EQ(Preview("  select n from everything").rows.size(), 3u);
}

// The SQLite driver cuts a long column name without a warning, so the
// column stays in both the preview and the PDB.
TEST_F(SqliteSource, AColumnNameLongerThan254IsCutTo254) {
  Open(m_database);
  const std::string longName(300, 'w');
  const std::string query = "SELECT n, 1 AS " + longName + ", l FROM everything";
  const PreviewTable table = Preview(query);
  ASSERT_EQ(table.columns.size(), 3u);
  EXPECT_EQ(table.columns[1], std::string(254, 'w'));
  const GenerationRun run = Generate(query, "LongName");
  EXPECT_EQ(run.generated, 1);
  const std::optional<HelperInfo> helper = ReadHelperFile(m_output.File("LongNameHelper.mhl"));
  ASSERT_TRUE(helper);
  ASSERT_EQ(helper->fields.size(), 3u);
  EXPECT_EQ(helper->fields[1].name, std::string(64, 'w'));
}

// The sample database that scripts/make-sample.sh builds from
// samples/orders.sql: the types the driver reports, and its rows.
TEST_F(SqliteSource, TheSampleDatabaseReadsWithTheTypesItDeclares) {
  const std::string sample = m_folder.File("orders.db");
  int status = 0;
  testing::CommandOutput(
      "bash " +
          testing::ShellQuoted(std::string(TALLOWICK_SOURCE_DIR) + "/scripts/make-sample.sh") +
          " " + testing::ShellQuoted(sample),
      &status);
  ASSERT_EQ(status, 0);
  Open(sample);
  OdbcResultSource source(m_connection.Connection(), "SELECT * FROM orders");
  ASSERT_TRUE(source.Ready());
  ASSERT_EQ(source.ColumnCount(), 8);
  const std::int16_t types[] = {4, 12, 12, 4, 8, 91, 93, 12};
  for (std::uint16_t i = 1; i <= 8; ++i) {
    std::string name;
    std::int16_t type = 0;
    ASSERT_TRUE(source.DescribeColumn(i, name, type));
    EXPECT_EQ(type, types[i - 1]) << name;
  }
  const PreviewTable table = Preview("SELECT * FROM orders");
  ASSERT_EQ(table.rows.size(), 20u);
  EXPECT_EQ(table.rows[2],
            (std::vector<std::string>{"3", "Antonio Moreno Taquería", "Aniseed Syrup", "12",
                                      "10.000000", "2003/7/2", "", "Awaiting stock"}));
  EXPECT_EQ(table.rows[3][2], "Crème brûlée");
  EXPECT_EQ(table.rows[3][7], "");
  EXPECT_EQ(table.rows[1][6], "2003/07/03 02:30:00 PM");
  const GenerationRun run = Generate("SELECT * FROM orders", "Orders");
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 20u);
}

class SqliteRowLimit : public SqliteSource {
 protected:
  void SetUp() override {
    SqliteSource::SetUp();
    ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(m_database, R"(
      CREATE TABLE big(id INTEGER, label VARCHAR(20), amount DOUBLE);
      WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 70000)
      INSERT INTO big SELECT i, 'row ' || i, i * 0.5 FROM k;
    )"));
    Open(m_database);
  }
};

TEST_F(SqliteRowLimit, PreviewStopsAt65535RowsWithTheNotice) {
  const PreviewTable table = Preview("SELECT * FROM big");
  ASSERT_EQ(table.rows.size(), 65535u);
  EXPECT_EQ(table.rows.back()[0], "65535");
  EXPECT_EQ(m_notices.texts, (std::vector<std::string>{kRowLimitMessage}));
}

TEST_F(SqliteRowLimit, ExactlyTheLimitGivesNoNotice) {
  const PreviewTable table = Preview("SELECT * FROM big WHERE id <= 65535");
  EXPECT_EQ(table.rows.size(), 65535u);
  EXPECT_TRUE(m_notices.texts.empty());
  const GenerationRun run = Generate("SELECT * FROM big WHERE id <= 65535", "Exact");
  EXPECT_EQ(run.result.records, 65535u);
  EXPECT_TRUE(m_notices.texts.empty());
}

TEST_F(SqliteRowLimit, GenerationKeepsTheFirst65535Rows) {
  const GenerationRun run = Generate("SELECT * FROM big", "Big");
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 65535u);
  EXPECT_EQ(m_notices.texts, (std::vector<std::string>{kRowLimitMessage}));
  PdbHeader header;
  PdbFile file("Big", m_output.Path() + "/", ".pdb");
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  ASSERT_TRUE(file.ReadRecordList(header, entries, count));
  EXPECT_EQ(count, 65535);
  const auto last = file.ReadRecord(entries, 65534, count);
  ASSERT_TRUE(last);
  EXPECT_EQ((Bytes(last->begin(), last->begin() + 4)), (Bytes{0x00, 0x00, 0xFF, 0xFF}));
}

// Both ways of reading give the same rows; the time of each is recorded
// (the absolute fetch is what drivers that can position are given).
TEST_F(SqliteRowLimit, ForwardAndAbsoluteReadingGiveTheSameRows) {
  const std::string query = "SELECT * FROM big WHERE id <= 60000";
  PreviewTable tables[2];
  double seconds[2] = {};
  const FetchMode modes[2] = {FetchMode::Absolute, FetchMode::Forward};
  for (int i = 0; i < 2; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const PreviewRun run =
        RunPreview(m_connection.Connection(), query, tables[i], m_notices, nullptr, {}, modes[i]);
    seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(run.message, "");
  }
  EXPECT_EQ(tables[0].rows.size(), 60000u);
  EXPECT_EQ(tables[0].rows, tables[1].rows);
  RecordProperty("absolute_seconds", std::to_string(seconds[0]));
  RecordProperty("forward_seconds", std::to_string(seconds[1]));
  std::printf("60000 rows: absolute %.3f s, forward %.3f s\n", seconds[0], seconds[1]);
}

// Each query family gives the rows isql reads through the same driver.
TEST_F(SqliteSource, EachQueryFamilyGivesTheRowsIsqlReads) {
  const std::string people = m_folder.File("people.db");
  ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(people, testing::kPeopleRows));
  Open(people);
  const std::string target =
      "-k " + testing::ShellQuoted("DRIVER={SQLite3};Database=" + people + ";NoCreat=1");
  for (const char* query : testing::kQueryFamilies) {
    const auto expected = testing::IsqlRows(target, query);
    ASSERT_TRUE(expected) << query;
    EXPECT_FALSE(expected->empty()) << query;
    PreviewRun run;
    const PreviewTable table = Preview(query, &run);
    EXPECT_FALSE(run.failed) << query << ": " << run.driverDiagnostic;
    EXPECT_EQ(table.rows, *expected) << query;
  }
}

// A query that fails while it runs is a failure with the driver's word and
// the headings.
TEST_F(SqliteSource, AQueryFailingWhileItRunsIsReportedWithTheDriversWord) {
  const std::string people = m_folder.File("people.db");
  ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(people, testing::kPeopleRows));
  Open(people);
  // The driver reads the whole result when it executes the query, so a
  // value that fails in the third row fails the execution.
  const std::string cases[] = {
      "SELECT abs(-9223372036854775807 - 1) AS v FROM people",
      "SELECT CASE WHEN id = 3 THEN abs(-9223372036854775807 - 1) ELSE id END AS v FROM people",
  };
  for (const std::string& query : cases) {
    PreviewTable table;
    const PreviewRun run = RunPreview(m_connection.Connection(), query, table, m_notices);
    EXPECT_EQ(run.message, "") << query;
    EXPECT_TRUE(run.failed) << query;
    EXPECT_FALSE(run.result.executed) << query;
    EXPECT_NE(run.driverDiagnostic.find("integer overflow"), std::string::npos)
        << run.driverDiagnostic;
    EXPECT_EQ(table.columns, (std::vector<std::string>{"v"}));
    EXPECT_TRUE(table.rows.empty()) << query;
    EXPECT_EQ(PreviewFailedMessage(run), "The query could not be executed");
  }
}

}  // namespace
}  // namespace tallowick
