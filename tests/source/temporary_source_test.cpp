// The temporary data source of a file source, read back from the private
// odbc.ini; connecting, failing and switching sources; the data-source list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "import/import_file_converter.h"
#include "source/catalogue.h"
#include "source/data_source_config.h"
#include "source/data_source_list.h"
#include "source/query_run.h"
#include "source/source_connection.h"
#include "source/source_kind.h"
#include "tests/source/source_test_util.h"
#include "tests/support/private_odbc.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::PrivateOdbc;
using testing::RecordedNotices;
using testing::ScriptedPrompt;
using testing::TempFolder;

bool Mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class TemporarySource : public testing::OdbcTest {
 protected:
  void SetUp() override {
    PrivateOdbc::Get().ClearDataSources();
    ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(
        m_first, "CREATE TABLE one(a INTEGER); INSERT INTO one VALUES(1);"));
    ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(
        m_second, "CREATE TABLE two(b INTEGER); INSERT INTO two VALUES(2);"));
  }
  void TearDown() override { PrivateOdbc::Get().ClearDataSources(); }

  std::string Ini() const { return PrivateOdbc::Get().UserIniText(); }

  TempFolder m_folder;
  std::string m_first = m_folder.File("first.db");
  std::string m_second = m_folder.File("second.sqlite");
  ScriptedPrompt m_prompt;
};

TEST_F(TemporarySource, ExistsExactlyWhileAFileSourceIsConnected) {
  {
    SourceConnection connection;
    int resets = 0;
    const ConnectOutcome outcome = connection.OpenFile(m_first, m_prompt, [&] { ++resets; });
    ASSERT_TRUE(outcome.Connected()) << outcome.message;
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(connection.Kind(), SourceKind::SqliteFile);
    EXPECT_EQ(connection.SourcePath(), m_first);
    const std::string ini = Ini();
    EXPECT_TRUE(Mentions(ini, "[TempPTallowickDSN]")) << ini;
    EXPECT_TRUE(Mentions(ini, "Driver=SQLite3")) << ini;
    EXPECT_TRUE(Mentions(ini, "Database=" + m_first)) << ini;
    EXPECT_TRUE(Mentions(ini, "NoCreat=1")) << ini;
    EXPECT_NE(connection.CatalogueStatement(), nullptr);

    connection.Disconnect();
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(connection.Connection(), nullptr);
    EXPECT_FALSE(Mentions(Ini(), "TempPTallowickDSN")) << Ini();

    ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
    EXPECT_TRUE(Mentions(Ini(), "TempPTallowickDSN"));
  }
  // The owner's end removes it too.
  EXPECT_FALSE(Mentions(Ini(), "TempPTallowickDSN")) << Ini();
}

TEST_F(TemporarySource, ARelativePathIsKeptAsTheFullPath) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(m_folder.Path());
  SourceConnection connection;
  const ConnectOutcome outcome = connection.OpenFile("./sub/../first.db", m_prompt);
  std::filesystem::current_path(before);
  ASSERT_TRUE(outcome.Connected()) << outcome.message;
  EXPECT_EQ(connection.SourcePath(), m_first);
  EXPECT_TRUE(Mentions(Ini(), "Database=" + m_first + "\n")) << Ini();
}

TEST_F(TemporarySource, BrowsingAnotherFileReplacesTheEntry) {
  SourceConnection connection;
  ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
  ASSERT_TRUE(connection.OpenFile(m_second, m_prompt).Connected());
  const std::string ini = Ini();
  EXPECT_TRUE(Mentions(ini, "Database=" + m_second)) << ini;
  EXPECT_FALSE(Mentions(ini, m_first)) << ini;
  EXPECT_EQ(ini.find("[TempPTallowickDSN]"), ini.rfind("[TempPTallowickDSN]"));
  const TableListing tables = ListTables(connection);
  EXPECT_EQ(tables.names, (std::vector<std::string>{"two"}));
}

