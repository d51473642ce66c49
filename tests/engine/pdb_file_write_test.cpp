#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <functional>

#include "engine/byte_order.h"
#include "engine/pdb_file.h"
#include "engine/record_arena.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::ToHex;

constexpr std::int64_t kClock = 1000000000;      // 2001-09-09 01:46:40 UTC
const char* const kClockAsPalm = "B7 C0 7A 80";  // the same moment counted from 1904

std::vector<PdbRecordEntry> Entries(const std::vector<Bytes>& records) {
  std::vector<PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
    entries[i].offset = 0xDEAD;
    entries[i].attributes = 0x55;
    entries[i].uniqueId = 0xBEEF;
  }
  return entries;
}

Bytes Slice(const Bytes& bytes, std::size_t at, std::size_t length) {
  return Bytes(bytes.begin() + static_cast<long>(at),
               bytes.begin() + static_cast<long>(at + length));
}

TEST(PdbFileWrite, EmptyDatabaseIs81Bytes) {
  TempFolder folder;
  PdbFile file("Empty", folder.Directory(), ".pdb");
  std::vector<PdbRecordEntry> none;
  ASSERT_TRUE(file.Write(none, "HWRP", "DATA", 0, kClock));
  const Bytes bytes = ReadFileBytes(folder / "Empty.pdb");
  Bytes expected(32, 0);
  for (std::size_t i = 0; i < 5; ++i) expected[i] = static_cast<unsigned char>("Empty"[i]);
  const Bytes rest = Hex(std::string("00 08  00 00 ") + kClockAsPalm + " " + kClockAsPalm +
                         " 00 00 00 00  00 00 00 00  00 00 00 50  00 00 00 00"
                         " 44 41 54 41  48 57 52 50  00 00 00 00  00 00 00 00  00 00"
                         " 00 00  00");
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(ToHex(bytes), ToHex(expected));
  EXPECT_EQ(bytes.size(), 81u);
}

TEST(PdbFileWrite, RecordsOfFiveAndSevenBytes) {
  TempFolder folder;
  const std::vector<Bytes> records = {Hex("01 02 03 04 05"), Hex("A1 A2 A3 A4 A5 A6 A7")};
  auto entries = Entries(records);
  PdbFile file("Two", folder.Directory(), ".pdb");
  ASSERT_TRUE(file.Write(entries, "CRTR", "TYPE", 2, kClock));

  const Bytes bytes = ReadFileBytes(folder / "Two.pdb");
  ASSERT_EQ(bytes.size(), 109u);
  EXPECT_EQ(ToHex(Slice(bytes, 52, 4)), "00 00 00 60");  // AppInfo at 96
  EXPECT_EQ(ToHex(Slice(bytes, 76, 2)), "00 02");
  EXPECT_EQ(ToHex(Slice(bytes, 78, 16)), "00 00 00 61 00 00 00 00 00 00 00 66 00 00 00 01");
  EXPECT_EQ(ToHex(Slice(bytes, 94, 3)), "00 00 00");  // gap, AppInfo block
  EXPECT_EQ(Slice(bytes, 97, 5), records[0]);
  EXPECT_EQ(Slice(bytes, 102, 7), records[1]);

  // The entries now hold what was written.
  EXPECT_EQ(entries[0].offset, 97u);
  EXPECT_EQ(entries[1].offset, 102u);
  EXPECT_EQ(entries[0].attributes, 0);
  EXPECT_EQ(entries[1].attributes, 0);
  EXPECT_EQ(entries[0].uniqueId, 0u);
  EXPECT_EQ(entries[1].uniqueId, 1u);
}

TEST(PdbFileWrite, EmptyRecordSharesItsOffsetWithTheNext) {
  TempFolder folder;
  const std::vector<Bytes> records = {Hex("01"), Bytes{}, Hex("02 03"), Bytes{}};
  auto entries = Entries(records);
  PdbFile file("Gaps", folder.Directory(), ".pdb");
  ASSERT_TRUE(file.Write(entries, "CRTR", "TYPE", 4, kClock));
  const Bytes bytes = ReadFileBytes(folder / "Gaps.pdb");
  ASSERT_EQ(bytes.size(), 81u + 32 + 3);
  EXPECT_EQ(ToHex(Slice(bytes, 78, 32)),
            "00 00 00 71 00 00 00 00 00 00 00 72 00 00 00 01 "
            "00 00 00 72 00 00 00 02 00 00 00 74 00 00 00 03");
  EXPECT_EQ(entries[3].offset, bytes.size());  // the last, empty, ends the file
}

