// The generator page on a SQLite file through the real SQLite3 driver:
// start-up, connection, tables and fields, the composed queries, Fetch and
// Generate with every message they give.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/pdb_file.h"
#include "source/page/preview_list_model.h"
#include "tests/source/page/generator_page_fixture.h"
#include "tests/support/sqlite_file.h"
#include "ui/file_filter.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

namespace g = res::generator;

using testing::GeneratorPageTest;
using testing::PrivateOdbc;
using testing::RunSqliteScript;
using Strings = std::vector<std::string>;

constexpr const char* kPeople = R"(
CREATE TABLE people(id INTEGER, name VARCHAR(20), born DATE, score DOUBLE, photo BLOB);
INSERT INTO people VALUES(1, 'Alice', '1970-01-02', 1.5, x'01');
INSERT INTO people VALUES(2, 'Bob	Jr', NULL, 123456789.5, NULL);
INSERT INTO people VALUES(3, NULL, '2003-12-31', NULL, x'02');
CREATE TABLE pets(id INTEGER, owner INTEGER, kind TEXT);
INSERT INTO pets VALUES(10, 1, 'cat');
CREATE TABLE a_table_with_a_name_longer_than_31(x INTEGER);
INSERT INTO a_table_with_a_name_longer_than_31 VALUES(7);
)";

const std::string kMessageTail = " \n\nClick View Log to see PDB details";

class SqlitePage : public GeneratorPageTest {
 protected:
  void SetUp() override {
    GeneratorPageTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(RunSqliteScript(m_database, kPeople));
  }
  void ConnectAndHighlightPeople() {
    Show();
    ASSERT_NO_FATAL_FAILURE(Connect(m_database));
    ASSERT_NO_FATAL_FAILURE(HighlightTables({"people"}));
  }
  std::string m_database = m_data.File("club.db");
};

TEST_F(SqlitePage, StartsWithDefaultsAndNothingToQuery) {
  PrivateOdbc::Get().AddUserDataSource("Zeta", "SQLite3", {{"Database", m_database}});
  PrivateOdbc::Get().AddSystemDataSource("Alpha", "SQLite3", {{"Database", m_database}});
  Show();
  EXPECT_EQ(W().Text(g::kCreator), "HWRP");
  EXPECT_EQ(W().Text(g::kType), "HWRP");
  EXPECT_EQ(W().TextLimit(g::kCreator), 4u);
  EXPECT_EQ(W().TextLimit(g::kType), 4u);
  EXPECT_EQ(W().TextLimit(g::kPdbName), 31u);
  EXPECT_EQ(W().Text(g::kPdbName), "");
  EXPECT_EQ(W().Text(g::kOutputFolder), CurrentWorkingFolder().value());
  EXPECT_FALSE(W().IsVisible(g::kViewLog));
  EXPECT_FALSE(W().IsEnabled(g::kQuery));
  EXPECT_FALSE(W().IsEnabled(g::kFetch));
  EXPECT_FALSE(W().IsEnabled(g::kGenerate));
  // User and system data sources, sorted by the combo box.
  EXPECT_EQ(W().Entries(g::kDataSource), (Strings{"Alpha", "Zeta"}));
  // Typing into the page's boxes keeps them disabled while not connected.
  W().Type(g::kPdbName, "a name that is longer than thirty-one characters");
  EXPECT_EQ(W().Text(g::kPdbName), "a name that is longer than thir");
  EXPECT_FALSE(W().IsEnabled(g::kFetch));
  EXPECT_TRUE(m_host.Messages().empty());
}

