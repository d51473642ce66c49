#include "engine/helper_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/pdb_file.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

Bytes Record(std::uint8_t kind, const std::string& text) {
  Bytes record(kHelperRecordSize, 0);
  record[0] = kind;
  std::copy(text.begin(), text.end(), record.begin() + 1);
  return record;
}

TEST(HelperName, First23CharactersOfThePdbNameThenHelper) {
  EXPECT_EQ(HelperName("Customers"), "CustomersHelper");
  EXPECT_EQ(HelperName("abcdefghijklmnopqrstuvw"), "abcdefghijklmnopqrstuvwHelper");
  EXPECT_EQ(HelperName("abcdefghijklmnopqrstuvwxy"), "abcdefghijklmnopqrstuvwHelper");
  EXPECT_EQ(HelperName(""), "Helper");
}

TEST(HelperFile, CustomersQueryGivesSixRecordsOf66Bytes) {
  TempFolder folder;
  // ID (integer), Name (varchar), Born (timestamp); Photo has no kind and is left out.
  ASSERT_TRUE(WriteHelperFile(folder.Directory(), "Customers", "CUST", "DATA",
                              {{4, "ID"}, {1, "Name"}, {6, "Born"}}));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"CustomersHelper.mhl"});

  PdbFile file("CustomersHelper", folder.Directory(), ".mhl");
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  ASSERT_TRUE(file.ReadRecordList(header, entries, count));
  EXPECT_EQ(header.name, "CustomersHelper");
  EXPECT_EQ(header.creator, "HWRP");
  EXPECT_EQ(header.type, "HWRP");
  ASSERT_EQ(count, 6);

  const Bytes bytes = ReadFileBytes(folder / "CustomersHelper.mhl");
  ASSERT_EQ(bytes.size(), 81u + 6 * 8 + 6 * 66);
  const Bytes expected[] = {Record(0, "Customers"), Record(0, "CUST"), Record(0, "DATA"),
                            Record(4, "ID"),        Record(1, "Name"), Record(6, "Born")};
  for (std::size_t i = 0; i < 6; ++i) {
    const std::size_t at = 81 + 6 * 8 + i * 66;
    EXPECT_EQ(entries[i].offset, at);
    EXPECT_EQ(
        Bytes(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 66)),
        expected[i])
        << "record " << i;
  }

  const auto info = ReadHelperFile(folder / "CustomersHelper.mhl");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->headerName, "CustomersHelper");
  EXPECT_EQ(info->pdbName, "Customers");
  EXPECT_EQ(info->creator, "CUST");
  EXPECT_EQ(info->type, "DATA");
  ASSERT_EQ(info->fields.size(), 3u);
  EXPECT_EQ(info->fields[0].kind, 4);
  EXPECT_EQ(info->fields[0].name, "ID");
  EXPECT_EQ(info->fields[2].kind, 6);
  EXPECT_EQ(info->fields[2].name, "Born");
}

TEST(HelperFile, ColumnNamesNeverRunPastTheirRecord) {
  const std::string name64(64, 'x');
  const std::string name200 = std::string(64, 'y') + std::string(136, 'z');
  const auto records = BuildHelperRecords("P", "CRTR", "TYPE", {{1, name64}, {2, name200}});
  ASSERT_EQ(records.size(), 5u);
  for (const auto& record : records) EXPECT_EQ(record.size(), kHelperRecordSize);
  EXPECT_EQ(records[3], Record(1, name64));  // its NUL is the last byte
  EXPECT_EQ(records[3][65], 0);
  EXPECT_EQ(records[4], Record(2, std::string(64, 'y')));  // cut to 64
  EXPECT_EQ(HelperRecordText(records[4]), std::string(64, 'y'));
}