// unixODBC answers reads of odbc.ini from a cache for 20 seconds: a file of
// another kind chosen right after must still get its own driver.
TEST_F(TemporarySource, EachFileGetsItsOwnDriverHoweverQuicklyTheyFollow) {
  SourceConnection connection;
  const std::string access = std::string(TALLOWICK_FIXTURES) + "/DateTest.mdb";
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
    EXPECT_EQ(ListTables(connection).names, (std::vector<std::string>{"one"}));
    const ConnectOutcome outcome = connection.OpenFile(access, m_prompt);
    ASSERT_TRUE(outcome.Connected()) << outcome.message;
    EXPECT_EQ(ListTables(connection).names, (std::vector<std::string>{"DateTest"}));
    EXPECT_TRUE(Mentions(Ini(), "Driver=MDBTools")) << Ini();
  }
}

TEST_F(TemporarySource, AFailedAttemptLeavesNoHandlesAndNoEntry) {
  // A Jet signature on a file that is no Access database gets past the
  // header check: the driver refuses it.
  const std::string notAccess = m_folder.File("not-access.mdb");
  std::ofstream(notAccess, std::ios::binary) << testing::UnreadableAccessBytes();
  SourceConnection connection;
  int resets = 0;
  const ConnectOutcome outcome = connection.OpenFile(notAccess, m_prompt, [&] { ++resets; });
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_EQ(outcome.message.rfind("ODBC Error ::", 0), 0u) << outcome.message;
  EXPECT_EQ(outcome.message.substr(outcome.message.size() - 2), "  ");
  EXPECT_EQ(resets, 1);
  EXPECT_TRUE(m_prompt.asked.empty());
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(connection.Connection(), nullptr);
  EXPECT_FALSE(Mentions(Ini(), "TempPTallowickDSN")) << Ini();
}

TEST_F(TemporarySource, UnsafeOrUnknownFilesAreRefusedBeforeAnythingChanges) {
  SourceConnection connection;
  ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
  const std::string before = Ini();

  const std::string unsafe = m_folder.File("a;Driver=Other.db");
  std::filesystem::copy_file(m_second, unsafe);
  int resets = 0;
  ConnectOutcome outcome = connection.OpenFile(unsafe, m_prompt, [&] { ++resets; });
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_EQ(outcome.message, UnsafePathMessage(unsafe));

  const std::string text = m_folder.File("notes.doc");
  std::ofstream(text) << "x";
  outcome = connection.OpenFile(text, m_prompt, [&] { ++resets; });
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_TRUE(Mentions(outcome.message, "Unsupported file type \"doc\"")) << outcome.message;

  outcome = connection.OpenFile(m_folder.File("missing.db"), m_prompt, [&] { ++resets; });
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_TRUE(Mentions(outcome.message, "does not exist")) << outcome.message;

  // The earlier connection is untouched.
  EXPECT_EQ(resets, 0);
  EXPECT_TRUE(connection.Connected());
  EXPECT_EQ(connection.SourcePath(), m_first);
  EXPECT_EQ(Ini(), before);
}

