// The small rules the import is built on: numbers shown as Excel shows them,
// Excel and FoxPro day counts, date formats, column names, code pages, the
// temporary database file, a compound file that loops.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "import/calendar.h"
#include "import/code_page_decoder.h"
#include "import/column_names.h"
#include "import/compound_file.h"
#include "import/excel_number_format.h"
#include "import/temporary_database.h"
#include "import/value_text.h"
#include "tests/import/import_test_support.h"

namespace tallowick {
namespace {

TEST(ExcelNumberTextTest, WholeNumbersHaveNoDecimalPointOthersAtMostFifteenDigits) {
  EXPECT_EQ(ExcelNumberText(42), "42");
  EXPECT_EQ(ExcelNumberText(-7), "-7");
  EXPECT_EQ(ExcelNumberText(-0.0), "0");
  EXPECT_EQ(ExcelNumberText(123456789012), "123456789012");
  EXPECT_EQ(ExcelNumberText(1.5), "1.5");
  EXPECT_EQ(ExcelNumberText(0.1 + 0.2), "0.3");
  EXPECT_EQ(ExcelNumberText(1e20), "1E+20");
  EXPECT_EQ(ExcelNumberText(1e15), "1E+15");
  EXPECT_EQ(ExcelNumberText(1.5e-7), "1.5E-07");
  EXPECT_EQ(ExcelNumberText(-2.25e100), "-2.25E+100");
}

std::string Stamp(const CalendarDateTime& value) { return TimestampText(value); }

TEST(CalendarTest, ExcelSerialsInBothDateSystems) {
  CalendarDateTime when;
  ASSERT_TRUE(ExcelSerialToCalendar(1, false, when));
  EXPECT_EQ(Stamp(when), "1900-01-01 00:00:00");
  ASSERT_TRUE(ExcelSerialToCalendar(59, false, when));
  EXPECT_EQ(Stamp(when), "1900-02-28 00:00:00");
  ASSERT_TRUE(ExcelSerialToCalendar(61, false, when));  // after Excel's 29 February 1900
  EXPECT_EQ(Stamp(when), "1900-03-01 00:00:00");
  ASSERT_TRUE(ExcelSerialToCalendar(37817 + (14 * 3600 + 35 * 60 + 59) / 86400.0, false, when));
  EXPECT_EQ(Stamp(when), "2003-07-15 14:35:59");
  ASSERT_TRUE(ExcelSerialToCalendar(0.5, false, when));  // a time of day alone
  EXPECT_EQ(Stamp(when), "1899-12-30 12:00:00");
  ASSERT_TRUE(ExcelSerialToCalendar(0, true, when));
  EXPECT_EQ(Stamp(when), "1904-01-01 00:00:00");
  ASSERT_TRUE(
      ExcelSerialToCalendar(0.25 + 0.4 / 86400000, false, when));  // rounds to the millisecond
  EXPECT_EQ(Stamp(when), "1899-12-30 06:00:00");
  ASSERT_TRUE(ExcelSerialToCalendar(0.25 + 0.6 / 86400000, false, when));
  EXPECT_EQ(Stamp(when), "1899-12-30 06:00:00.001");
  EXPECT_FALSE(ExcelSerialToCalendar(-1, false, when));
  EXPECT_FALSE(ExcelSerialToCalendar(NAN, false, when));
  EXPECT_FALSE(ExcelSerialToCalendar(1e9, false, when));
}

TEST(CalendarTest, JulianDaysAndDateTexts) {
  CalendarDateTime when;
  ASSERT_TRUE(JulianDayToCalendar(2440588, 0, when));
  EXPECT_EQ(Stamp(when), "1970-01-01 00:00:00");
  ASSERT_TRUE(JulianDayToCalendar(2452836, 52559250, when));
  EXPECT_EQ(Stamp(when), "2003-07-15 14:35:59.250");
  EXPECT_FALSE(JulianDayToCalendar(2452836, 86400000, when));
  EXPECT_FALSE(JulianDayToCalendar(0x20202020, 0, when));  // blanks, not a day
  ASSERT_TRUE(ParseCompactDate("20040229", when));
  EXPECT_FALSE(ParseCompactDate("20030229", when));
  EXPECT_FALSE(ParseCompactDate("2003-7-1", when));
  bool hasDate = false, hasTime = false;
  ASSERT_TRUE(ParseDateTimeText("14:35:59", when, hasDate, hasTime));
  EXPECT_TRUE(hasTime && !hasDate);
  EXPECT_FALSE(ParseDateTimeText("2003-07-15 25:00:00", when, hasDate, hasTime));
}

TEST(NumberFormatTest, DatesTimesAndNumbersAreToldApart) {
  EXPECT_EQ(KindOfFormatCode("yyyy-mm-dd"), NumberFormatKind::Date);
  EXPECT_EQ(KindOfFormatCode("[$-409]d-mmm-yy;@"), NumberFormatKind::Date);
  EXPECT_EQ(KindOfFormatCode("h:mm AM/PM"), NumberFormatKind::Time);
  EXPECT_EQ(KindOfFormatCode("mm:ss"), NumberFormatKind::Time);
  EXPECT_EQ(KindOfFormatCode("[h]:mm"), NumberFormatKind::Time);
  EXPECT_EQ(KindOfFormatCode("dd/mm/yyyy hh:mm"), NumberFormatKind::DateTime);
  EXPECT_EQ(KindOfFormatCode("General"), NumberFormatKind::Number);
  EXPECT_EQ(KindOfFormatCode("#,##0.00;[Red]-#,##0.00"), NumberFormatKind::Number);
  EXPECT_EQ(KindOfFormatCode("0.00E+00"), NumberFormatKind::Number);
  EXPECT_EQ(KindOfFormatCode("\"days: \"0"), NumberFormatKind::Number);
  EXPECT_EQ(KindOfFormatCode("0\\d"), NumberFormatKind::Number);
  EXPECT_EQ(KindOfBuiltInFormat(14), NumberFormatKind::Date);
  EXPECT_EQ(KindOfBuiltInFormat(20), NumberFormatKind::Time);
  EXPECT_EQ(KindOfBuiltInFormat(22), NumberFormatKind::DateTime);
  EXPECT_EQ(KindOfBuiltInFormat(10), NumberFormatKind::Number);
}

TEST(ColumnNamesTest, BlankAndRepeatedNamesGetFallbacksThatClashWithNothing) {
  EXPECT_EQ(UniqueColumnNames({"A", "", "a", " B ", "F2"}),
            (std::vector<std::string>{"A", "F2_2", "a_2", "B", "F2"}));
  EXPECT_EQ(UniqueColumnNames({"x", "x", "x_2"}), (std::vector<std::string>{"x", "x_3", "x_2"}));
  EXPECT_EQ(UniqueColumnNames({"", ""}), (std::vector<std::string>{"F1", "F2"}));
}

TEST(CodePageDecoderTest, CodePagesDecodeToUtf8AndUndefinedBytesAreMarked) {
  EXPECT_EQ(CodePageDecoder(1252).Decode("\x80 caf\xE9"), "€ café");
  EXPECT_EQ(CodePageDecoder(1252).Decode("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(CodePageDecoder(866).Decode("\x8F\xE0\xA8"), "При");
  EXPECT_EQ(CodePageDecoder(1251).Decode("\xCF\xF0\xE8"), "При");
  EXPECT_EQ(CodePageDecoder(437).Decode("\x82\xB0"), "é░");
  EXPECT_EQ(CodePageDecoder(932).Decode("\x93\xFA\x96\x7B"
                                        "A\x93"),
            "日本A\xEF\xBF\xBD");
  EXPECT_EQ(CodePageDecoder(65001).Decode("ok\xC3"), "ok\xEF\xBF\xBD");
  EXPECT_EQ(CodePageDecoder(CodePageDecoder::kUnknownCodePage).Decode("Zo\xC3\xAB"), "Zoë");
  EXPECT_EQ(CodePageDecoder(CodePageDecoder::kUnknownCodePage).Decode("Zo\xEB"), "Zoë");
  EXPECT_FALSE(CodePageDecoder(12345).Supported());
  EXPECT_EQ(CodePageOfLanguageDriver(0x03), 1252);
  EXPECT_EQ(CodePageOfLanguageDriver(0x26), 866);
  EXPECT_EQ(CodePageOfLanguageDriver(0xC9), 1251);
  EXPECT_EQ(CodePageOfLanguageDriver(0x7B), 932);
  EXPECT_EQ(CodePageOfLanguageDriver(0x00), CodePageDecoder::kUnknownCodePage);
}

class TemporaryDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_environment.Keep("XDG_RUNTIME_DIR");
    m_environment.Keep("TMPDIR");
  }
  testing::SavedEnvironment m_environment;
};

TEST_F(TemporaryDatabaseTest, PrivateFileInTheRuntimeFolderElseTmpdirElseTmp) {
  import_test::ScratchFolder runtime, tmp;
  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  setenv("TMPDIR", tmp.Path().c_str(), 1);
  EXPECT_EQ(TemporaryDatabaseFolder(), runtime.Path());
  setenv("XDG_RUNTIME_DIR", "relative/folder", 1);
  EXPECT_EQ(TemporaryDatabaseFolder(), tmp.Path());
  setenv("XDG_RUNTIME_DIR", (runtime.Path() + "/missing").c_str(), 1);
  unsetenv("TMPDIR");
  EXPECT_EQ(TemporaryDatabaseFolder(), "/tmp");

  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  TemporaryDatabase first, second;
  std::string error;
  ASSERT_TRUE(TemporaryDatabase::Create(first, error)) << error;
  ASSERT_TRUE(TemporaryDatabase::Create(second, error)) << error;
  EXPECT_NE(first.Path(), second.Path());
  struct stat info {};
  ASSERT_EQ(stat(first.Path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  std::string path = first.Path();
  TemporaryDatabase moved = std::move(first);
  EXPECT_FALSE(first.Holds());
  EXPECT_EQ(moved.Path(), path);
  moved = std::move(second);  // the file `moved` held goes away
  EXPECT_NE(stat(path.c_str(), &info), 0);
  moved.Remove();
  EXPECT_TRUE(import_test::FilesIn(runtime.Path()).empty());
}

// Named after the process; what a process that no longer runs left (the
// database and SQLite's files beside it) goes at the next Create, what a
// live one holds stays.
TEST_F(TemporaryDatabaseTest, NamedAfterTheProcessAndKilledRunsDatabasesRemoved) {
  import_test::ScratchFolder runtime;
  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  const std::string dead =
      runtime.Path() + "/tallowick-import-" + std::to_string(child) + "-AbC123.sqlite";
  const std::string live =
      runtime.Path() + "/tallowick-import-" + std::to_string(getppid()) + "-AbC123.sqlite";
  for (const std::string& path : {dead, dead + "-journal", live, live + "-wal"}) {
    std::ofstream(path) << "x";
  }
  TemporaryDatabase database;
  std::string error;
  ASSERT_TRUE(TemporaryDatabase::Create(database, error)) << error;
  const std::string prefix = runtime.Path() + "/tallowick-import-" + std::to_string(getpid()) + "-";
  EXPECT_EQ(database.Path().rfind(prefix, 0), 0u) << database.Path();
  EXPECT_EQ(database.Path().size(), prefix.size() + 6 + std::string(".sqlite").size());
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_FALSE(std::filesystem::exists(dead + "-journal"));
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_TRUE(std::filesystem::exists(live + "-wal"));
  database.Remove();
  std::filesystem::remove(live);
  std::filesystem::remove(live + "-wal");
  EXPECT_TRUE(import_test::FilesIn(runtime.Path()).empty());
}

TEST(CompoundFileTest, ChainsThatLoopOrLeaveTheFileAreRefused) {
  // Header: 512-byte sectors, one FAT sector (sector 0), directory at
  // sector 1. The FAT makes sector 1 point to itself.
  std::string file(512 * 3, '\0');
  const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  for (int i = 0; i < 8; ++i) file[static_cast<std::size_t>(i)] = static_cast<char>(signature[i]);
  auto put32 = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      file[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
  };
  file[0x1E] = 9;
  file[0x20] = 6;
  put32(0x2C, 1);
  put32(0x30, 1);
  put32(0x38, 4096);
  put32(0x4C, 0);
  put32(512 + 0, 0xFFFFFFFD);  // sector 0: the FAT itself
  put32(512 + 4, 1);           // sector 1 -> sector 1
  std::vector<unsigned char> out;
  auto view = [&]() {
    return ByteView(reinterpret_cast<const unsigned char*>(file.data()), file.size());
  };
  EXPECT_NE(ReadCompoundStream(view(), {"Workbook"}, out), CompoundRead::Read);
  put32(512 + 4, 77);  // sector 1 -> beyond the table
  EXPECT_EQ(ReadCompoundStream(view(), {"Workbook"}, out), CompoundRead::Damaged);
  put32(0x2C, 1000);  // more FAT sectors than the file could hold
  EXPECT_EQ(ReadCompoundStream(view(), {"Workbook"}, out), CompoundRead::Damaged);
  file[0] = 'P';  // no signature
  EXPECT_EQ(ReadCompoundStream(view(), {"Workbook"}, out), CompoundRead::NotCompound);
}

}  // namespace
}  // namespace tallowick