TEST_F(SqlitePage, BrowsingConnectsListsTablesAndKeepsTheWorkingFolder) {
  Show();
  const auto before = CurrentWorkingFolder();
  ASSERT_NO_FATAL_FAILURE(Connect(m_database));
  EXPECT_EQ(CurrentWorkingFolder(), before);
  EXPECT_EQ(m_host.LastMessage().caption, "Tallowick");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Information);
  EXPECT_EQ(m_host.Messages().size(), 1u);
  EXPECT_EQ(W().Text(g::kDataSource), m_database);
  EXPECT_EQ(W().Entries(g::kTableList),
            (Strings{"a_table_with_a_name_longer_than_31", "people", "pets"}));
  EXPECT_TRUE(W().IsEnabled(g::kQuery));
  EXPECT_TRUE(W().IsEnabled(g::kFetch));
  EXPECT_TRUE(W().IsEnabled(g::kGenerate));
  EXPECT_TRUE(TemporarySourceConfigured());

  // The dialog: Access, Excel, dBase, SQLite, then CSV and Excel workbooks;
  // patterns in either case.
  ASSERT_EQ(m_host.FileDialogs().size(), 1u);
  const FileDialogOptions& dialog = m_host.FileDialogs()[0];
  EXPECT_EQ(dialog.defaultExtension, "mdb");
  const auto filter = ParseFileFilter(dialog.filter);
  ASSERT_EQ(filter.size(), 6u);
  EXPECT_EQ(filter[4].description, "CSV File(*.csv)");
  EXPECT_EQ(filter[5].description, "Excel Workbook(*.xlsx)");
  EXPECT_TRUE(MatchesPattern("orders.CSV", filter[4].patterns[0]));
  EXPECT_TRUE(MatchesPattern("Book.xlsx", filter[5].patterns[0]));
  EXPECT_EQ(filter[0].description, "Microsoft Access Database(*.mdb)");
  EXPECT_EQ(filter[1].description, "Excel File(*.xls)");
  EXPECT_EQ(filter[2].description, "FoxPro/dbase Database(*.dbf)");
  EXPECT_NE(filter[3].description.find("SQLite"), std::string::npos);
  EXPECT_TRUE(MatchesPattern("ORDERS.MDB", filter[0].patterns[0]));
  EXPECT_TRUE(MatchesPattern("Club.DB", filter[3].patterns[0]));
}

TEST_F(SqlitePage, CancelledFileDialogChangesNothing) {
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(m_database));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"people"}));
  m_host.CancelFile();
  W().Click(g::kBrowse);
  EXPECT_TRUE(m_page.IsConnected());
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  people");
  EXPECT_EQ(W().Entries(g::kTableList).size(), 3u);
  EXPECT_EQ(m_host.Messages().size(), 1u);
}

TEST_F(SqlitePage, HighlightingTablesComposesTheQueryAndFieldLists) {
  ConnectAndHighlightPeople();
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  people");
  EXPECT_EQ(W().Entries(g::kSelectedFields), (Strings{"id", "name", "born", "score", "photo"}));
  EXPECT_TRUE(W().Entries(g::kAvailableFields).empty());
  EXPECT_EQ(W().Text(g::kPdbName), "people");

  W().Type(g::kPdbName, "Mine");
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"people", "pets"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  people , pets");
  EXPECT_EQ(W().Entries(g::kSelectedFields),
            (Strings{"people.id", "people.name", "people.born", "people.score", "people.photo",
                     "pets.id", "pets.owner", "pets.kind"}));
  EXPECT_EQ(W().Text(g::kPdbName), "Mine");  // no proposal for two tables

  // No highlight: both lists and the preview emptied, the query kept.
  W().Click(g::kFetch);
  EXPECT_EQ(W().RowCount(g::kPreviewList), 3u);  // three people, one pet
  W().ClearSelection(g::kTableList);
  EXPECT_TRUE(W().Entries(g::kSelectedFields).empty());
  EXPECT_TRUE(W().Entries(g::kAvailableFields).empty());
  EXPECT_TRUE(W().Columns(g::kPreviewList).empty());
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  people , pets");
}

