// Clean-up on signals, locks between processes, stale temporary files and
// files replaced in one step, each seen from a second process where it can.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/exit_cleanup.h"
#include "platform/file_lock.h"
#include "platform/replacement_file.h"
#include "platform/stale_files.h"
#include "tests/support/temp_folder.h"

namespace tallowick::platform {
namespace {

using testing::TempFolder;

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

// Runs `child` in a forked process; returns its wait status.
template <class Child>
int InChild(Child child, pid_t* started = nullptr) {
  const pid_t pid = fork();
  if (pid == 0) {
    child();
    _exit(0);
  }
  if (started != nullptr) *started = pid;
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

// A process id that no longer names a process.
long DeadPid() {
  pid_t pid = 0;
  InChild([] {}, &pid);
  return pid;
}

TEST(ExitCleanup, EachEndingSignalRunsTheActionsNewestFirstAndExitsWith128PlusTheSignal) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    SCOPED_TRACE(signal);
    TempFolder folder;
    const std::string log = folder / "log";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      InstallSignalCleanup();
      ExitCleanup::Add([&] { std::ofstream(log, std::ios::app) << "first\n"; });
      ScopedCleanup dropped([&] { std::ofstream(log, std::ios::app) << "dropped\n"; });
      dropped.Release();
      ExitCleanup::Add([&] { std::ofstream(log, std::ios::app) << "second\n"; });
      (void)!write(ready[1], "r", 1);
      for (;;) pause();
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "second\nfirst\n");
  }
}

// Removing a temporary data source registers the clean-up of its own
// temporary file: inside an action that must not wait for the end.
TEST(ExitCleanup, AnActionMayRegisterCleanupOfItsOwn) {
  TempFolder folder;
  const std::string marker = folder / "done";
  const int status = InChild([&] {
    alarm(10);  // a hang ends as SIGALRM
    InstallSignalCleanup();
    ExitCleanup::Add([&] {
      ScopedCleanup inner([] {});
      Touch(marker);
    });
    kill(getpid(), SIGTERM);
    for (;;) pause();
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  EXPECT_TRUE(Exists(marker));
}

TEST(ExitCleanup, BrokenPipeOnAWriteEndsAsTheSignalWould) {
  TempFolder folder;
  const std::string marker = folder / "cleaned";
  int channel[2];
  ASSERT_EQ(pipe(channel), 0);
  close(channel[0]);
  const int status = InChild([&] {
    InstallSignalCleanup();
    ExitCleanup::Add([&] { Touch(marker); });
    if (write(channel[1], "x", 1) < 0 && errno == EPIPE) EndAfterSignal(SIGPIPE);
    _exit(3);
  });
  close(channel[1]);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 141);
  EXPECT_TRUE(Exists(marker));
}

// A driver that faults still leaves nothing behind, and the process ends
// with the fault's own signal rather than looking like an ordinary failure.
TEST(ExitCleanup, AFaultRunsTheActionsAndEndsWithTheFaultsSignal) {
  for (int fault : {SIGSEGV, SIGABRT}) {
    SCOPED_TRACE(fault);
    TempFolder folder;
    const std::string marker = folder / "cleaned";
    const int status = InChild([&] {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      InstallSignalCleanup();
      ExitCleanup::Add([&] { Touch(marker); });
      if (fault == SIGABRT) std::abort();
      raise(fault);
      _exit(3);
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), fault);
    EXPECT_TRUE(Exists(marker));
  }
}

TEST(FileLock, ASecondHolderIsToldAndWaitsUntilTheFirstLetsGo) {
  TempFolder folder;
  for (const std::string& target : {folder.Path(), folder / "lock"}) {
    SCOPED_TRACE(target);
    FileLock first;
    ASSERT_TRUE(first.Lock(target));
    int told[2];
    ASSERT_EQ(pipe(told), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      FileLock second;
      const bool locked = second.Lock(target, [&] { (void)!write(told[1], "w", 1); });
      _exit(locked ? 0 : 1);
    }
    char byte = 0;
    ASSERT_EQ(read(told[0], &byte, 1), 1);  // the child is waiting
    first.Unlock();
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(told[0]);
    close(told[1]);
  }
  // The folder lock created nothing; the lock file stays for the next run.
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"lock"});
}

