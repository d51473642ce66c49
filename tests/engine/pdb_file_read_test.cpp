#include <gtest/gtest.h>

#include <filesystem>

#include "engine/byte_order.h"
#include "engine/pdb_file.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

// Writes a database of the given records with the engine's writer.
void WriteDatabase(const std::string& folder, const std::string& name,
                   const std::vector<Bytes>& records) {
  std::vector<PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
  }
  ASSERT_TRUE(PdbFile(name, folder, ".pdb")
                  .Write(entries, "CRTR", "TYPE", static_cast<std::uint16_t>(records.size())));
}

struct ReadBack {
  bool ok = false;
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
};

ReadBack ReadList(PdbFile& file) {
  ReadBack result;
  result.ok = file.ReadRecordList(result.header, result.entries, result.count);
  return result;
}

TEST(PdbFileRead, ReadsBackHeaderListAndRecords) {
  TempFolder folder;
  WriteDatabase(folder.Directory(), "Two", {Hex("01 02 03 04 05"), Hex("A1 A2 A3 A4 A5 A6 A7")});
  PdbFile file("Two", folder.Directory(), ".pdb");
  ReadBack read = ReadList(file);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.header.name, "Two");
  EXPECT_EQ(read.header.attributes, 8);
  EXPECT_EQ(read.header.version, 0);
  EXPECT_EQ(read.header.appInfoOffset, 96u);
  EXPECT_EQ(read.header.sortInfoOffset, 0u);
  EXPECT_EQ(read.header.type, "TYPE");
  EXPECT_EQ(read.header.creator, "CRTR");
  EXPECT_EQ(read.header.numberOfRecords, 2);
  EXPECT_EQ(read.header.creationDate, read.header.modificationDate);
  ASSERT_EQ(read.count, 2);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[0].offset, 97u);
  EXPECT_EQ(read.entries[1].offset, 102u);
  EXPECT_EQ(read.entries[1].uniqueId, 1u);

  auto first = file.ReadRecord(read.entries, 0, read.count);
  auto second = file.ReadRecord(read.entries, 1, read.count);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(*first, Hex("01 02 03 04 05 00"));  // the record and the spare 0
  EXPECT_EQ(*second, Hex("A1 A2 A3 A4 A5 A6 A7 00"));
  EXPECT_EQ(file.ReadRecord(read.entries, 2, read.count), nullptr);
}

TEST(PdbFileRead, EmptyDatabaseAndEmptyRecords) {
  TempFolder folder;
  WriteDatabase(folder.Directory(), "Empty", {});
  PdbFile empty("Empty", folder.Directory(), ".pdb");
  ReadBack read = ReadList(empty);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.count, 0);
  EXPECT_TRUE(read.entries.empty());
  EXPECT_EQ(empty.ReadRecord(read.entries, 0, 0), nullptr);

  WriteDatabase(folder.Directory(), "Holes", {Bytes{}, Hex("42"), Bytes{}});
  PdbFile holes("Holes", folder.Directory(), ".pdb");
  read = ReadList(holes);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(*holes.ReadRecord(read.entries, 0, read.count), Hex("00"));
  EXPECT_EQ(*holes.ReadRecord(read.entries, 1, read.count), Hex("42 00"));
  EXPECT_EQ(*holes.ReadRecord(read.entries, 2, read.count), Hex("00"));
}

TEST(PdbFileRead, ExtensionIsAppendedOnlyWhenMissing) {
  EXPECT_EQ(PdbFile("sales", "/d/", ".pdb").ReadPath(), "/d/sales.pdb");
  EXPECT_EQ(PdbFile("SALES.PDB", "/d/", ".pdb").ReadPath(), "/d/SALES.PDB");
  EXPECT_EQ(PdbFile("salesHelper.Mhl", "/d/", ".mhl").ReadPath(), "/d/salesHelper.Mhl");
  EXPECT_EQ(PdbFile("sales.pdbx", "/d/", ".pdb").ReadPath(), "/d/sales.pdbx.pdb");
  EXPECT_EQ(PdbFile("", "/d/x.mhl", ".mhl").ReadPath(), "/d/x.mhl");
  // The writer always appends it.
  EXPECT_EQ(PdbFile("SALES.PDB", "/d/", ".pdb").WritePath(), "/d/SALES.PDB.pdb");

  TempFolder folder;
  WriteDatabase(folder.Directory(), "sales", {Hex("01")});
  std::filesystem::rename(folder / "sales.pdb", folder / "SALES.PDB");
  PdbFile capitals("SALES.PDB", folder.Directory(), ".pdb");
  EXPECT_TRUE(ReadList(capitals).ok);
#ifndef _WIN32  // Windows finds a file under any letter case
  PdbFile plain("sales", folder.Directory(), ".pdb");
  EXPECT_FALSE(ReadList(plain).ok);  // sales.pdb is gone
#endif
}