TEST_F(SqlitePage, MovingFieldsRecomposesTheQueryInSelectedOrder) {
  ConnectAndHighlightPeople();
  // ">>" with nothing highlighted changes nothing.
  W().Type(g::kQuery, "SELECT id FROM people");
  W().Click(g::kAddFields);
  EXPECT_EQ(W().Text(g::kQuery), "SELECT id FROM people");

  W().SelectMany(g::kSelectedFields, {1, 3});  // name, score
  W().Click(g::kRemoveFields);
  EXPECT_EQ(W().Entries(g::kAvailableFields), (Strings{"name", "score"}));
  EXPECT_EQ(W().Entries(g::kSelectedFields), (Strings{"id", "born", "photo"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT    id , born , photo FROM  people");

  W().SelectMany(g::kAvailableFields, {0});  // name goes after those still there
  W().Click(g::kAddFields);
  EXPECT_EQ(W().Entries(g::kAvailableFields), (Strings{"score"}));
  EXPECT_EQ(W().Entries(g::kSelectedFields), (Strings{"id", "born", "photo", "name"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT    id , born , photo , name FROM  people");

  // Fetch, then a move empties the preview.
  W().Click(g::kFetch);
  EXPECT_EQ(W().RowCount(g::kPreviewList), 3u);
  W().SelectMany(g::kSelectedFields, {0, 1, 2, 3});
  W().Click(g::kRemoveFields);
  EXPECT_TRUE(W().Entries(g::kSelectedFields).empty());
  EXPECT_EQ(W().Text(g::kQuery), "");
  // Emptying the Selected list leaves the preview as it was.
  EXPECT_EQ(W().RowCount(g::kPreviewList), 3u);
}

TEST_F(SqlitePage, FetchShowsEveryValueByItsType) {
  ConnectAndHighlightPeople();
  W().Click(g::kFetch);
  EXPECT_EQ(W().Columns(g::kPreviewList), (Strings{"id", "name", "born", "score", "photo"}));
  EXPECT_EQ(W().Rows(g::kPreviewList),
            (std::vector<Strings>{{"1", "Alice", "1970/1/2", "1.500000", "Not Supported"},
                                  {"2", "Bob     Jr", "", "1.234568e+08", "Not Supported"},
                                  {"3", "", "2003/12/31", "0.000000", "Not Supported"}}));
  // The wait window stood while the rows were read, and is gone.
  EXPECT_EQ(m_host.WaitWindowsShown(), 1);
  EXPECT_FALSE(m_host.IsWaitWindowOpen());
  EXPECT_EQ(m_host.Messages().size(), 1u);  // only "Database connected..."
}

TEST_F(SqlitePage, FetchRefusesWhatIsNotASelectAndWhatTheDriverRefuses) {
  ConnectAndHighlightPeople();
  W().Click(g::kFetch);
  ASSERT_EQ(W().RowCount(g::kPreviewList), 3u);

  // Not a SELECT: the preview keeps its rows and no wait window comes.
  for (const char* query :
       {"UPDATE people SET id = 0", "\tSELECT * FROM people", "\nSELECT 1", ""}) {
    W().Type(g::kQuery, query);
    W().Click(g::kFetch);
    EXPECT_EQ(m_host.LastMessage().text, "Only SELECT Query Suppoted") << query;
    EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
    EXPECT_EQ(W().RowCount(g::kPreviewList), 3u);
  }
  EXPECT_EQ(m_host.WaitWindowsShown(), 1);

  // Lower case with leading blanks passes the check and runs as typed.
  W().Type(g::kQuery, "  select name from people where id = 1");
  W().Click(g::kFetch);
  EXPECT_EQ(W().Rows(g::kPreviewList), (std::vector<Strings>{{"Alice"}}));

  // Refused by the driver: one blank between SELECT and Query; preview emptied.
  W().Type(g::kQuery, "SELECT nothing FROM nowhere");
  W().Click(g::kFetch);
  EXPECT_EQ(
      m_host.LastMessage().text.rfind("Invalid Query, Please Enter Valid SELECT Query\n\n", 0), 0u)
      << m_host.LastMessage().text;
  EXPECT_EQ(m_host.LastMessage().caption, "Tallowick");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_TRUE(W().Columns(g::kPreviewList).empty());
  EXPECT_EQ(W().RowCount(g::kPreviewList), 0u);
}

TEST_F(SqlitePage, AFetchThatFailsShowsTheHeadingsAndTheDriversWord) {
  ConnectAndHighlightPeople();
  W().Type(g::kQuery, "SELECT abs(-9223372036854775807 - 1) AS v, name FROM people");
  W().Click(g::kFetch);
  EXPECT_EQ(W().Columns(g::kPreviewList), (Strings{"v", "name"}));
  EXPECT_EQ(W().RowCount(g::kPreviewList), 0u);
  const MessageRecord& failed = m_host.LastMessage();
  EXPECT_EQ(failed.icon, MessageIcon::Stop);
  EXPECT_EQ(failed.text.rfind("The query could not be executed\n\n", 0), 0u) << failed.text;
  EXPECT_NE(failed.text.find("integer overflow"), std::string::npos) << failed.text;
  EXPECT_FALSE(m_host.IsWaitWindowOpen());
}

TEST_F(SqlitePage, LongQueriesAreNeverCut) {
  ConnectAndHighlightPeople();
  // 300 characters, the condition at the very end.
  const std::string padding =
      "                                                                                ";
  const std::string query =
      "SELECT name" + padding + padding + padding + " FROM people WHERE id =    2";
  ASSERT_GT(query.size(), 259u);
  W().Type(g::kQuery, query);
  W().Click(g::kFetch);
  EXPECT_EQ(W().Rows(g::kPreviewList), (std::vector<Strings>{{"Bob     Jr"}}));

  FillGenerateInputs("Long");
  W().Click(g::kGenerate);
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Information) << m_host.LastMessage().text;
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  PdbFile pdb("Long", m_output.Path() + "/", ".pdb");
  ASSERT_TRUE(pdb.ReadRecordList(header, entries, count));
  EXPECT_EQ(count, 1u);
}

class SqliteRowLimit : public SqlitePage {
 protected:
  void Fill(int rows) {
    ASSERT_NO_FATAL_FAILURE(RunSqliteScript(
        m_database,
        "CREATE TABLE big(n INTEGER);"
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " +
            std::to_string(rows) + ") INSERT INTO big SELECT x FROM c;"));
    Show();
    ASSERT_NO_FATAL_FAILURE(Connect(m_database));
    W().Type(g::kQuery, "SELECT n FROM big");
    W().Click(g::kFetch);
  }
};

TEST_F(SqliteRowLimit, A65536thRowBringsTheNoticeAfterTheWaitWindow) {
  ASSERT_NO_FATAL_FAILURE(Fill(65536));
  EXPECT_EQ(W().RowCount(g::kPreviewList), 65535u);
  EXPECT_EQ(W().Cell(g::kPreviewList, 65534, 0), "65535");
  const MessageRecord& notice = m_host.LastMessage();
  EXPECT_EQ(notice.text, "No More than 65535 records supported in a single PDB!!");
  EXPECT_EQ(notice.caption, "Tallowick");
  EXPECT_EQ(notice.icon, MessageIcon::None);
  EXPECT_EQ(notice.buttons, MessageButtons::Ok);
  const auto& journal = m_host.Journal();
  ASSERT_GE(journal.size(), 3u);
  EXPECT_EQ(journal[journal.size() - 3], "wait: open");
  EXPECT_EQ(journal[journal.size() - 2], "wait: close");
}

TEST_F(SqliteRowLimit, Exactly65535RowsNeedNoNotice) {
  ASSERT_NO_FATAL_FAILURE(Fill(65535));
  EXPECT_EQ(W().RowCount(g::kPreviewList), 65535u);
  EXPECT_EQ(m_host.LastMessage().text, "Database connected...");
}

TEST_F(SqlitePage, GenerateChecksItsInputsInOrder) {
  ConnectAndHighlightPeople();
  W().Type(g::kQuery, "SELECT id, name FROM people");
  FillGenerateInputs("people");
  const std::string missing = m_output.File("missing");
  struct Case {
    const char* what;
    std::function<void(ScriptedWindow&)> change;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"not a select", [](ScriptedWindow& w) { w.Type(g::kQuery, "DELETE FROM people"); },
       "Only SELECT Query Suppoted"},
      {"empty name before a bad creator",
       [](ScriptedWindow& w) {
         w.Type(g::kPdbName, "");
         w.Type(g::kCreator, "AB");
       },
       "Invalid PDB Name"},
      {"slash in the name", [](ScriptedWindow& w) { w.Type(g::kPdbName, "a/b"); },
       "PDB Name must not contain \"/\""},
      {"empty creator", [](ScriptedWindow& w) { w.Type(g::kCreator, ""); },
       "Please Enter valid creator ID for this PDB"},
      {"short creator before a bad type",
       [](ScriptedWindow& w) {
         w.Type(g::kCreator, "ABC");
         w.Type(g::kType, "");
       },
       "Creator ID must be of length four"},
      {"empty type", [](ScriptedWindow& w) { w.Type(g::kType, ""); },
       "Please Enter valid PDB Type"},
      {"short type", [](ScriptedWindow& w) { w.Type(g::kType, "XY"); },
       "PDB Type must be of length four"},
      {"missing folder", [&](ScriptedWindow& w) { w.Type(g::kOutputFolder, missing); },
       "Invalid Ouput path"},
      {"empty folder", [](ScriptedWindow& w) { w.Type(g::kOutputFolder, ""); },
       "Invalid Ouput path"},
  };
  const auto workingFolder = CurrentWorkingFolder();
  for (const Case& c : cases) {
    FillGenerateInputs("people");
    W().Type(g::kQuery, "SELECT id, name FROM people");
    c.change(W());
    const std::string folderBefore = W().Text(g::kOutputFolder);
    W().Click(g::kGenerate);
    EXPECT_EQ(m_host.LastMessage().text, c.message) << c.what;
    EXPECT_EQ(m_host.LastMessage().caption, "Tallowick") << c.what;
    EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop) << c.what;
    EXPECT_FALSE(W().IsVisible(g::kViewLog)) << c.what;
    EXPECT_EQ(CurrentWorkingFolder(), workingFolder) << c.what;
    EXPECT_EQ(W().Text(g::kOutputFolder), folderBefore) << c.what;  // nothing changed yet
  }
  EXPECT_EQ(m_host.WaitWindowsShown(), 0);
  EXPECT_TRUE(OutputFiles().empty());
  EXPECT_TRUE(m_page.OutputFolder().empty() || m_page.OutputFolder() == m_output.Path() + "/");
}

TEST_F(SqlitePage, AQueryTheDriverRefusesIsReportedWithTheDriversLine) {
  ConnectAndHighlightPeople();
  struct Case {
    int button;
    std::string fixedText;
  };
  const std::vector<Case> cases = {
      {g::kFetch, "Invalid Query, Please Enter Valid SELECT Query"},
      {g::kGenerate, "Invalid Query, Please Enter Valid SELECT  Query"},
  };
  for (const Case& c : cases) {
    FillGenerateInputs("people");
    W().Type(g::kQuery, "SELECT id FROM nowhere");
    W().Click(c.button);
    const MessageRecord& refused = m_host.LastMessage();
    ASSERT_EQ(refused.text.rfind(c.fixedText + "\n\n", 0), 0u) << refused.text;
    const std::string driverLine = refused.text.substr(c.fixedText.size() + 2);
    EXPECT_NE(driverLine.find("no such table: nowhere"), std::string::npos) << refused.text;
    EXPECT_EQ(refused.caption, "Tallowick");
    EXPECT_EQ(refused.icon, MessageIcon::Stop);
  }
  EXPECT_FALSE(W().IsVisible(g::kViewLog));
  EXPECT_EQ(m_host.WaitWindowsShown(), 0);
  EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(SqlitePage, AProposedNameLongerThan31IsRefused) {
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(m_database));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"a_table_with_a_name_longer_than_31"}));
  EXPECT_EQ(W().Text(g::kPdbName), "a_table_with_a_name_longer_than_31");
  W().Type(g::kOutputFolder, m_output.Path());
  W().Click(g::kGenerate);
  EXPECT_EQ(m_host.LastMessage().text, "PDB Name must not be longer than 31 characters");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(SqlitePage, GenerateWritesTheFilesReportsAndOffersTheLog) {
  ConnectAndHighlightPeople();
  // The folder typed with trailing blanks and without the separator.
  W().Type(g::kOutputFolder, m_output.Path() + "   ");
  W().Click(g::kGenerate);
  const std::string folder = m_output.Path() + "/";
  const MessageRecord& done = m_host.LastMessage();
  EXPECT_EQ(done.text, "PDB \"people.pdb\" Generated At " + folder + kMessageTail);
  EXPECT_EQ(done.caption, "Tallowick");
  EXPECT_EQ(done.icon, MessageIcon::Information);
  EXPECT_EQ(W().Text(g::kOutputFolder), folder);
  EXPECT_TRUE(W().IsVisible(g::kViewLog));
  EXPECT_EQ(OutputFiles(), (Strings{"TallowickLog.txt", "TallowickProcess.log", "people.pdb",
                                    "peopleHelper.mhl"}));
  EXPECT_EQ(m_host.WaitWindowsShown(), 1);
  EXPECT_FALSE(m_host.IsWaitWindowOpen());

  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  PdbFile pdb("people", folder, ".pdb");
  ASSERT_TRUE(pdb.ReadRecordList(header, entries, count));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(header.creator, "HWRP");
  EXPECT_EQ(header.type, "HWRP");

  // ViewLog opens the log of that Generate, whatever the box says since.
  W().Type(g::kOutputFolder, "/somewhere/else");
  W().Click(g::kViewLog);
  EXPECT_EQ(m_host.OpenedPaths(), (Strings{folder + "TallowickLog.txt"}));
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Information);  // no word of its own
  // No program for it on the desktop: the page says where the log is.
  m_host.SetOpenResult(false);
  W().Click(g::kViewLog);
  EXPECT_EQ(m_host.OpenedPaths().size(), 2u);
  const MessageRecord& notOpened = m_host.LastMessage();
  EXPECT_EQ(notOpened.icon, MessageIcon::Exclamation);
  EXPECT_EQ(notOpened.caption, "Tallowick");
  const std::string logPath = folder + "TallowickLog.txt";
  ASSERT_GE(notOpened.text.size(), logPath.size() + 1);
  EXPECT_EQ(notOpened.text.substr(notOpened.text.size() - logPath.size() - 1), "\n" + logPath);

  // A new connection attempt hides ViewLog again.
  Browse(m_database);
  EXPECT_FALSE(W().IsVisible(g::kViewLog));
}

