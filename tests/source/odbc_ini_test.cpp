// The temporary data source's entry in the user's odbc.ini: the one section
// edited and every other byte kept, holders of several processes at once,
// and what killed runs left removed by the next one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "source/data_source_config.h"
#include "source/odbc_ini_file.h"
#include "source/odbc_ini_text.h"
#include "tests/source/source_test_util.h"
#include "tests/support/saved_environment.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::FileText;
using testing::TempFolder;
using Strings = std::vector<std::string>;

constexpr const char* kUserIni =
    "; the user's own data sources\n"
    "[Alpha]\n"
    "Driver = SQLite3\n"
    "Database=/data/alpha.db\n"
    "\n"
    "# Beta is the Access copy\n"
    "[Beta]\n"
    "Driver=MDBTools\n"
    "Database=/data/beta.mdb\n";

const DataSourceAttributes kAttributes = {{"Database", "/tmp/x.db"}, {"NoCreat", "1"}};

long DeadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(OdbcIniText, AddingThenRemovingTheSectionGivesBackEveryByte) {
  const IniEntries entries = {{"Driver", "SQLite3"}, {"Database", "/tmp/x.db"}};
  for (const std::string& text :
       {std::string(), std::string(kUserIni),
        std::string("[Alpha]\nDriver=SQLite3"),  // no final line break
        std::string("[Alpha]\r\nDriver=SQLite3\r\n\r\n"), std::string("\n\n; only a comment")}) {
    const std::string added = WithIniSection(text, "TempPTallowickDSN", entries);
    const IniSection section = FindIniSection(added, "tempptallowickdsn");
    ASSERT_TRUE(section.found) << text;
    EXPECT_EQ(section.entries, entries) << text;
    EXPECT_EQ(added.substr(0, text.size()), text);
    // Rewritten in place, it is still one section.
    const std::string again = WithIniSection(added, "TempPTallowickDSN", {{"Driver", "MDBTools"}});
    EXPECT_EQ(again.find("[TempPTallowickDSN]"), again.rfind("[TempPTallowickDSN]")) << again;
    EXPECT_EQ(WithoutIniSection(added, "TempPTallowickDSN"), text);
    EXPECT_EQ(WithoutIniSection(again, "TempPTallowickDSN"), text);
  }
  // A section in the middle goes with its keys; the comment before the next
  // section belongs to that one.
  const std::string middle =
      "[A]\nk=1\n[TempPTallowickDSN]\nDriver=x\n ; note\nDatabase=y\n\n; about B\n[B]\nk=2\n";
  EXPECT_EQ(WithoutIniSection(middle, "TempPTallowickDSN"), "[A]\nk=1\n\n; about B\n[B]\nk=2\n");
  EXPECT_EQ(FindIniSection(middle, "TempPTallowickDSN").entries,
            (IniEntries{{"Driver", "x"}, {"Database", "y"}}));
  EXPECT_EQ(ParseHolders("12,x,,7,-3,12"), (std::vector<long>{12, 7, 12}));
  EXPECT_EQ(HoldersText({12, 7}), "12,7");
}

class UserOdbcIni : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(m_ini, kUserIni);
    m_environment.Set("ODBCINI", m_ini);
  }
  std::string Ini() const { return FileText(m_ini); }
  IniSection Entry() const { return FindIniSection(Ini(), kTemporaryDataSourceName); }

  TempFolder m_folder;
  std::string m_ini = m_folder.File("odbc.ini");
  testing::SavedEnvironment m_environment;
};