TEST(PdbFileWrite, NameFieldHoldsAtMost31Characters) {
  TempFolder folder;
  std::vector<PdbRecordEntry> none;
  const std::string name31(31, 'n');
  ASSERT_TRUE(PdbFile(name31, folder.Directory(), ".pdb").Write(none, "HWRP", "HWRP", 0, kClock));
  Bytes bytes = ReadFileBytes(folder / (name31 + ".pdb"));
  EXPECT_EQ(Slice(bytes, 0, 31), Bytes(31, 'n'));
  EXPECT_EQ(bytes[31], 0);

  const std::string name40 = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  ASSERT_TRUE(PdbFile(name40, folder.Directory(), ".pdb").Write(none, "HWRP", "HWRP", 0, kClock));
  bytes = ReadFileBytes(folder / (name40 + ".pdb"));  // the file keeps the whole name
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 31), name40.substr(0, 31));
  EXPECT_EQ(bytes[31], 0);
  // Type and creator go in first character first.
  EXPECT_EQ(std::string(bytes.begin() + 60, bytes.begin() + 68), "HWRPHWRP");
}

TEST(PdbFileWrite, DatesCountFrom1904AndComeFromOneClockReading) {
  TempFolder folder;
  std::vector<PdbRecordEntry> none;
  const auto before = static_cast<std::uint32_t>(std::time(nullptr) + 2082844800LL);
  ASSERT_TRUE(PdbFile("Now", folder.Directory(), ".pdb").Write(none, "HWRP", "HWRP", 0));
  const auto after = static_cast<std::uint32_t>(std::time(nullptr) + 2082844800LL);
  const Bytes bytes = ReadFileBytes(folder / "Now.pdb");
  const std::uint32_t created = GetBigEndian32(&bytes[36]);
  EXPECT_EQ(GetBigEndian32(&bytes[40]), created);
  EXPECT_GE(created, before);
  EXPECT_LE(created, after);
  EXPECT_EQ(GetBigEndian32(&bytes[44]), 0u);  // never backed up
}

TEST(PdbFileWrite, WritingAgainReplacesTheFileAndChangesOnlyTheDates) {
  TempFolder folder;
  const std::vector<Bytes> records = {Hex("01 02"), Hex("03")};
  auto entries = Entries(records);
  PdbFile file("Again", folder.Directory(), ".pdb");
  ASSERT_TRUE(file.Write(entries, "CRTR", "TYPE", 2, kClock));
  Bytes first = ReadFileBytes(folder / "Again.pdb");
  ASSERT_TRUE(file.Write(entries, "CRTR", "TYPE", 2, kClock + 3600));
  Bytes second = ReadFileBytes(folder / "Again.pdb");
  ASSERT_EQ(first.size(), second.size());
  EXPECT_NE(Slice(first, 36, 8), Slice(second, 36, 8));
  std::fill(first.begin() + 36, first.begin() + 44, 0);
  std::fill(second.begin() + 36, second.begin() + 44, 0);
  EXPECT_EQ(first, second);
  // No temporary file stays behind.
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Again.pdb"});
}

TEST(PdbFileWrite, ContiguousRecordsGiveTheSameFile) {
  TempFolder folder;
  const std::vector<Bytes> records = {Hex("01 02 03"), Bytes{}, Hex("04"), Hex("05 06")};
  auto entries = Entries(records);
  RecordArena arena;
  for (const Bytes& record : records) {
    arena.Append(record.data(), record.size());
    arena.EndRecord();
  }
  ASSERT_TRUE(PdbFile("A", folder.Directory(), ".pdb").Write(entries, "CRTR", "TYPE", 4, kClock));
  ASSERT_TRUE(PdbFile("B", folder.Directory(), ".pdb").Write(arena, "CRTR", "TYPE", kClock));
  Bytes a = ReadFileBytes(folder / "A.pdb");
  Bytes b = ReadFileBytes(folder / "B.pdb");
  ASSERT_EQ(a.size(), b.size());
  b[0] = 'A';
  EXPECT_EQ(a, b);
}

