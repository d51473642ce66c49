// PostgreSQL on the private server that CTest starts: the credential
// prompt, the server's types in the preview, and whole generation runs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "engine/helper_file.h"
#include "source/catalogue.h"
#include "source/generation_checks.h"
#include "source/odbc_result_source.h"
#include "source/query_run.h"
#include "source/source_connection.h"
#include "tests/source/source_test_util.h"
#include "tests/support/postgres_server.h"
#include "tests/support/private_odbc.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::RecordedNotices;
using testing::ScriptedPrompt;
using testing::TempFolder;

constexpr const char* kWithPassword = "TallowickPg";
constexpr const char* kWithoutPassword = "TallowickPgLogin";

class Postgres : public testing::OdbcTest {
 protected:
  // The server and its tables (postgres_tables.sql) come from the CTest
  // fixture postgres_server; each test process adds its data sources.
  void SetUp() override {
    static bool added = false;
    if (!added) {
      testing::AddPostgresDataSource(kWithPassword, true);
      testing::AddPostgresDataSource(kWithoutPassword, false);
      added = true;
    }
  }

  void Connect() {
    const ConnectOutcome outcome = m_connection.ConnectDataSource(kWithPassword, m_prompt);
    ASSERT_TRUE(outcome.Connected()) << outcome.message;
  }

  GenerationRun Generate(const std::string& query, const std::string& name) {
    GenerationInputs inputs{query, name, "PGts", "TEST", m_output.Path()};
    const GenerationCheck check = CheckGenerationInputs(inputs);
    EXPECT_TRUE(check.Passed()) << check.message;
    GenerationRequest request{check.outputFolder, 0, name, inputs.creator, inputs.type};
    return RunGeneration(m_connection.Connection(), query, request, m_notices);
  }

  TempFolder m_output;
  ScriptedPrompt m_prompt;
  RecordedNotices m_notices;
  SourceConnection m_connection;
};

TEST_F(Postgres, TheRightPasswordConnectsAfterOnePrompt) {
  ScriptedPrompt prompt(Credentials{"tallowick", "tallowick-pw"});
  int resets = 0;
  const ConnectOutcome outcome =
      m_connection.ConnectDataSource(kWithoutPassword, prompt, [&] { ++resets; });
  ASSERT_TRUE(outcome.Connected()) << outcome.message;
  EXPECT_EQ(prompt.asked, (std::vector<std::string>{kWithoutPassword}));
  EXPECT_EQ(resets, 1);
  EXPECT_TRUE(m_connection.Connected());
  EXPECT_FALSE(ListTables(m_connection).names.empty());
}

TEST_F(Postgres, AWrongPasswordFailsWithTheServersMessageAfterOnePrompt) {
  ScriptedPrompt prompt(Credentials{"tallowick", "wrong"});
  const ConnectOutcome outcome = m_connection.ConnectDataSource(kWithoutPassword, prompt);
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_EQ(outcome.message.rfind("ODBC Error ::", 0), 0u);
  EXPECT_NE(outcome.message.find("password authentication failed for user \"tallowick\""),
            std::string::npos)
      << outcome.message;
  EXPECT_EQ(outcome.message.substr(outcome.message.size() - 3), "\"  ");
  EXPECT_EQ(prompt.asked.size(), 1u);
  EXPECT_FALSE(m_connection.Connected());
  EXPECT_EQ(m_connection.Connection(), nullptr);
}

TEST_F(Postgres, CancellingThePromptFailsWithoutAMessage) {
  ScriptedPrompt prompt(std::nullopt);
  const ConnectOutcome outcome = m_connection.ConnectDataSource(kWithoutPassword, prompt);
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Cancelled);
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(m_connection.Connection(), nullptr);
}