// Several runs add and remove the entry at once: each sees it while it
// holds it, and the user's file comes back byte for byte.
TEST_F(UserOdbcIni, ParallelRunsLeaveTheUsersFileByteIdentical) {
  constexpr int kProcesses = 6;
  constexpr int kRounds = 15;
  std::vector<pid_t> children;
  for (int i = 0; i < kProcesses; ++i) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int failures = 0;
      for (int round = 0; round < kRounds; ++round) {
        if (!AddUserDataSource(kTemporaryDataSourceName, "SQLite3", kAttributes)) ++failures;
        const std::string text = FileText(m_ini);
        const std::vector<long> holders = ParseHolders(
            IniValue(FindIniSection(text, kTemporaryDataSourceName).entries, kHoldersKey));
        if (std::find(holders.begin(), holders.end(), ::getpid()) == holders.end()) ++failures;
        if (text.find("Database=/data/beta.mdb\n") == std::string::npos) ++failures;
        if (!RemoveUserDataSource(kTemporaryDataSourceName, "SQLite3")) ++failures;
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(Ini(), kUserIni);
  // Only the lock file stays beside it: no temporary copies.
  EXPECT_EQ(m_folder.Entries(), (Strings{"odbc.ini", "odbc.ini.lock"}));
}

// Holders found in the entry, and what is left after this process adds and
// removes its own hold: dead holders go, live ones keep the entry.
TEST_F(UserOdbcIni, HoldersThatNoLongerRunAreDropped) {
  const long dead = DeadProcessId();
  const long live = ::getppid();
  struct Case {
    std::string holdersBefore;  // empty: no entry before
    std::string holdersAfter;   // empty: no entry after
  };
  const Case cases[] = {
      {"", ""},
      {std::to_string(dead), ""},
      {std::to_string(dead) + "," + std::to_string(dead), ""},
      {std::to_string(dead) + "," + std::to_string(live), std::to_string(live)},
      {std::to_string(live), std::to_string(live)},
  };
  for (const Case& c : cases) {
    std::string before = kUserIni;
    if (!c.holdersBefore.empty()) {
      before = WithIniSection(before, kTemporaryDataSourceName,
                              {{"Driver", "MDBTools"}, {kHoldersKey, c.holdersBefore}});
    }
    WriteFile(m_ini, before);
    ASSERT_TRUE(AddUserDataSource(kTemporaryDataSourceName, "SQLite3", kAttributes));
    EXPECT_EQ(IniValue(Entry().entries, "Database"), "/tmp/x.db");
    ASSERT_TRUE(RemoveUserDataSource(kTemporaryDataSourceName, "SQLite3"));
    EXPECT_EQ(IniValue(Entry().entries, kHoldersKey), c.holdersAfter) << c.holdersBefore;
    if (c.holdersAfter.empty()) {
      EXPECT_EQ(Ini(), kUserIni) << c.holdersBefore;
    }
  }
  // A leftover entry without holders (an earlier version's) counts as dead.
  WriteFile(m_ini, std::string(kUserIni) + "[TempPTallowickDSN]\nDriver=SQLite3\n");
  ASSERT_TRUE(RemoveUserDataSource(kTemporaryDataSourceName, "SQLite3"));
  EXPECT_EQ(Ini(), kUserIni);
}

TEST_F(UserOdbcIni, TheLinkedFileIsEditedWithItsPermissionsAndKilledRunsCopiesGo) {
  const std::string target = m_folder.File("real.ini");
  WriteFile(target, kUserIni);
  ::chmod(target.c_str(), 0640);
  std::filesystem::remove(m_ini);
  std::filesystem::create_symlink("real.ini", m_ini);
  EXPECT_EQ(UserOdbcIniPath(), target);
  const std::string deadCopy =
      m_folder.File("real.ini.tallowick-" + std::to_string(DeadProcessId()) + "-1.tmp");
  const std::string liveCopy =
      m_folder.File("real.ini.tallowick-" + std::to_string(::getppid()) + "-1.tmp");
  WriteFile(deadCopy, "x");
  WriteFile(liveCopy, "x");

  ASSERT_TRUE(AddUserDataSource(kTemporaryDataSourceName, "SQLite3", kAttributes));
  EXPECT_TRUE(std::filesystem::is_symlink(m_ini));
  EXPECT_TRUE(Entry().found);
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_FALSE(std::filesystem::exists(deadCopy));
  EXPECT_TRUE(std::filesystem::exists(liveCopy));
  ASSERT_TRUE(RemoveUserDataSource(kTemporaryDataSourceName, "SQLite3"));
  EXPECT_EQ(FileText(target), kUserIni);
  EXPECT_TRUE(std::filesystem::is_symlink(m_ini));

  // Without ODBCINI the file is the one in the home folder.
  m_environment.Set("ODBCINI", std::nullopt);
  m_environment.Set("HOME", m_folder.Path());
  EXPECT_EQ(UserOdbcIniPath(), m_folder.File(".odbc.ini"));
}

}  // namespace
}  // namespace tallowick
