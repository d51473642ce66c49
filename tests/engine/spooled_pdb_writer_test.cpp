#include "engine/spooled_pdb_writer.h"

#include <gtest/gtest.h>

#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using namespace testing;

constexpr std::int64_t kClock = 1058091630;

// Records made by record index: `count` records of lengths cycling through `lengths`.
std::vector<Bytes> MakeRecords(std::size_t count, const std::vector<std::size_t>& lengths) {
  std::vector<Bytes> records;
  for (std::size_t i = 0; i < count; ++i) {
    Bytes record(lengths[i % lengths.size()]);
    for (std::size_t b = 0; b < record.size(); ++b) record[b] = static_cast<unsigned char>(i + b);
    records.push_back(std::move(record));
  }
  return records;
}

TEST(SpooledPdbWriter, GivesTheSameFileAsAWriteFromMemory) {
  struct Case {
    const char* what;
    std::size_t count;
    std::vector<std::size_t> lengths;
    std::size_t memoryLimit;
  };
  const std::vector<Case> cases = {
      {"no records", 0, {1}, 1 << 20},
      {"records kept in memory to the end", 3, {5, 0, 7}, 1 << 20},
      {"every record through the file", 200, {0, 1, 300, 70000}, 1},
      {"flushes between records", 5000, {13, 0, 2}, 4096},
      {"the largest record list: nothing to move", 65535, {1}, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::vector<Bytes> records = MakeRecords(c.count, c.lengths);
    RecordArena arena;
    for (const Bytes& record : records) {
      arena.Append(record.data(), record.size());
      arena.EndRecord();
    }
    ASSERT_TRUE(PdbFile("Memory", folder.Directory(), ".pdb").Write(arena, "CRTR", "TYPE", kClock));

    PdbFile file("Spooled", folder.Directory(), ".pdb");
    file.SetDatabaseName("Memory");
    SpooledPdbWriter writer(file, c.memoryLimit);
    ASSERT_TRUE(writer.Open());
    std::uint64_t size = 81;
    for (const Bytes& record : records) {
      writer.Records().Append(record.data(), record.size());
      ASSERT_TRUE(writer.EndRecord());
      size += 8 + record.size();
      ASSERT_EQ(writer.FileSize(), size);
    }
    ASSERT_TRUE(writer.Finish("CRTR", "TYPE", kClock));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ReadFileBytes(folder / "Spooled.pdb"), ReadFileBytes(folder / "Memory.pdb"));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"Memory.pdb", "Spooled.pdb"}));
  }
}

TEST(SpooledPdbWriter, DiscardedWriteLeavesNothingAndKeepsTheTarget) {
  TempFolder folder;
  WriteFileBytes(folder / "Kept.pdb", Hex("01 02"));
  {
    SpooledPdbWriter writer(PdbFile("Kept", folder.Directory(), ".pdb"), 1);
    ASSERT_TRUE(writer.Open());
    writer.Records().Append("abc", 3);
    ASSERT_TRUE(writer.EndRecord());
    ASSERT_TRUE(writer.Finish("CRTR", "TYPE", kClock));
    writer.Discard();
  }
  {
    SpooledPdbWriter writer(PdbFile("Kept", folder.Directory(), ".pdb"), 1);
    ASSERT_TRUE(writer.Open());
    writer.Records().Append("abc", 3);
    ASSERT_TRUE(writer.EndRecord());
  }  // neither finished nor committed
  EXPECT_EQ(ReadFileBytes(folder / "Kept.pdb"), Hex("01 02"));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Kept.pdb"});
}

}  // namespace
}  // namespace tallowick
