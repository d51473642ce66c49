#include "engine/generation_job.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "engine/helper_file.h"
#include "engine/temporary_output_file.h"
#include "platform/exit_cleanup.h"
#include "platform/file_lock.h"
#include "tests/engine/expected_log_texts.h"
#include "tests/engine/fake_result_source.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using namespace testing;

class RecordingNotices : public NoticeSink {
 public:
  void Notice(const std::string& text) override { texts.push_back(text); }
  void Waiting(const std::string& text) override {
    waiting.push_back(text);
    if (onWaiting) onWaiting();
  }
  std::vector<std::string> texts;
  std::vector<std::string> waiting;
  std::function<void()> onWaiting;
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

  // Runs Generate in a child process that may not write files beyond
  // `fileSizeLimit` bytes (0: no limit) and takes its result back.
  int GenerateInChild(FakeResultSource& source, rlim_t fileSizeLimit) {
    int ends[2];
    if (pipe(ends) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
      close(ends[0]);
      signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
      if (fileSizeLimit > 0) {
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
      }
      const int generated = Generate(source);
      const std::string text = std::to_string(generated) + "\n" +
                               std::to_string(static_cast<int>(m_result.failure)) + "\n" +
                               std::to_string(m_result.rowsRead) + "\n" + m_result.failed + "\n" +
                               m_result.diagnostic;
      _exit(write(ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 4);
    }
    close(ends[1]);
    std::string text;
    char buffer[512];
    for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;) text.append(buffer, got);
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    std::istringstream in(text);
    std::string generated, failure, rows;
    std::getline(in, generated);
    std::getline(in, failure);
    std::getline(in, rows);
    std::getline(in, m_result.failed);
    std::getline(in, m_result.diagnostic);
    m_result.failure = static_cast<GenerationFailure>(std::stoi(failure));
    m_result.rowsRead = static_cast<std::uint32_t>(std::stoul(rows));
    return std::stoi(generated);
  }

  TempFolder m_folder;
  std::string m_outputFolder;
  std::size_t m_columnCount = 0;
  std::unique_ptr<FakeResultSource> m_source;
  RecordingNotices m_notices;
  RecordingProgress m_progress;
  GenerationResult m_result;
};

const std::vector<FakeColumn> kCustomers = {{"ID", 4}, {"Name", 12}, {"Photo", -4}, {"Born", 93}};