TEST(PdbFileWrite, FailuresAreReportedAndLeaveNothingBehind) {
  TempFolder folder;
  std::vector<PdbRecordEntry> none;
  // No such folder.
  EXPECT_FALSE(PdbFile("X", folder / "missing/", ".pdb").Write(none, "HWRP", "HWRP", 0));
  // A "folder" that is a file: fails even for root.
  testing::WriteFileBytes(folder / "plain", Hex("00"));
  EXPECT_FALSE(PdbFile("X", folder / "plain/", ".pdb").Write(none, "HWRP", "HWRP", 0));
  // The target is a folder: the rename fails and the temporary file goes.
  std::filesystem::create_directory(folder / "Taken.pdb");
  EXPECT_FALSE(PdbFile("Taken", folder.Directory(), ".pdb").Write(none, "HWRP", "HWRP", 0));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Taken.pdb"));
  // Fewer entries than the count asks for.
  EXPECT_FALSE(PdbFile("Short", folder.Directory(), ".pdb").Write(none, "HWRP", "HWRP", 1));
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"Taken.pdb", "plain"}));
}

TEST(PdbFileWrite, NewFileFollowsTheUmask) {
  TempFolder folder;
  std::vector<PdbRecordEntry> none;
  const mode_t old = umask(022);
  const bool written = PdbFile("Mode", folder.Directory(), ".pdb").Write(none, "HWRP", "HWRP", 0);
  umask(old);
  ASSERT_TRUE(written);
  struct stat status {};
  ASSERT_EQ(stat((folder / "Mode.pdb").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

// Runs `write` in a child process that may not write files larger than
// `limit` bytes; returns the child's exit code (0 when `write` succeeded).
int WriteInLimitedChild(rlim_t limit, const std::function<bool()>& write) {
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // exceeding the limit then fails the write with EFBIG
    const rlimit fileSize{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) _exit(3);
    _exit(write() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(PdbFileWrite, FileSizeLimitFailsTheWriteAndKeepsTheEarlierFile) {
  TempFolder folder;
  const std::vector<Bytes> small = {Hex("01 02 03")};
  auto smallEntries = Entries(small);
  ASSERT_TRUE(PdbFile("Kept", folder.Directory(), ".pdb").Write(smallEntries, "CRTR", "TYPE", 1));
  const Bytes earlier = ReadFileBytes(folder / "Kept.pdb");

  const std::vector<Bytes> large = {Bytes(300000, 0x11), Bytes(300000, 0x22)};
  // Through the entries and through contiguous records.
  EXPECT_EQ(
      WriteInLimitedChild(
          64 * 1024,
          [&] {
            auto entries = Entries(large);
            return PdbFile("Kept", folder.Directory(), ".pdb").Write(entries, "CRTR", "TYPE", 2);
          }),
      1);
  EXPECT_EQ(WriteInLimitedChild(
                64 * 1024,
                [&] {
                  RecordArena arena;
                  for (const Bytes& record : large) {
                    arena.Append(record.data(), record.size());
                    arena.EndRecord();
                  }
                  return PdbFile("Kept", folder.Directory(), ".pdb").Write(arena, "CRTR", "TYPE");
                }),
            1);
  EXPECT_EQ(ReadFileBytes(folder / "Kept.pdb"), earlier);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Kept.pdb"});

  // The same write under a limit it fits in succeeds.
  EXPECT_EQ(
      WriteInLimitedChild(
          1024 * 1024,
          [&] {
            auto entries = Entries(large);
            return PdbFile("Kept", folder.Directory(), ".pdb").Write(entries, "CRTR", "TYPE", 2);
          }),
      0);
  EXPECT_EQ(ReadFileBytes(folder / "Kept.pdb").size(), 81u + 16 + 600000);
}

}  // namespace
}  // namespace tallowick