TEST(HelperFile, NamesKeepWholeCharactersInEverySet) {
  const std::string sun = "\xE6\x97\xA5";   // 日, 93 FA in Shift-JIS
  const std::string word = "\xE8\xAA\x9E";  // 語, 8C EA in Shift-JIS
  const std::string german =
      "Artikel\xC3\xBC"
      "bersicht_Gr\xC3\xB6\xC3\x9F"
      "e";  // 22 characters
  std::string suns;
  std::string words;
  for (int i = 0; i < 13; ++i) suns += sun;
  for (int i = 0; i < 31; ++i) words += word;
  const struct {
    HandheldCharset charset;
    std::string pdbName;     // UTF-8
    std::string column;      // UTF-8
    std::string fileName;    // UTF-8, without ".mhl"
    std::string headerName;  // in the set
    std::string record0;     // in the set
    std::string field;       // in the set
  } cases[] = {
      // 25 characters: the file is named after the first 23.
      {HandheldCharset::Western, german + "_XY", std::string(63, 'c') + "\xC3\xA9",
       german + "_Helper",
       "Artikel\xFC"
       "bersicht_Gr\xF6\xDF"
       "e_Helper",
       "Artikel\xFC"
       "bersicht_Gr\xF6\xDF"
       "e_XY",
       std::string(63, 'c') + "\xE9"},
      // In UTF-8 the header holds the 22 characters that fit beside "Helper";
      // the column name loses the character that would pass its 64 bytes.
      {HandheldCharset::Utf8, german + "_XY", std::string(63, 'c') + "\xC3\xA9", german + "_Helper",
       german + "Helper", german + "_XY", std::string(63, 'c')},
      {HandheldCharset::Japanese, suns + "X", words + "a" + word, suns + "XHelper",
       [] {
         std::string twelve;
         for (int i = 0; i < 12; ++i) twelve += "\x93\xFA";
         return twelve + "Helper";
       }(),
       [] {
         std::string thirteen;
         for (int i = 0; i < 13; ++i) thirteen += "\x93\xFA";
         return thirteen + "X";
       }(),
       [] {
         std::string kept;
         for (int i = 0; i < 31; ++i) kept += "\x8C\xEA";
         return kept + "a";
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(InfoOf(c.charset).option);
    TempFolder folder;
    EXPECT_EQ(HelperName(c.pdbName), c.fileName);
    ASSERT_TRUE(
        WriteHelperFile(folder.Directory(), c.pdbName, "HWRP", "HWRP", {{1, c.column}}, c.charset));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{c.fileName + ".mhl"});
    const auto info = ReadHelperFile(folder / (c.fileName + ".mhl"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->headerName, c.headerName);
    EXPECT_LE(info->headerName.size(), kPdbNameField - 1);
    EXPECT_EQ(info->pdbName, c.record0);
    ASSERT_EQ(info->fields.size(), 1u);
    EXPECT_EQ(info->fields[0].name, c.field);
  }
}

TEST(HelperFile, NoFieldsGivesThreeRecordsAndZeroFields) {
  TempFolder folder;
  ASSERT_TRUE(WriteHelperFile(folder.Directory(), "Blobs", "HWRP", "HWRP", {}));
  const auto info = ReadHelperFile(folder / "BlobsHelper.mhl");
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->fields.empty());
  EXPECT_EQ(ReadFileBytes(folder / "BlobsHelper.mhl").size(), 81u + 3 * 8 + 3 * 66);
}

TEST(HelperFile, ReaderFindsTheFileWithOrWithoutItsExtension) {
  TempFolder folder;
  ASSERT_TRUE(WriteHelperFile(folder.Directory(), "Sales", "HWRP", "HWRP", {{5, "Qty"}}));
  EXPECT_TRUE(ReadHelperFile(folder / "SalesHelper.mhl").has_value());
  EXPECT_TRUE(ReadHelperFile(folder / "SalesHelper").has_value());
  std::filesystem::rename(folder / "SalesHelper.mhl", folder / "SalesHelper.MHL");
  EXPECT_TRUE(ReadHelperFile(folder / "SalesHelper.MHL").has_value());
#ifndef _WIN32  // Windows finds a file under any letter case
  EXPECT_FALSE(ReadHelperFile(folder / "SalesHelper").has_value());
#endif
}

// Writes a PDB-format file with the given header name, creator, type and records.
void WriteRaw(const std::string& path, const std::string& name, const std::string& creator,
              const std::string& type, const std::vector<Bytes>& records) {
  const std::size_t slash = path.rfind('/');
  std::vector<PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
  }
  PdbFile file(name, path.substr(0, slash + 1), "");
  ASSERT_TRUE(file.Write(entries, creator, type, static_cast<std::uint16_t>(records.size())));
  std::filesystem::rename(file.WritePath(), path);  // the header name need not be the file name
}

