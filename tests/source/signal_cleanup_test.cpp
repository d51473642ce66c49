// A run ended from outside while it holds a dBase folder: INT, TERM, HUP and
// PIPE remove the temporary data source and the converted database before
// the process ends with 128 + the signal; what a SIGKILL leaves is removed
// by the next run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "import/import_file_converter.h"
#include "import/temporary_database.h"
#include "platform/exit_cleanup.h"
#include "source/data_source_config.h"
#include "source/source_connection.h"
#include "tests/source/source_test_util.h"
#include "tests/support/dbf_file.h"
#include "tests/support/private_odbc.h"
#include "tests/support/saved_environment.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::PrivateOdbc;
using testing::TempFolder;
using testing::WriteOneTownTable;
using Strings = std::vector<std::string>;

constexpr const char* kUserIni = "# mine\n[Mine]\nDriver=SQLite3\nDatabase=/data/mine.db\n";

class SignalCleanup : public testing::OdbcTest {
 protected:
  void SetUp() override {
    m_environment.Set("XDG_RUNTIME_DIR", m_runtime.Path());
    std::ofstream(PrivateOdbc::Get().UserIniPath(), std::ios::trunc) << kUserIni;
    WriteOneTownTable(m_table);
  }
  void TearDown() override { PrivateOdbc::Get().ClearDataSources(); }

  // A child that connects to the dBase folder, says so, and waits.
  pid_t StartHolder() {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(ready[0]);
      platform::InstallSignalCleanup();
      ImportFileConverter converter;
      SourceConnection connection(&converter);
      testing::ScriptedPrompt prompt;
      const bool connected = connection.OpenFile(m_table, prompt).Connected();
      (void)!::write(ready[1], connected ? "c" : "f", 1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    const bool read = ::read(ready[0], &answer, 1) == 1;
    ::close(ready[0]);
    EXPECT_TRUE(read && answer == 'c') << "the child did not connect";
    return pid;
  }

  Strings RuntimeFiles() const { return m_runtime.Entries(); }
  std::string Ini() const { return PrivateOdbc::Get().UserIniText(); }

  TempFolder m_data;
  TempFolder m_runtime;
  std::string m_table = m_data.File("towns.dbf");
  testing::SavedEnvironment m_environment;
};

TEST_F(SignalCleanup, EndingSignalsRemoveTheEntryAndTheConvertedDatabase) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGKILL}) {
    SCOPED_TRACE(signal);
    const pid_t pid = StartHolder();
    ASSERT_GT(pid, 0);
    EXPECT_NE(Ini().find("[TempPTallowickDSN]"), std::string::npos);
    EXPECT_EQ(RuntimeFiles().size(), 1u);
    ::kill(pid, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    if (signal == SIGKILL) {
      ASSERT_TRUE(WIFSIGNALED(status));
      // Left behind; the next run's steps remove it.
      EXPECT_NE(Ini().find("[TempPTallowickDSN]"), std::string::npos);
      ASSERT_TRUE(AddUserDataSource(kTemporaryDataSourceName, "SQLite3", {{"Database", "/x.db"}}));
      ASSERT_TRUE(RemoveUserDataSource(kTemporaryDataSourceName, "SQLite3"));
      TemporaryDatabase next;
      std::string error;
      ASSERT_TRUE(TemporaryDatabase::Create(next, error)) << error;
      next.Remove();
    } else {
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    }
    EXPECT_EQ(Ini(), kUserIni);
    EXPECT_TRUE(RuntimeFiles().empty()) << RuntimeFiles().front();
  }
}

}  // namespace
}  // namespace tallowick