TEST_F(SqlitePage, AFileThatCannotBeWrittenIsReportedAsAFailure) {
  ConnectAndHighlightPeople();
  FillGenerateInputs("people");
  // A folder where the PDB should go: the PDB cannot be written.
  std::filesystem::create_directory(m_output.File("people.pdb"));
  W().Click(g::kGenerate);
  const MessageRecord& failed = m_host.LastMessage();
  EXPECT_EQ(failed.icon, MessageIcon::Stop);
  EXPECT_EQ(failed.text.rfind("PDB \"", 0), std::string::npos) << failed.text;
  EXPECT_NE(failed.text.find(m_output.Path() + "/people.pdb"), std::string::npos) << failed.text;
  EXPECT_FALSE(W().IsVisible(g::kViewLog));
  EXPECT_FALSE(m_host.IsWaitWindowOpen());
}

TEST_F(SqlitePage, OutputFolderChosenWithTheFolderDialog) {
  Show();
  m_host.AnswerFolder(m_output.Path());
  W().Click(g::kBrowseOutput);
  EXPECT_EQ(W().Text(g::kOutputFolder), m_output.Path());
  EXPECT_EQ(m_host.FolderDialogs(), (Strings{"Select o/p Path"}));
  m_host.CancelFolder();
  W().Type(g::kOutputFolder, "/kept");
  W().Click(g::kBrowseOutput);
  EXPECT_EQ(W().Text(g::kOutputFolder), "/kept");
}