TEST(HelperFile, ReaderRejectsWhatIsNoHelperFile) {
  TempFolder folder;
  const std::vector<Bytes> head = {Record(0, "P"), Record(0, "CRTR"), Record(0, "TYPE")};
  WriteRaw(folder / "CapsHELPER.mhl", "CapsHELPER", "HWRP", "HWRP", head);
  EXPECT_TRUE(ReadHelperFile(folder / "CapsHELPER.mhl").has_value());

  WriteRaw(folder / "OtherType.mhl", "OtherHelper", "HWRP", "DATA", head);
  EXPECT_FALSE(ReadHelperFile(folder / "OtherType.mhl").has_value());
  WriteRaw(folder / "OtherCreator.mhl", "OtherHelper", "ABCD", "HWRP", head);
  EXPECT_FALSE(ReadHelperFile(folder / "OtherCreator.mhl").has_value());
  WriteRaw(folder / "NotNamed.mhl", "Helpers", "HWRP", "HWRP", head);
  EXPECT_FALSE(ReadHelperFile(folder / "NotNamed.mhl").has_value());
  WriteRaw(folder / "Short.mhl", "elper", "HWRP", "HWRP", head);
  EXPECT_FALSE(ReadHelperFile(folder / "Short.mhl").has_value());
  WriteRaw(folder / "TwoRecords.mhl", "TwoHelper", "HWRP", "HWRP", {head[0], head[1]});
  EXPECT_FALSE(ReadHelperFile(folder / "TwoRecords.mhl").has_value());
  EXPECT_FALSE(ReadHelperFile(folder / "Missing.mhl").has_value());

  // A damaged record offset makes the file unreadable as a whole.
  WriteRaw(folder / "Damaged.mhl", "DamagedHelper", "HWRP", "HWRP",
           {head[0], head[1], head[2], Record(1, "A"), Record(4, "B")});
  Bytes bytes = ReadFileBytes(folder / "Damaged.mhl");
  bytes[78 + 4 * 8] = 0x7F;  // the last record's offset far beyond the end
  WriteFileBytes(folder / "Damaged.mhl", bytes);
  EXPECT_FALSE(ReadHelperFile(folder / "Damaged.mhl").has_value());
}

TEST(HelperFile, ShortRecordsReadAsTheirBytes) {
  TempFolder folder;
  // Records without a NUL or shorter than 66 bytes, as a foreign tool might write.
  WriteRaw(folder / "OddHelper.mhl", "OddHelper", "HWRP", "HWRP",
           {Bytes{0, 'P', 'D'}, Bytes{}, Bytes{0}, Bytes{7}, Bytes{8, 'N', 'a', 'm', 'e'}});
  const auto info = ReadHelperFile(folder / "OddHelper.mhl");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->pdbName, "PD");
  EXPECT_EQ(info->creator, "");
  ASSERT_EQ(info->fields.size(), 2u);
  EXPECT_EQ(info->fields[0].kind, 7);
  EXPECT_EQ(info->fields[0].name, "");
  EXPECT_EQ(info->fields[1].name, "Name");
}

}  // namespace
}  // namespace tallowick