TEST_F(Postgres, ADataSourceWithItsPasswordNeedsNoPrompt) {
  Connect();
  EXPECT_TRUE(m_prompt.asked.empty());
  TableListing listing = ListTables(m_connection);
  ASSERT_TRUE(listing.ok);
  std::sort(listing.names.begin(), listing.names.end());
  EXPECT_EQ(listing.names, (std::vector<std::string>{"big", "kinds", "people"}));
  EXPECT_EQ(ListColumns(m_connection, "kinds")->size(), 11u);
}

TEST_F(Postgres, PreviewShowsTheServersTypesInTheirTextForms) {
  Connect();
  PreviewTable table;
  const PreviewRun run =
      RunPreview(m_connection.Connection(), "SELECT * FROM kinds ORDER BY id", table, m_notices);
  ASSERT_EQ(run.message, "") << run.driverDiagnostic;
  ASSERT_EQ(table.rows.size(), 2u);
  // float8 comes as SQL_FLOAT (6), real as SQL_REAL (7), boolean as text,
  // time as TYPE_TIME (no kind), bigint without a kind.
  EXPECT_EQ(table.rows[0],
            (std::vector<std::string>{"1", "65534", "1.234568e+08", "2.500000", "2003/7/15",
                                      "2003/07/13 02:35:59 PM", "Not Supported", "1", "12.34",
                                      "Crème brûlée", "Not Supported"}));
  EXPECT_EQ(table.rows[1],
            (std::vector<std::string>{"2", "0", "0.000000", "0.000000", "", "", "Not Supported", "",
                                      "", "", "Not Supported"}));
  EXPECT_EQ(run.result.diagnostic, "");
}

TEST_F(Postgres, GenerationWritesThePdbTheHelperFileAndBothLogs) {
  Connect();
  const GenerationRun run = Generate(
      "SELECT id, small, wide, single, day, moment, label FROM kinds ORDER BY id", "Kinds");
  ASSERT_EQ(run.message, "") << run.driverDiagnostic;
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 2u);

  PdbHeader header;
  const std::vector<Bytes> records =
      testing::ReadPdbRecords(m_output.Path() + "/", "Kinds", &header);
  EXPECT_EQ(header.name, "Kinds");
  EXPECT_EQ(header.creator, "PGts");
  EXPECT_EQ(header.type, "TEST");
  ASSERT_EQ(records.size(), 2u);
  Bytes first = {0x00, 0x00, 0x00, 0x01,                          // id
                 0xFF, 0xFE,                                      // small -2
                 0x41, 0x9D, 0x6F, 0x34, 0x56, 0x00, 0x00, 0x00,  // wide
                 0x40, 0x20, 0x00, 0x00,                          // single 2.5
                 0xC6, 0xEF,                                      // 2003-07-15
                 0x00, 0x3B, 0x00, 0x23, 0x00, 0x0E, 0x00, 0x0D,  // 59 s, 35 min, 14 h, day 13
                 0x00, 0x07, 0x07, 0xD3, 0x00, 0x07};             // July, 2003, Sunday
  const std::string label =
      "Cr\xE8me br\xFBl\xE9"
      "e";  // in Windows-1252, the default set
  first.insert(first.end(), label.begin(), label.end());
  first.push_back(0);
  EXPECT_EQ(records[0], first);

  const std::optional<HelperInfo> helper = ReadHelperFile(m_output.File("KindsHelper.mhl"));
  ASSERT_TRUE(helper);
  ASSERT_EQ(helper->fields.size(), 7u);
  const std::uint8_t kinds[] = {4, 5, 2, 3, 8, 6, 1};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(helper->fields[i].kind, kinds[i]) << i;

  const std::string process = testing::FileText(m_output.File("TallowickProcess.log"));
  EXPECT_NE(process.find("Total Records written: 2"), std::string::npos) << process;
  EXPECT_EQ(process.find("Could not"), std::string::npos) << process;
  const std::string log = testing::FileText(m_output.File("TallowickLog.txt"));
  EXPECT_NE(log.find("typedef struct"), std::string::npos) << log;
}