// Each bad input and its message: refused before the earlier connection
// is dropped and before anything is added or converted.
TEST_F(TemporarySource, FilesThatAreNotDatabasesOfTheirKindAreRefusedByName) {
  const auto file = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(m_folder.File(name), std::ios::binary) << bytes;
    return m_folder.File(name);
  };
  const auto folder = [&](const std::string& name) {
    std::filesystem::create_directory(m_folder.File(name));
    return m_folder.File(name);
  };
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {file("text.db", "CREATE TABLE t(a);"), "is not a SQLite database"},
      {file("short.sqlite", "SQLite format 3"), "is not a SQLite database"},
      {file("empty.sqlite3", ""), "is empty"},
      {file("empty.mdb", ""), "is empty"},
      {file("text.mdb", "this is no Access database"), "is not an Access database"},
      {file("word.accdb", std::string(4, '\0') + "Standard Word DB"), "is not an Access database"},
      {file("empty.xls", ""), "is empty"},
      {folder("x.xls"), "is a folder, not a file"},
      {folder("x.dbf"), "is a folder, not a file"},
      {folder("x.db"), "is a folder, not a file"},
  };
  ImportFileConverter converter;
  SourceConnection connection(&converter);
  ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
  const std::string before = Ini();
  for (const Case& c : cases) {
    int resets = 0;
    const ConnectOutcome outcome = connection.OpenFile(c.path, m_prompt, [&] { ++resets; });
    EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed) << c.path;
    EXPECT_TRUE(Mentions(outcome.message, "\"" + c.path + "\" " + c.message)) << outcome.message;
    EXPECT_EQ(resets, 0) << c.path;
    EXPECT_TRUE(connection.Connected()) << c.path;
    EXPECT_EQ(connection.SourcePath(), m_first);
    EXPECT_EQ(Ini(), before) << c.path;
  }
  // A real Jet and a real ACE file pass the check.
  for (const char* name : {"DateTest.mdb", "AssetItems.accdb"}) {
    const std::string path = std::string(TALLOWICK_FIXTURES) + "/" + name;
    EXPECT_EQ(RefusalOfFile(path, SourceKind::AccessFile), "") << name;
  }
}

TEST_F(TemporarySource, ChoosingAConfiguredSourceRemovesTheTemporaryOneOnly) {
  PrivateOdbc::Get().AddUserDataSource("SecondFile", "SQLite3", {{"Database", m_second}});
  SourceConnection connection;
  ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
  const ConnectOutcome outcome = connection.ConnectDataSource("SecondFile", m_prompt);
  ASSERT_TRUE(outcome.Connected()) << outcome.message;
  EXPECT_EQ(connection.Kind(), SourceKind::ConfiguredSource);
  std::string ini = Ini();
  EXPECT_FALSE(Mentions(ini, "TempPTallowickDSN")) << ini;
  EXPECT_TRUE(Mentions(ini, "[SecondFile]")) << ini;
  // Switching between configured sources removes nothing.
  connection.Disconnect();
  EXPECT_TRUE(Mentions(Ini(), "[SecondFile]"));
}