TEST_F(SqlitePage, AConfiguredDataSourceConnectsAndSwitchingRemovesTheTemporaryOne) {
  PrivateOdbc::Get().AddUserDataSource("Club", "SQLite3", {{"Database", m_database}});
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(m_database));
  ASSERT_TRUE(TemporarySourceConfigured());
  W().Select(g::kDataSource, "Club");
  EXPECT_TRUE(m_page.IsConnected());
  EXPECT_EQ(m_host.LastMessage().text, "Database connected...");
  EXPECT_EQ(m_host.Messages().size(), 2u);
  EXPECT_EQ(W().Entries(g::kTableList).size(), 3u);
  EXPECT_FALSE(TemporarySourceConfigured());
  EXPECT_NE(PrivateOdbc::Get().UserIniText().find("[Club]"), std::string::npos);
}

TEST_F(SqlitePage, AFailedAttemptEmptiesTheViewsAndLeavesNothingBehind) {
  PrivateOdbc::Get().AddUserDataSource("Broken", "NoSuchDriver", {{"Database", m_database}});
  ConnectAndHighlightPeople();
  W().Click(g::kFetch);
  FillGenerateInputs("people");
  W().Click(g::kGenerate);
  ASSERT_TRUE(W().IsVisible(g::kViewLog));

  W().Select(g::kDataSource, "Broken");
  EXPECT_FALSE(m_page.IsConnected());
  EXPECT_EQ(m_host.LastMessage().text.rfind("ODBC Error ::", 0), 0u) << m_host.LastMessage().text;
  EXPECT_EQ(m_host.LastMessage().text.substr(m_host.LastMessage().text.size() - 2), "  ");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_EQ(W().Text(g::kQuery), "");
  EXPECT_TRUE(W().Entries(g::kTableList).empty());
  EXPECT_TRUE(W().Entries(g::kSelectedFields).empty());
  EXPECT_TRUE(W().Columns(g::kPreviewList).empty());
  EXPECT_FALSE(W().IsVisible(g::kViewLog));
  EXPECT_FALSE(W().IsEnabled(g::kQuery));
  EXPECT_FALSE(W().IsEnabled(g::kFetch));
  EXPECT_FALSE(W().IsEnabled(g::kGenerate));
  EXPECT_FALSE(TemporarySourceConfigured());
}