TEST(StaleFiles, OnlyRegularFilesOfDeadProcessesGo) {
  TempFolder folder;
  const std::string dead = std::to_string(DeadPid());
  const std::string alive = std::to_string(getppid());
  struct Case {
    std::string name;
    bool removed;
  };
  const Case cases[] = {
      {".tallowick-" + dead + "-1.tmp", true},
      {".tallowick-" + dead + "-27.tmp", true},
      {".tallowick-" + alive + "-1.tmp", false},
      {".tallowick-" + std::to_string(getpid()) + "-1.tmp", false},  // this process's own
      {".tallowick-" + dead + "-1.txt", false},
      {".tallowick-x" + dead + "-1.tmp", false},
      {"Orders.pdb", false},
  };
  for (const Case& c : cases) Touch(folder / c.name);
  ASSERT_EQ(symlink("/etc/hostname", (folder / (".tallowick-" + dead + "-9.tmp")).c_str()), 0);
  ASSERT_EQ(mkdir((folder / (".tallowick-" + dead + "-8.tmp")).c_str(), 0700), 0);

  EXPECT_EQ(RemoveStaleFiles(folder.Directory(), ".tallowick-", ".tmp"), 2);
  for (const Case& c : cases) EXPECT_EQ(Exists(folder / c.name), !c.removed) << c.name;
  EXPECT_TRUE(Exists(folder / (".tallowick-" + dead + "-9.tmp")));
  EXPECT_TRUE(Exists(folder / (".tallowick-" + dead + "-8.tmp")));
  EXPECT_FALSE(ProcessIsAlive(std::stol(dead)));
  EXPECT_TRUE(ProcessIsAlive(getpid()));
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(ReplacementFile, ReplacesTheTargetWholeOrLeavesItAsItWas) {
  struct Case {
    const char* what;
    const char* target;  // in the folder
    enum { Nothing, OldFile, Folder } there;
    bool replaced;
    int error;
  };
  const Case cases[] = {
      {"an existing file", "odbc.ini", Case::OldFile, true, 0},
      {"a new file", "Orders.pdb", Case::Nothing, true, 0},
      {"a folder in the way", "sub", Case::Folder, false, EISDIR},
      {"a missing folder", "missing/Orders.pdb", Case::Nothing, false, ENOENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string target = folder / c.target;
    if (c.there == Case::OldFile) {
      std::ofstream(target) << "old";
      ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    } else if (c.there == Case::Folder) {
      ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
    }
    const std::vector<std::string> before = folder.Entries();
    errno = 0;
    EXPECT_EQ(ReplaceFileContents(target, "new\n", 0604), c.replaced);
    if (c.replaced) {
      EXPECT_EQ(Contents(target), "new\n");
      EXPECT_EQ(ModeOf(target), 0604u) << "the mode given, whatever the umask";
      EXPECT_EQ(folder.Entries(), std::vector<std::string>{c.target}) << "no temporary file left";
    } else {
      EXPECT_EQ(errno, c.error);
      EXPECT_EQ(folder.Entries(), before) << "nothing added, nothing removed";
    }
  }
}

TEST(ReplacementFile, ATakenNameIsNeverWrittenNorRemovedAndAnUnfinishedFileGoes) {
  TempFolder folder;
  const std::string taken = folder / "taken.tmp";
  std::ofstream(taken) << "someone else's";
  {
    ReplacementFile file;
    file.Reserve(taken);
    EXPECT_FALSE(file.Create(0600));
    EXPECT_EQ(file.Error(), EEXIST);
    EXPECT_FALSE(file.Complete());
    EXPECT_FALSE(file.RenameTo(folder / "target"));
  }
  EXPECT_EQ(Contents(taken), "someone else's");

  // Written through the stream, completed, then given up instead of renamed.
  int attempts = 0;
  ReplacementFile file;
  ASSERT_TRUE(file.CreateNew([&] { return ++attempts == 1 ? taken : folder / "mine.tmp"; }, 0600));
  EXPECT_EQ(attempts, 2) << "the next name after a taken one";
  ASSERT_NE(file.Stream(), nullptr);
  std::fputs("records", file.Stream());
  EXPECT_EQ(file.Write("mixed"), false) << "a file with a stream is written through it only";
  EXPECT_FALSE(file.Complete()) << "the refused write fails the file";
  EXPECT_FALSE(file.RenameTo(folder / "target"));
  file.Discard();
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken.tmp"});
  EXPECT_EQ(
      ProcessTemporaryPath("/x/.t-", ".tmp").rfind("/x/.t-" + std::to_string(getpid()) + "-", 0),
      0u);
  EXPECT_EQ(RandomTemporaryPath("/x/a").size(), std::string("/x/a").size() + kRandomSuffixLength);
}

TEST(ReplacementFile, AnEndingSignalRemovesTheUnfinishedFile) {
  TempFolder folder;
  std::ofstream(folder / "odbc.ini") << "old";
  const int status = InChild([&] {
    alarm(10);
    InstallSignalCleanup();
    ReplacementFile file;
    file.Reserve(ProcessTemporaryPath(folder / "odbc.ini.tallowick-", ".tmp"));
    if (!file.Create(0600) || !file.Write("half")) _exit(3);
    kill(getpid(), SIGTERM);
    for (;;) pause();
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"odbc.ini"});
  EXPECT_EQ(Contents(folder / "odbc.ini"), "old");
}

}  // namespace
}  // namespace tallowick::platform
