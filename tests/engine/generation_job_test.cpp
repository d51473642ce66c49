#include "engine/generation_job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/helper_file.h"
#include "tests/engine/expected_log_texts.h"
#include "tests/engine/fake_result_source.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using namespace testing;

class RecordingNotices : public NoticeSink {
 public:
  void Notice(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class RecordingProgress : public ProgressSink {
 public:
  void RowsRead(std::uint32_t rows) override { counts.push_back(rows); }
  std::vector<std::uint32_t> counts;
};

struct Database {
  bool ok = false;
  PdbHeader header;
  std::vector<Bytes> records;
};

Database ReadDatabase(const std::string& folder, const std::string& name) {
  Database database;
  PdbFile file(name, folder, ".pdb");
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  if (!file.ReadRecordList(database.header, entries, count)) return database;
  for (std::size_t i = 0; i < count; ++i) {
    auto record = file.ReadRecord(entries, i, count);
    if (!record) return database;
    record->pop_back();  // the spare 0
    database.records.push_back(std::move(*record));
  }
  database.ok = true;
  return database;
}

class GenerationJobTest : public ::testing::Test {
 protected:
  int Generate(FakeResultSource& source, const std::string& name = "Customers",
               std::int16_t columns = -1) {
    GenerationRequest request;
    request.outputFolder = m_outputFolder.empty() ? m_folder.Directory() : m_outputFolder;
    request.columnCount = columns >= 0 ? columns : static_cast<std::int16_t>(m_columnCount);
    request.pdbName = name;
    request.creator = "CUST";
    request.type = "DATA";
    GenerationJob job(m_notices, &m_progress);
    const int result = job.Generate(source, request);
    m_result = job.Result();
    return result;
  }
  FakeResultSource& Source(std::vector<FakeColumn> columns,
                           std::vector<std::vector<FakeValue>> rows) {
    m_columnCount = columns.size();
    m_source = std::make_unique<FakeResultSource>(std::move(columns), std::move(rows));
    return *m_source;
  }
  FakeResultSource& Source(std::vector<FakeColumn> columns, std::size_t rowCount,
                           FakeResultSource::RowMaker make) {
    m_columnCount = columns.size();
    m_source = std::make_unique<FakeResultSource>(std::move(columns), rowCount, std::move(make));
    return *m_source;
  }
  std::string Log() const { return ReadFileText(m_folder / "TallowickLog.txt"); }
  std::string ProcessLog() const { return ReadFileText(m_folder / "TallowickProcess.log"); }

  TempFolder m_folder;
  std::string m_outputFolder;
  std::size_t m_columnCount = 0;
  std::unique_ptr<FakeResultSource> m_source;
  RecordingNotices m_notices;
  RecordingProgress m_progress;
  GenerationResult m_result;
};

const std::vector<FakeColumn> kCustomers = {
    {"ID", 4}, {"Name", 12}, {"Photo", -4}, {"Born", 93}};

TEST_F(GenerationJobTest, CustomersQueryWritesEveryFileExactly) {
  auto& source = Source(kCustomers, {{std::int32_t{1}, std::string("Ann\tB\r\n"), {},
                                      SqlTimestampValue{2003, 7, 13, 10, 20, 30, 0}},
                                     {std::int32_t{2}, {}, {}, {}}});
  ASSERT_EQ(Generate(source), 1);
  EXPECT_TRUE(m_result.ok);
  EXPECT_EQ(m_result.records, 2u);
  EXPECT_EQ(m_result.failedFile, "");
  EXPECT_TRUE(m_notices.texts.empty());
  EXPECT_EQ(m_folder.Entries(),
            (std::vector<std::string>{"Customers.pdb", "CustomersHelper.mhl", "TallowickLog.txt",
                                      "TallowickProcess.log"}));
  // Every column, the one without a kind too, was handed to the source.
  EXPECT_EQ(source.boundColumns, (std::vector<std::uint16_t>{1, 2, 3, 4}));

  const auto helper = ReadHelperFile(m_folder / "CustomersHelper.mhl");
  ASSERT_TRUE(helper.has_value());
  EXPECT_EQ(helper->pdbName, "Customers");
  EXPECT_EQ(helper->creator, "CUST");
  EXPECT_EQ(helper->type, "DATA");
  ASSERT_EQ(helper->fields.size(), 3u);
  EXPECT_EQ(helper->fields[0].name, "ID");
  EXPECT_EQ(helper->fields[1].name, "Name");
  EXPECT_EQ(helper->fields[2].name, "Born");
  EXPECT_EQ(helper->fields[2].kind, 6);

  const Database pdb = ReadDatabase(m_folder.Directory(), "Customers");
  ASSERT_TRUE(pdb.ok);
  EXPECT_EQ(pdb.header.name, "Customers");
  EXPECT_EQ(pdb.header.creator, "CUST");
  EXPECT_EQ(pdb.header.type, "DATA");
  ASSERT_EQ(pdb.records.size(), 2u);
  EXPECT_EQ(ToHex(pdb.records[0]),
            "00 00 00 01 41 6E 6E 20 20 20 20 20 42 0A 00 "
            "00 1E 00 14 00 0A 00 0D 00 07 07 D3 00 07");
  EXPECT_EQ(ToHex(pdb.records[1]),
            "00 00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

  EXPECT_EQ(Log(), ExpectedLogHead("Customers", "CUST", "DATA") +
                       "\t long ID;\t\t//A variable of standard type \"long\" of size 4 bytes\n"
                       "\t char Name[];\t\t//Sequence of characters terminated by '\\0'(String)\n"
                       "\t DateTimeType Born;\t\t//A variable of palm type \"DateTimeType\"\n"
                       "}\n"
                       "\nTotal Records written: 2" +
                       kTypedefHeading + kDateTimeTypedef +
                       ExpectedLogClosing("CustomersHelper", "Customers", m_folder.Directory()));
  EXPECT_EQ(ProcessLog(),
            ExpectedProcessHead("Customers") +
                "Found column no. 1 having name \"ID\" of \"long integer\" type\n"
                "Found column no. 2 having name \"Name\" of \"character\" type\n"
                "Found column no. 3 having name \"Photo\" of \"unknown type\", It will not be "
                "included in PDB.\n"
                "Found column no. 4 having name \"Born\" of \"TimeStamp\" type (Includes date and "
                "time, both value may not be correct at a time)\n"
                "Finished Retriving database Column information.\n"
                "\nGetting Data from database...\n" +
                ExpectedProcessWritten(2) + ExpectedProcessTail("CustomersHelper", "Customers"));
}

TEST_F(GenerationJobTest, NoRowsGiveAnEmptyPdbAndNoDateTypedefs) {
  auto& source = Source({{"Day", 91}, {"Count", 5}}, {});
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(m_result.records, 0u);
  EXPECT_EQ(ReadFileBytes(m_folder / "Customers.pdb").size(), 81u);
  const auto helper = ReadHelperFile(m_folder / "CustomersHelper.mhl");
  ASSERT_TRUE(helper.has_value());
  EXPECT_EQ(helper->fields.size(), 2u);
  const std::string log = Log();
  EXPECT_NE(log.find("}\n\nTotal Records written: 0\n\n----"), std::string::npos) << log;
  EXPECT_EQ(log.find("typedef struct {"), std::string::npos);
}

TEST_F(GenerationJobTest, NullDatesAndTimesStillBringTheirTypedefs) {
  auto& source = Source({{"At", 10}, {"Day", 9}}, {{{}, {}}});
  ASSERT_EQ(Generate(source), 1);
  const Database pdb = ReadDatabase(m_folder.Directory(), "Customers");
  ASSERT_EQ(pdb.records.size(), 1u);
  EXPECT_EQ(pdb.records[0], Bytes(4, 0));
  const std::string log = Log();
  EXPECT_NE(log.find(std::string("\nTotal Records written: 1") + kTypedefHeading + kTimeTypedef +
                     kDateTypedef + "\n\n----"),
            std::string::npos)
      << log;
}

TEST_F(GenerationJobTest, ExactlyTheRecordLimitNeedsNoNotice) {
  auto& source = Source({{"N", 5}}, kMaxRecords, [](std::size_t row, std::size_t) {
    return FakeValue(static_cast<std::int16_t>(row));
  });
  ASSERT_EQ(Generate(source), 1);
  EXPECT_TRUE(m_notices.texts.empty());
  EXPECT_EQ(m_result.records, 65535u);
  EXPECT_EQ(source.fetches, 65536u);  // the last fetch found no more rows
  const Database pdb = ReadDatabase(m_folder.Directory(), "Customers");
  ASSERT_EQ(pdb.records.size(), 65535u);
  EXPECT_EQ(ToHex(pdb.records[65534]), "FF FE");
  EXPECT_EQ(ReadFileBytes(m_folder / "Customers.pdb").size(), 81u + 10u * 65535);
  EXPECT_NE(ProcessLog().find("\nTotal Records written: 65535\n\n"), std::string::npos);
}

TEST_F(GenerationJobTest, RowsBeyondTheLimitBringTheNoticeOnce) {
  for (std::size_t rows : {std::size_t{65536}, std::size_t{70000}}) {
    m_notices.texts.clear();
    auto& source = Source({{"N", 4}}, rows, [](std::size_t row, std::size_t) {
      return FakeValue(static_cast<std::int32_t>(row));
    });
    ASSERT_EQ(Generate(source), 1);
    EXPECT_EQ(m_notices.texts,
              std::vector<std::string>{"No More than 65535 records supported in a single PDB!!"});
    EXPECT_EQ(source.fetches, 65536u);  // the 65536th row was fetched to see that it exists
    EXPECT_EQ(m_result.records, 65535u);
    const Database pdb = ReadDatabase(m_folder.Directory(), "Customers");
    ASSERT_EQ(pdb.records.size(), 65535u);
    EXPECT_EQ(ToHex(pdb.records[65534]), "00 00 FF FE");  // the first 65535 rows
  }
}

TEST_F(GenerationJobTest, ProgressIsReportedEveryThousandRows) {
  auto& source = Source({{"N", 5}}, 2500, [](std::size_t, std::size_t) {
    return FakeValue(std::int16_t{1});
  });
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(m_progress.counts, (std::vector<std::uint32_t>{1000, 2000}));
}

TEST_F(GenerationJobTest, FailedExecutionIsLoggedAndGivesNoRecords) {
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  source.executeFails = true;
  source.diagnostic = "near \"SELEC\": syntax error  HY000";
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(m_result.records, 0u);
  const std::string log = ProcessLog();
  EXPECT_NE(log.find("\nGetting Data from database...\n"
                     "\nCould Execute statement..\n"
                     "\n\t\tnear \"SELEC\": syntax error  HY000 \n\n"
                     "Error while reading record no. 0 from MDB\n"
                     "\n\t\tnear \"SELEC\": syntax error  HY000 \n\n" +
                     ExpectedProcessWritten(0)),
            std::string::npos)
      << log;
}

TEST_F(GenerationJobTest, FetchErrorKeepsTheRowsReadBefore) {
  auto& source = Source({{"N", 4}}, 10, [](std::size_t row, std::size_t) {
    return FakeValue(static_cast<std::int32_t>(row + 1));
  });
  source.fetchFailsAt = 5;
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(m_result.records, 4u);
  EXPECT_EQ(ReadDatabase(m_folder.Directory(), "Customers").records.size(), 4u);
  EXPECT_NE(ProcessLog().find("\nGetting Data from database...\n"
                              "Error while reading record no. 4 from MDB\n"
                              "\n\t\t[fake] out of luck  HY000 \n\n" +
                              ExpectedProcessWritten(4)),
            std::string::npos);
}

TEST_F(GenerationJobTest, FailedBindingIsLoggedAndItsFieldStoredAsNull) {
  auto& source = Source({{"A", 5}, {"B", 4}, {"Blob", -2}, {"C", 12}},
                        {{std::int16_t{1}, std::int32_t{2}, {}, std::string("x")},
                         {std::int16_t{3}, std::int32_t{4}, {}, std::string("y")}});
  source.bindFailsAt = 2;
  ASSERT_EQ(Generate(source), 1);
  const Database pdb = ReadDatabase(m_folder.Directory(), "Customers");
  ASSERT_EQ(pdb.records.size(), 2u);
  EXPECT_EQ(ToHex(pdb.records[0]), "00 01 00 00 00 00 78 00");
  EXPECT_EQ(ToHex(pdb.records[1]), "00 03 00 00 00 00 79 00");
  // Only the real failure is logged; the unbound blob column is not.
  EXPECT_NE(ProcessLog().find("\nGetting Data from database...\n"
                              "\nCould not Bind Column..\n"
                              "\n\t\t[fake] out of luck  HY000 \n\n"
                              "Finished Reading Records"),
            std::string::npos)
      << ProcessLog();
}

TEST_F(GenerationJobTest, DescriptionEndsAtTheFirstColumnThatFails) {
  auto& source = Source({{"A", 4}, {"B", 4}, {"C", 4}},
                        {{std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}});
  source.describeFailsAt = 2;
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(source.boundColumns, std::vector<std::uint16_t>{1});
  EXPECT_EQ(ReadHelperFile(m_folder / "CustomersHelper.mhl")->fields.size(), 1u);
  EXPECT_EQ(ToHex(ReadDatabase(m_folder.Directory(), "Customers").records.at(0)), "00 00 00 01");
  const std::string log = ProcessLog();
  EXPECT_NE(log.find("Found column no. 1"), std::string::npos);
  EXPECT_EQ(log.find("Found column no. 2"), std::string::npos);
}

TEST_F(GenerationJobTest, ColumnsWithoutKindAreSkippedButCounted) {
  auto& source = Source({{"A", 4}, {"T", 92}, {"C", 5}},
                        {{std::int32_t{7}, {}, std::int16_t{8}}});
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(ToHex(ReadDatabase(m_folder.Directory(), "Customers").records.at(0)),
            "00 00 00 07 00 08");
  EXPECT_EQ(ReadHelperFile(m_folder / "CustomersHelper.mhl")->fields.size(), 2u);
  EXPECT_NE(ProcessLog().find("Found column no. 2 having name \"T\" of \"unknown type\", It will "
                              "not be included in PDB.\n"
                              "Found column no. 3 having name \"C\" of \"short integer\" type\n"),
            std::string::npos);
}

TEST_F(GenerationJobTest, NoColumnWithAKindStopsAtTheFirstRow) {
  auto& source = Source({{"Blob", -4}, {"Big", -5}}, 5, [](std::size_t, std::size_t) {
    return FakeValue{};
  });
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(source.fetches, 1u);
  EXPECT_EQ(m_result.records, 0u);
  EXPECT_EQ(ReadFileBytes(m_folder / "Customers.pdb").size(), 81u);
  const auto helper = ReadHelperFile(m_folder / "CustomersHelper.mhl");
  ASSERT_TRUE(helper.has_value());
  EXPECT_TRUE(helper->fields.empty());
}

TEST_F(GenerationJobTest, LongNamesGiveAShortHelperNameAndCutColumnNames) {
  const std::string longColumn(100, 'c');
  auto& source = Source({{longColumn, 4}}, {{std::int32_t{1}}});
  ASSERT_EQ(Generate(source, "abcdefghijklmnopqrstuvwxy"), 1);
  const auto helper = ReadHelperFile(m_folder / "abcdefghijklmnopqrstuvwHelper.mhl");
  ASSERT_TRUE(helper.has_value());
  EXPECT_EQ(helper->pdbName, "abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(helper->fields.at(0).name, std::string(64, 'c'));
  // The logs keep the whole column name.
  EXPECT_NE(Log().find("\t long " + longColumn + ";"), std::string::npos);
}

TEST_F(GenerationJobTest, UnwritableFolderFailsWithoutCreatingAnything) {
  WriteFileBytes(m_folder / "plain", Hex("00"));
  m_outputFolder = m_folder / "plain/";  // a file, not a folder: fails for root too
  auto& source = Source(kCustomers, {{std::int32_t{1}, std::string("a"), {}, {}}});
  EXPECT_EQ(Generate(source), 0);
  EXPECT_FALSE(m_result.ok);
  EXPECT_EQ(m_result.failedFile, m_folder / "plain/CustomersHelper.mhl");
  EXPECT_EQ(m_result.records, 0u);
  EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"plain"});
}

TEST_F(GenerationJobTest, UnwritablePdbFailsAndSaysSo) {
  std::filesystem::create_directory(m_folder / "Customers.pdb");
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  EXPECT_EQ(Generate(source), 0);
  EXPECT_EQ(m_result.failedFile, m_folder / "Customers.pdb");
  EXPECT_TRUE(ReadHelperFile(m_folder / "CustomersHelper.mhl").has_value());
  EXPECT_NE(ProcessLog().find("Writing Records into to PDB...\n"
                              "\nCould not write \"" + m_folder / "Customers.pdb" + "\"\n\n"
                              "\nTotal Records written: 0\n\n\""),
            std::string::npos)
      << ProcessLog();
  EXPECT_NE(Log().find("\nTotal Records written: 0"), std::string::npos);
}

TEST_F(GenerationJobTest, UnwritableHelperFailsTheRunButNotThePdb) {
  std::filesystem::create_directory(m_folder / "CustomersHelper.mhl");
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  EXPECT_EQ(Generate(source), 0);
  EXPECT_EQ(m_result.failedFile, m_folder / "CustomersHelper.mhl");
  EXPECT_EQ(ReadDatabase(m_folder.Directory(), "Customers").records.size(), 1u);
  EXPECT_NE(ProcessLog().find("Found column no. 1 having name \"N\" of \"long integer\" type\n"
                              "\nCould not write \"" + m_folder / "CustomersHelper.mhl" + "\"\n\n"
                              "Finished Retriving database Column information.\n"),
            std::string::npos)
      << ProcessLog();
}

TEST_F(GenerationJobTest, LogThatCannotBeOpenedLeavesTheRunAlone) {
  std::filesystem::create_directory(m_folder / "TallowickLog.txt");
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(ReadDatabase(m_folder.Directory(), "Customers").records.size(), 1u);
  EXPECT_NE(ProcessLog().find(ExpectedProcessWritten(1)), std::string::npos);
}

TEST_F(GenerationJobTest, SecondRunReplacesFilesAndLogs) {
  auto& first = Source({{"First", 4}}, {{std::int32_t{1}}, {std::int32_t{2}}});
  ASSERT_EQ(Generate(first), 1);
  auto& second = Source({{"Second", 5}}, {{std::int16_t{3}}});
  ASSERT_EQ(Generate(second), 1);
  EXPECT_EQ(Log().find("First"), std::string::npos);
  EXPECT_EQ(ProcessLog().find("First"), std::string::npos);
  EXPECT_EQ(Log().find(ExpectedLogHead("Customers", "CUST", "DATA")), 0u);
  EXPECT_EQ(ProcessLog().find(ExpectedProcessHead("Customers")), 0u);
  const Database pdb = ReadDatabase(m_folder.Directory(), "Customers");
  ASSERT_EQ(pdb.records.size(), 1u);
  EXPECT_EQ(ToHex(pdb.records[0]), "00 03");
  EXPECT_EQ(ReadHelperFile(m_folder / "CustomersHelper.mhl")->fields.at(0).name, "Second");
}

}  // namespace
}  // namespace tallowick