TEST_F(Postgres, SeventyThousandRowsGiveTheFirst65535Records) {
  Connect();
  const auto start = std::chrono::steady_clock::now();
  const GenerationRun run = Generate("SELECT * FROM big ORDER BY id", "Big");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.result.records, 65535u);
  EXPECT_EQ(m_notices.texts, (std::vector<std::string>{kRowLimitMessage}));
  RecordProperty("seconds", std::to_string(seconds));
  std::printf("70000 rows generated in %.2f s\n", seconds);
}

TEST_F(Postgres, ForwardAndAbsoluteReadingGiveTheSameRows) {
  Connect();
  PreviewTable tables[2];
  double seconds[2] = {};
  const FetchMode modes[2] = {FetchMode::Absolute, FetchMode::Forward};
  for (int i = 0; i < 2; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const PreviewRun run =
        RunPreview(m_connection.Connection(), "SELECT * FROM big WHERE id <= 60000 ORDER BY id",
                   tables[i], m_notices, nullptr, {}, modes[i]);
    seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(run.message, "");
  }
  EXPECT_EQ(tables[0].rows.size(), 60000u);
  EXPECT_EQ(tables[0].rows, tables[1].rows);
  std::printf("60000 rows: absolute %.3f s, forward %.3f s\n", seconds[0], seconds[1]);
}

TEST_F(Postgres, AnUnwritableOutputFolderIsReportedNotHidden) {
  Connect();
  // /proc can be entered but not written, even by root.
  std::string folder = "/proc";
  ASSERT_TRUE(CheckOutputFolder(folder));
  GenerationRequest request{folder, 0, "Nowhere", "HWRP", "HWRP"};
  const GenerationRun run =
      RunGeneration(m_connection.Connection(), "SELECT id FROM kinds", request, m_notices);
  EXPECT_EQ(run.message, "");
  EXPECT_EQ(run.generated, 0);
  EXPECT_FALSE(run.result.ok);
  EXPECT_FALSE(run.result.failedFile.empty());
  EXPECT_NE(GenerationFailedMessage(run.result).find(run.result.failedFile), std::string::npos);
}

// Each query family gives the rows isql reads through the same driver; a
// query with LIMIT is not rewritten into one the server refuses.
TEST_F(Postgres, EachQueryFamilyGivesTheRowsIsqlReads) {
  Connect();
  for (const char* query : testing::kQueryFamilies) {
    const auto expected = testing::IsqlRows(kWithPassword, query);
    ASSERT_TRUE(expected) << query;
    EXPECT_FALSE(expected->empty()) << query;
    PreviewTable table;
    const PreviewRun run = RunPreview(m_connection.Connection(), query, table, m_notices);
    EXPECT_EQ(run.message, "") << query;
    EXPECT_FALSE(run.failed) << query << ": " << run.driverDiagnostic;
    EXPECT_EQ(table.rows, *expected) << query;
  }
  const GenerationRun run = Generate("SELECT id, name FROM people ORDER BY id LIMIT 3", "Three");
  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(testing::ReadPdbRecords(m_output.Path() + "/", "Three").size(), 3u);
}

TEST_F(Postgres, AQueryTheServerFailsIsAFailedPreviewWithItsWord) {
  Connect();
  PreviewTable table;
  const PreviewRun run =
      RunPreview(m_connection.Connection(), "SELECT id, 10 / (id - 3) AS q FROM people ORDER BY id",
                 table, m_notices);
  EXPECT_EQ(run.message, "");
  EXPECT_TRUE(run.failed);
  EXPECT_NE(run.driverDiagnostic.find("division by zero"), std::string::npos)
      << run.driverDiagnostic;
  EXPECT_EQ(table.columns, (std::vector<std::string>{"id", "q"}));
  EXPECT_TRUE(table.rows.empty());
}

}  // namespace
}  // namespace tallowick