TEST_F(SqlitePage, AFileOfUnknownKindIsRefusedAndTheConnectionKept) {
  ConnectAndHighlightPeople();
  const std::string notes = m_data.File("notes.doc");
  std::ofstream(notes) << "hello";
  Browse(notes);
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_NE(m_host.LastMessage().text.find("doc"), std::string::npos) << m_host.LastMessage().text;
  EXPECT_TRUE(m_page.IsConnected());
  EXPECT_EQ(W().Text(g::kDataSource), m_database);
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  people");
  EXPECT_TRUE(W().IsEnabled(g::kFetch));

  // Files that are no databases of their kind, and folders, likewise.
  const std::string textDb = m_data.File("text.db");
  std::ofstream(textDb) << "hello";
  const std::string emptyMdb = m_data.File("empty.mdb");
  std::ofstream(emptyMdb).flush();
  const std::string folderXls = m_data.File("x.xls");
  std::filesystem::create_directory(folderXls);
  for (const std::string& path : {textDb, emptyMdb, folderXls}) {
    Browse(path);
    EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop) << path;
    EXPECT_NE(m_host.LastMessage().text.find("\"" + path + "\""), std::string::npos)
        << m_host.LastMessage().text;
    EXPECT_TRUE(m_page.IsConnected()) << path;
    EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  people");
  }
}

TEST(GeneratorPageLifetime, ClosingWhileConnectedRemovesTheTemporarySource) {
  testing::PrivateOdbc::Get().ClearDataSources();
  testing::TempFolder data;
  const std::string database = data.File("one.db");
  ASSERT_NO_FATAL_FAILURE(RunSqliteScript(database, "CREATE TABLE t(x INTEGER);"));
  ScriptedHost host;
  {
    MakePDB page;
    ScriptedWindow& window = host.ShowPage(page);
    host.AnswerFile(database);
    window.Click(res::generator::kBrowse);
    ASSERT_TRUE(page.IsConnected());
    EXPECT_NE(PrivateOdbc::Get().UserIniText().find("TempPTallowickDSN"), std::string::npos);
  }
  EXPECT_EQ(PrivateOdbc::Get().UserIniText().find("TempPTallowickDSN"), std::string::npos);
}

}  // namespace
}  // namespace tallowick