TEST(PdbFileRead, TruncatedFilesFailTheRecordList) {
  TempFolder folder;
  WriteDatabase(folder.Directory(), "Full", {Hex("01 02"), Hex("03 04")});
  const Bytes full = ReadFileBytes(folder / "Full.pdb");
  // Shorter than the header, cut inside the record list, cut right after it.
  for (std::size_t size : {0u, 77u, 78u + 15u}) {
    WriteFileBytes(folder / "Cut.pdb", Bytes(full.begin(), full.begin() + static_cast<long>(size)));
    PdbFile file("Cut", folder.Directory(), ".pdb");
    EXPECT_FALSE(ReadList(file).ok) << size;
  }
  WriteFileBytes(folder / "Cut.pdb", Bytes(full.begin(), full.begin() + 78 + 16));
  PdbFile listOnly("Cut", folder.Directory(), ".pdb");
  ReadBack read = ReadList(listOnly);
  ASSERT_TRUE(read.ok);  // the list is whole; the records lie beyond the end
  EXPECT_EQ(listOnly.ReadRecord(read.entries, 0, read.count), nullptr);
  EXPECT_EQ(listOnly.ReadRecord(read.entries, 1, read.count), nullptr);

  PdbFile missing("Nothing", folder.Directory(), ".pdb");
  EXPECT_FALSE(ReadList(missing).ok);
  std::filesystem::create_directory(folder / "Dir.pdb");
  PdbFile directory("Dir", folder.Directory(), ".pdb");
  EXPECT_FALSE(ReadList(directory).ok);
}

TEST(PdbFileRead, DamagedOffsetsRejectOnlyTheRecordsTheyBound) {
  TempFolder folder;
  WriteDatabase(folder.Directory(), "Four",
                {Hex("01 02"), Hex("03 04"), Hex("05 06"), Hex("07 08")});
  Bytes bytes = ReadFileBytes(folder / "Four.pdb");
  const std::size_t size = bytes.size();  // 81 + 32 + 8
  // Record 1 points beyond the end of the file.
  PutBigEndian32(&bytes[78 + 8], static_cast<std::uint32_t>(size + 1));
  WriteFileBytes(folder / "Bad.pdb", bytes);
  PdbFile file("Bad", folder.Directory(), ".pdb");
  ReadBack read = ReadList(file);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(file.ReadRecord(read.entries, 0, read.count), nullptr);  // would end past the file
  EXPECT_EQ(file.ReadRecord(read.entries, 1, read.count), nullptr);
  EXPECT_EQ(file.ReadRecord(read.entries, 2, read.count), nullptr);  // below its predecessor
  ASSERT_NE(file.ReadRecord(read.entries, 3, read.count), nullptr);
  EXPECT_EQ(*file.ReadRecord(read.entries, 3, read.count), Hex("07 08 00"));

  // Record 2 points below record 1.
  bytes = ReadFileBytes(folder / "Four.pdb");
  PutBigEndian32(&bytes[78 + 16], 0);
  WriteFileBytes(folder / "Bad.pdb", bytes);
  read = ReadList(file);
  ASSERT_TRUE(read.ok);
  EXPECT_NE(file.ReadRecord(read.entries, 0, read.count), nullptr);
  EXPECT_EQ(file.ReadRecord(read.entries, 1, read.count), nullptr);
  EXPECT_EQ(file.ReadRecord(read.entries, 2, read.count), nullptr);
  EXPECT_NE(file.ReadRecord(read.entries, 3, read.count), nullptr);

  // The last record beyond the end; an offset exactly at the end is an empty record.
  bytes = ReadFileBytes(folder / "Four.pdb");
  PutBigEndian32(&bytes[78 + 24], 0xFFFFFFF0u);
  WriteFileBytes(folder / "Bad.pdb", bytes);
  read = ReadList(file);
  EXPECT_EQ(file.ReadRecord(read.entries, 3, read.count), nullptr);
  PutBigEndian32(&bytes[78 + 24], static_cast<std::uint32_t>(size));
  WriteFileBytes(folder / "Bad.pdb", bytes);
  read = ReadList(file);
  EXPECT_EQ(*file.ReadRecord(read.entries, 3, read.count), Hex("00"));

  // A count larger than the entries handed in never reads past them.
  EXPECT_EQ(file.ReadRecord(read.entries, 4, 60000), nullptr);
  std::vector<PdbRecordEntry> two(read.entries.begin(), read.entries.begin() + 2);
  EXPECT_EQ(*file.ReadRecord(two, 1, 4), Hex("03 04 05 06 07 08 00"));  // runs to the end
}

TEST(PdbFileRead, OffsetsInsideTheHeaderOrRecordListAreDamaged) {
  TempFolder folder;
  WriteDatabase(folder.Directory(), "Four",
                {Hex("01 02"), Hex("03 04"), Hex("05 06"), Hex("07 08")});
  const Bytes good = ReadFileBytes(folder / "Four.pdb");
  const std::uint32_t listEnd = 78 + 8 * 4;  // the gap after the list is not required
  // Record 0 inside the header, on the list's first entry and on its last
  // byte; the last record inside the header and inside the list.
  const std::pair<std::size_t, std::uint32_t> damaged[] = {
      {0, 0}, {0, 77}, {0, 78}, {0, listEnd - 1}, {3, 60}, {3, listEnd - 8}};
  for (const auto& [record, offset] : damaged) {
    Bytes bytes = good;
    PutBigEndian32(&bytes[78 + 8 * record], offset);
    WriteFileBytes(folder / "Bad.pdb", bytes);
    PdbFile file("Bad", folder.Directory(), ".pdb");
    ReadBack read = ReadList(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(file.ReadRecord(read.entries, record, read.count), nullptr)
        << record << " at " << offset;
  }
  // A record at the very end of the list: the gap, the AppInfo block and record 0.
  Bytes bytes = good;
  PutBigEndian32(&bytes[78], listEnd);
  WriteFileBytes(folder / "Bad.pdb", bytes);
  PdbFile file("Bad", folder.Directory(), ".pdb");
  ReadBack read = ReadList(file);
  Bytes expected(good.begin() + listEnd, good.begin() + read.entries[1].offset);
  expected.push_back(0);
  EXPECT_EQ(*file.ReadRecord(read.entries, 0, read.count), expected);
}

}  // namespace
}  // namespace tallowick