TEST_F(GenerationJobTest, CustomersQueryWritesEveryFileExactly) {
  auto& source = Source(kCustomers, {{std::int32_t{1},
                                      std::string("Ann\tB\r\n"),
                                      {},
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
  EXPECT_EQ(ToHex(pdb.records[1]), "00 00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

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
  auto& source =
      Source({{"N", 5}}, 2500, [](std::size_t, std::size_t) { return FakeValue(std::int16_t{1}); });
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(m_progress.counts, (std::vector<std::uint32_t>{1000, 2000}));
}

TEST_F(GenerationJobTest, FailedExecutionIsLoggedAndFailsTheRun) {
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  source.executeFails = true;
  source.diagnostic = "near \"SELEC\": syntax error  HY000";
  ASSERT_EQ(Generate(source), 0);
  EXPECT_EQ(m_result.records, 0u);
  EXPECT_EQ(source.fetches, 0u);  // nothing is read from a statement that did not run
  EXPECT_EQ(m_folder.Entries(),
            (std::vector<std::string>{"TallowickLog.txt", "TallowickProcess.log"}));
  const std::string log = ProcessLog();
  EXPECT_NE(log.find(std::string("\nGetting Data from database...\n"
                                 "\nCould Execute statement..\n"
                                 "\n\t\tnear \"SELEC\": syntax error  HY000 \n\n") +
                     kProcessRunFailed),
            std::string::npos)
      << log;
}

TEST_F(GenerationJobTest, FetchErrorFailsTheRunAfterTheRowsReadBefore) {
  auto& source = Source({{"N", 4}}, 10, [](std::size_t row, std::size_t) {
    return FakeValue(static_cast<std::int32_t>(row + 1));
  });
  source.fetchFailsAt = 5;
  ASSERT_EQ(Generate(source), 0);
  EXPECT_EQ(m_result.records, 0u);
  EXPECT_EQ(m_result.rowsRead, 4u);
  EXPECT_FALSE(FileExists(m_folder / "Customers.pdb"));
  EXPECT_FALSE(FileExists(m_folder / "CustomersHelper.mhl"));
  EXPECT_NE(ProcessLog().find(std::string("\nGetting Data from database...\n"
                                          "Error while reading record no. 4 from MDB\n"
                                          "\n\t\t[fake] out of luck  HY000 \n\n") +
                              kProcessRunFailed),
            std::string::npos)
      << ProcessLog();
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
  auto& source =
      Source({{"A", 4}, {"B", 4}, {"C", 4}}, {{std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}});
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
  auto& source = Source({{"A", 4}, {"T", 92}, {"C", 5}}, {{std::int32_t{7}, {}, std::int16_t{8}}});
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
  auto& source =
      Source({{"Blob", -4}, {"Big", -5}}, 5, [](std::size_t, std::size_t) { return FakeValue{}; });
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
  EXPECT_EQ(source.fetches, 0u);  // found before a row was read
  // The Helper file is put in place only with its PDB.
  EXPECT_FALSE(FileExists(m_folder / "CustomersHelper.mhl"));
  EXPECT_NE(ProcessLog().find("\nGetting Data from database...\n"
                              "\nCould not write \"" +
                              m_folder / "Customers.pdb" + "\"\n\n" + kProcessRunFailed),
            std::string::npos)
      << ProcessLog();
  EXPECT_NE(Log().find("}\n\nTotal Records written: 0\n\n----"), std::string::npos) << Log();
}

TEST_F(GenerationJobTest, UnwritableHelperFailsTheRunAndWritesNoPdb) {
  std::filesystem::create_directory(m_folder / "CustomersHelper.mhl");
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  EXPECT_EQ(Generate(source), 0);
  EXPECT_EQ(m_result.failedFile, m_folder / "CustomersHelper.mhl");
  EXPECT_EQ(source.fetches, 0u);
  EXPECT_FALSE(FileExists(m_folder / "Customers.pdb"));
  EXPECT_NE(ProcessLog().find("Found column no. 1 having name \"N\" of \"long integer\" type\n"
                              "\nCould not write \"" +
                              m_folder / "CustomersHelper.mhl" +
                              "\"\n\n"
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

TEST_F(GenerationJobTest, FailedRunsKeepTheEarlierPairByteForByte) {
  struct Case {
    const char* what;
    bool executeFails;
    std::size_t fetchFailsAt;
    rlim_t fileSizeLimit;  // bytes the run may write into one file; 0: no limit
    GenerationFailure failure;
    std::string failed;
    std::uint32_t rowsRead;
    std::string diagnostic;
    std::string processLogPart;
  };
  const std::string diagnostic = "ERROR: division by zero  22012";
  const std::string pdbPath = m_folder / "Customers.pdb";
  const std::string helperPath = m_folder / "CustomersHelper.mhl";
  const std::vector<Case> cases = {
      {"execution fails", true, 0, 0, GenerationFailure::Execute, "the query could not be executed",
       0, diagnostic,
       "\nCould Execute statement..\n\n\t\t" + diagnostic + " \n\n" + kProcessRunFailed},
      {"fetch fails partway", false, 3, 0, GenerationFailure::Fetch, "reading row 3 failed", 2,
       diagnostic,
       "Error while reading record no. 2 from MDB\n\n\t\t" + diagnostic + " \n\n" +
           kProcessRunFailed},
      // The Helper file of one column is 377 bytes long; the logs are cut.
      {"Helper file unwritable", false, 0, 300, GenerationFailure::WriteFile,
       "\"" + helperPath + "\" could not be written", 0, "", ""},
      // The records wait in the PDB's file behind room for 65535 entries.
      {"PDB unwritable", false, 0, 64 * 1024, GenerationFailure::WriteFile,
       "\"" + pdbPath + "\" could not be written", 5, "",
       "Writing Records into to PDB...\n\nCould not write \"" + pdbPath + "\"\n\n" +
           kProcessRunFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto& earlier = Source({{"Old", 12}}, {{std::string("kept")}});
    ASSERT_EQ(Generate(earlier), 1);
    const Bytes pdb = ReadFileBytes(pdbPath);
    const Bytes helper = ReadFileBytes(helperPath);

    auto& source = Source({{"N", 4}}, 5, [](std::size_t row, std::size_t) {
      return FakeValue(static_cast<std::int32_t>(row));
    });
    source.executeFails = c.executeFails;
    source.fetchFailsAt = c.fetchFailsAt;
    source.diagnostic = diagnostic;
    EXPECT_EQ(GenerateInChild(source, c.fileSizeLimit), 0);
    EXPECT_EQ(m_result.failure, c.failure);
    EXPECT_EQ(m_result.failed, c.failed);
    EXPECT_EQ(m_result.rowsRead, c.rowsRead);
    EXPECT_EQ(m_result.diagnostic, c.diagnostic);
    EXPECT_EQ(ReadFileBytes(pdbPath), pdb);
    EXPECT_EQ(ReadFileBytes(helperPath), helper);
    EXPECT_EQ(m_folder.Entries(),
              (std::vector<std::string>{"Customers.pdb", "CustomersHelper.mhl", "TallowickLog.txt",
                                        "TallowickProcess.log"}));
    if (!c.processLogPart.empty()) {
      EXPECT_NE(ProcessLog().find(c.processLogPart), std::string::npos) << ProcessLog();
    }
  }
}

TEST_F(GenerationJobTest, SizeLimitStopsReadingAtTheRowThatPassesIt) {
  auto& source = Source({{"N", 4}}, 10, [](std::size_t row, std::size_t) {
    return FakeValue(static_cast<std::int32_t>(row));
  });
  GenerationRequest request;
  request.outputFolder = m_folder.Directory();
  request.columnCount = 1;
  request.pdbName = "Customers";
  request.creator = "CUST";
  request.type = "DATA";
  request.maxPdbSize = 81 + 3 * (8 + 4);  // exactly three records of 4 bytes
  GenerationJob job(m_notices);
  EXPECT_EQ(job.Generate(source, request), 0);
  EXPECT_EQ(source.fetches, 4u);
  EXPECT_EQ(job.Result().failure, GenerationFailure::TooLarge);
  EXPECT_EQ(job.Result().rowsRead, 4u);
  EXPECT_EQ(m_folder.Entries(),
            (std::vector<std::string>{"TallowickLog.txt", "TallowickProcess.log"}));
  EXPECT_NE(ProcessLog().find(std::string("\nThe PDB would pass 4 GiB, the most its 32-bit offsets "
                                          "can address, with record no. 4; reading stopped.\n\n") +
                              kProcessRunFailed),
            std::string::npos)
      << ProcessLog();

  // Three rows fit the same limit.
  auto& three = Source({{"N", 4}}, 3, [](std::size_t row, std::size_t) {
    return FakeValue(static_cast<std::int32_t>(row));
  });
  EXPECT_EQ(job.Generate(three, request), 1);
  EXPECT_EQ(ReadFileBytes(m_folder / "Customers.pdb").size(), request.maxPdbSize);
}

TEST_F(GenerationJobTest, LogsReplaceLinksInsteadOfWritingThroughThem) {
  struct Case {
    const char* what;
    std::function<void(const std::string& name, const std::string& outside)> link;
  };
  const std::vector<Case> cases = {
      {"symbolic link",
       [](const std::string& name, const std::string& outside) {
         std::filesystem::create_symlink(outside, name);
       }},
      {"dangling symbolic link",
       [](const std::string& name, const std::string& outside) {
         std::filesystem::create_symlink(outside + ".missing", name);
       }},
      {"hard link",
       [](const std::string& name, const std::string& outside) {
         std::filesystem::create_hard_link(outside, name);
       }},
  };
  TempFolder elsewhere;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* name : {"TallowickLog.txt", "TallowickProcess.log"}) {
      const std::string outside = elsewhere / name;
      WriteFileBytes(outside, Hex("6B 65 65 70"));
      std::filesystem::remove(m_folder / name);
      c.link(m_folder / name, outside);
    }
    auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
    ASSERT_EQ(Generate(source), 1);
    for (const char* name : {"TallowickLog.txt", "TallowickProcess.log"}) {
      EXPECT_EQ(ReadFileText(elsewhere / name), "keep") << name;
      EXPECT_TRUE(
          std::filesystem::is_regular_file(std::filesystem::symlink_status(m_folder / name)))
          << name;
      EXPECT_EQ(std::filesystem::hard_link_count(m_folder / name), 1u) << name;
    }
    EXPECT_FALSE(FileExists(elsewhere / "TallowickLog.txt.missing"));
    EXPECT_EQ(Log().find(ExpectedLogHead("Customers", "CUST", "DATA")), 0u);
    EXPECT_EQ(ProcessLog().find(ExpectedProcessHead("Customers")), 0u);
  }
}

TEST_F(GenerationJobTest, ControlCharactersInColumnNamesAreEscapedInBothLogs) {
  auto& source = Source({{"a\nb\rc\td", 4}, {"x\x1b[2J\x7f", 4}, {"n\xc2\x85\xc2\xa0\xc3\xa9", 12}},
                        {{std::int32_t{1}, std::int32_t{2}, std::string("v")}});
  ASSERT_EQ(Generate(source), 1);
  const std::string log = Log();
  EXPECT_NE(log.find("{\t long a\\nb\\rc\\td;\t\t//"), std::string::npos) << log;
  EXPECT_NE(log.find("\t long x\\x1b[2J\\x7f;\t\t//"), std::string::npos) << log;
  // Only the C1 control is escaped; the no-break space and the é stay.
  EXPECT_NE(log.find("\t char n\\xc2\\x85\xc2\xa0\xc3\xa9[];"), std::string::npos) << log;
  const std::string process = ProcessLog();
  EXPECT_NE(process.find("no. 1 having name \"a\\nb\\rc\\td\" of"), std::string::npos) << process;
  EXPECT_NE(process.find("no. 2 having name \"x\\x1b[2J\\x7f\" of"), std::string::npos) << process;
  EXPECT_NE(process.find("no. 3 having name \"n\\xc2\\x85\xc2\xa0\xc3\xa9\" of"), std::string::npos)
      << process;
  for (const std::string& text : {log, process}) {
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.find('\x7f'), std::string::npos);
    EXPECT_EQ(text.find("\xc2\x85"), std::string::npos);
  }
}

TEST_F(GenerationJobTest, TemporaryFilesOfDeadRunsAreRemovedAndOfLiveOnesKept) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const std::string dead = ".tallowick-" + std::to_string(child) + "-3.tmp";
  const std::string live = ".tallowick-1-3.tmp";  // init never ends
  WriteFileBytes(m_folder / dead, Hex("00"));
  WriteFileBytes(m_folder / live, Hex("00"));
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  ASSERT_EQ(Generate(source), 1);
  EXPECT_FALSE(FileExists(m_folder / dead));
  EXPECT_TRUE(FileExists(m_folder / live));
}

TEST_F(GenerationJobTest, SecondRunIntoAFolderWaitsForTheFirst) {
  platform::FileLock first;
  ASSERT_TRUE(first.Lock(m_folder.Directory()));
  // The first run ends as soon as the second says it waits.
  m_notices.onWaiting = [&first] { first.Unlock(); };
  auto& source = Source({{"N", 4}}, {{std::int32_t{1}}});
  ASSERT_EQ(Generate(source), 1);
  EXPECT_EQ(m_notices.waiting,
            std::vector<std::string>{"Another run is writing into " + m_folder.Directory() +
                                     "; waiting for it to finish"});
  // Alone in the folder, a run does not wait.
  m_notices.waiting.clear();
  ASSERT_EQ(Generate(source), 1);
  EXPECT_TRUE(m_notices.waiting.empty());
}

TEST_F(GenerationJobTest, SignalDuringTheRunLeavesTheEarlierPairAndNoTemporaryFile) {
  auto& earlier = Source({{"Old", 12}}, {{std::string("kept")}});
  ASSERT_EQ(Generate(earlier), 1);
  const Bytes pdb = ReadFileBytes(m_folder / "Customers.pdb");
  const Bytes helper = ReadFileBytes(m_folder / "CustomersHelper.mhl");

  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    platform::InstallSignalCleanup();
    // Rows of 60,000 bytes: the records reach the temporary PDB before the
    // run stops at row 1000 to say where it is, then waits for the signal.
    auto& source = Source({{"Text", 12}}, 2000, [&ends](std::size_t row, std::size_t) {
      if (row == 1000) {
        if (write(ends[1], "r", 1) != 1) _exit(5);
        for (;;) pause();
      }
      return FakeValue(std::string(60000, 'x'));
    });
    Generate(source);
    _exit(6);
  }
  close(ends[1]);
  char ready = 0;
  ASSERT_EQ(read(ends[0], &ready, 1), 1);
  close(ends[0]);
  bool temporaryWhileRunning = false;
  for (const std::string& name : m_folder.Entries()) {
    temporaryWhileRunning |= name.rfind(".tallowick-", 0) == 0;
  }
  EXPECT_TRUE(temporaryWhileRunning);
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  EXPECT_EQ(ReadFileBytes(m_folder / "Customers.pdb"), pdb);
  EXPECT_EQ(ReadFileBytes(m_folder / "CustomersHelper.mhl"), helper);
  EXPECT_EQ(m_folder.Entries(),
            (std::vector<std::string>{"Customers.pdb", "CustomersHelper.mhl", "TallowickLog.txt",
                                      "TallowickProcess.log"}));
}

}  // namespace
}  // namespace tallowick