TEST_F(TemporarySource, AnUnknownDataSourceNameFailsWithTheDriverManagersMessage) {
  SourceConnection connection;
  const ConnectOutcome outcome = connection.ConnectDataSource("NoSuchSource", m_prompt);
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_TRUE(Mentions(outcome.message, "Data source name not found")) << outcome.message;
  EXPECT_EQ(connection.Connection(), nullptr);
  EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(TemporarySource, AddingAndRemovingWorkWithoutTheDriversSetupRoutine) {
  // MDB Tools ships no setup routine: the installer's profile calls write it.
  ASSERT_TRUE(AddUserDataSource("ProbeSource", "MDBTools", {{"Database", "/x/y.mdb"}}));
  EXPECT_TRUE(Mentions(Ini(), "[ProbeSource]"));
  EXPECT_TRUE(Mentions(Ini(), "Database=/x/y.mdb"));
  ASSERT_TRUE(RemoveUserDataSource("ProbeSource", "MDBTools"));
  EXPECT_FALSE(Mentions(Ini(), "ProbeSource"));
  // A value that would add attributes is never written.
  EXPECT_FALSE(AddUserDataSource("ProbeSource", "MDBTools", {{"Database", "/x;Driver=Y"}}));
  EXPECT_FALSE(Mentions(Ini(), "ProbeSource"));
}

TEST_F(TemporarySource, TheListNamesUserSourcesThenSystemSources) {
  EXPECT_TRUE(ListDataSourceNames().empty());
  PrivateOdbc::Get().AddUserDataSource("Zeta", "SQLite3", {{"Database", m_first}});
  PrivateOdbc::Get().AddUserDataSource("Alpha", "SQLite3", {{"Database", m_first}});
  PrivateOdbc::Get().AddSystemDataSource("Beta", "SQLite3", {{"Database", m_first}});
  PrivateOdbc::Get().AddSystemDataSource("Alpha", "SQLite3", {{"Database", m_first}});
  EXPECT_EQ(ListDataSourceNames(), (std::vector<std::string>{"Zeta", "Alpha", "Beta", "Alpha"}));
}

// The converter seam: a SQLite database made from the chosen file is
// served under the temporary data source and deleted with it.
class ScriptConverter : public FileConverter {
 public:
  explicit ScriptConverter(std::string target) : m_target(std::move(target)) {}
  ConvertedDatabase Convert(ConvertedFile what, const std::string& source) override {
    kinds.push_back(what);
    sources.push_back(source);
    if (!error.empty()) return {{}, error, {}};
    testing::RunSqliteScript(m_target,
                             "CREATE TABLE [Sheet1$](Name VARCHAR(10)); "
                             "INSERT INTO [Sheet1$] VALUES('Crème');");
    return {m_target, {}, leftOut};
  }
  std::vector<std::string> leftOut;
  std::vector<ConvertedFile> kinds;
  std::vector<std::string> sources;
  std::string error;

 private:
  std::string m_target;
};

TEST_F(TemporarySource, ConvertedFilesAreServedAndDeletedWithTheTemporarySource) {
  const std::string workbook = m_folder.File("Book.XLS");
  std::ofstream(workbook) << "workbook";
  const std::string converted = m_folder.File("converted.sqlite");
  ScriptConverter converter(converted);
  converter.leftOut = {"Sheet2 is left out"};
  {
    SourceConnection connection(&converter);
    const ConnectOutcome outcome = connection.OpenFile(workbook, m_prompt);
    ASSERT_TRUE(outcome.Connected()) << outcome.message;
    EXPECT_EQ(outcome.leftOut, converter.leftOut);
    EXPECT_EQ(connection.Kind(), SourceKind::ExcelFile);
    EXPECT_EQ(converter.kinds, (std::vector<ConvertedFile>{ConvertedFile::Workbook}));
    EXPECT_EQ(converter.sources, (std::vector<std::string>{workbook}));
    EXPECT_TRUE(Mentions(Ini(), "Database=" + converted));
    const TableSelection selection = SelectTables(connection, {"Sheet1$"});
    EXPECT_EQ(*selection.query, "SELECT   *   FROM  [Sheet1$]");
    EXPECT_EQ(*selection.pdbName, "[Sheet1$]");
    PreviewTable table;
    RecordedNotices notices;
    ASSERT_EQ(RunPreview(connection.Connection(), *selection.query, table, notices).message, "");
    EXPECT_EQ(table.rows, (std::vector<std::vector<std::string>>{{"Crème"}}));
  }
  EXPECT_FALSE(std::filesystem::exists(converted));
  EXPECT_FALSE(Mentions(Ini(), "TempPTallowickDSN"));
}

TEST_F(TemporarySource, ADbaseFileIsConvertedFromItsFolder) {
  const std::string table = m_folder.File("city.dbf");
  std::ofstream(table) << "dbase";
  ScriptConverter converter(m_folder.File("converted.sqlite"));
  converter.error = "city.dbf: not a dBase table";
  SourceConnection connection(&converter);
  ASSERT_TRUE(connection.OpenFile(m_first, m_prompt).Connected());
  int resets = 0;
  const ConnectOutcome outcome = connection.OpenFile(table, m_prompt, [&] { ++resets; });
  EXPECT_EQ(outcome.status, ConnectOutcome::Status::Failed);
  EXPECT_EQ(outcome.message, "city.dbf: not a dBase table");
  // The earlier source is gone, so the views were emptied all the same.
  EXPECT_EQ(resets, 1);
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(converter.sources, (std::vector<std::string>{m_folder.Path()}));
  EXPECT_EQ(connection.SourcePath(), m_folder.Path());
  EXPECT_FALSE(Mentions(Ini(), "TempPTallowickDSN"));

  SourceConnection withoutConverter;
  EXPECT_EQ(withoutConverter.OpenFile(table, m_prompt).status, ConnectOutcome::Status::Failed);
}

}  // namespace
}  // namespace tallowick
