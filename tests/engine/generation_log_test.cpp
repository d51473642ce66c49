#include "engine/generation_log.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <functional>

#include "tests/engine/expected_log_texts.h"

namespace tallowick {
namespace {

using namespace testing;

// What `write` puts into a stream.
std::string Captured(const std::function<void(std::FILE*)>& write) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&buffer, &size);
  write(stream);
  std::fclose(stream);
  std::string text(buffer, size);
  free(buffer);
  return text;
}

TEST(GenerationLog, HeadAndOneMemberLinePerGroup) {
  const std::string text = Captured([](std::FILE* log) {
    WriteLogHead(log, "Customers", "CUST", "DATA");
    WriteLogMember(log, RowGroup::Character, "Name");
    WriteLogMember(log, RowGroup::LongInteger, "ID");
    WriteLogMember(log, RowGroup::ShortInteger, "Qty");
    WriteLogMember(log, RowGroup::Byte, "Age");
    WriteLogMember(log, RowGroup::Bit, "Flag");
    WriteLogMember(log, RowGroup::Double, "Price");
    WriteLogMember(log, RowGroup::Float, "Weight");
    WriteLogMember(log, RowGroup::None, "Photo");
    WriteLogMember(log, RowGroup::Date, "Born");
    WriteLogMember(log, RowGroup::Time, "At");
    WriteLogMember(log, RowGroup::Timestamp, "Stamp");
    WriteLogRecordEnd(log);
  });
  EXPECT_EQ(
      text,
      ExpectedLogHead("Customers", "CUST", "DATA") +
          "\t char Name[];\t\t//Sequence of characters terminated by '\\0'(String)\n"
          "\t long ID;\t\t//A variable of standard type \"long\" of size 4 bytes\n"
          "\t short int Qty;\t\t//A variable of standard type \"short int\" of size 2 bytes \n"
          "\t short int Age;\t\t//A variable of standard type \"short int\" of size 2 bytes \n"
          "\t short int Flag;\t\t//A variable of standard type \"short int\" of size 2 bytes \n"
          "\t double Price;\t\t//A variable of standard type \"double\" of size 8 bytes\n"
          "\t float Weight;\t\t//A variable of standard type \"float\" of size 4 bytes\n"
          "\t DateType Born;\t\t//A variable of palm type \"DateType\"\n"
          "\t TimeType At;\t\t//A variable of palm type \"TimeType\"\n"
          "\t DateTimeType Stamp;\t\t//A variable of palm type \"DateTimeType\"\n"
          "}\n");
}

std::string Closing() { return ExpectedLogClosing("CustomersHelper", "Customers", "/data/out/"); }

std::string Tail(unsigned long total, DateTimeUse use) {
  return Captured([&](std::FILE* log) {
    WriteLogTail(log, total, use, "CustomersHelper", "Customers", "/data/out/");
  });
}

TEST(GenerationLog, TailCarriesOnlyTheTypedefsThatWereUsed) {
  EXPECT_EQ(Tail(0, {}), "\nTotal Records written: 0" + Closing());
  EXPECT_EQ(Tail(65535, {true, true, true}), std::string("\nTotal Records written: 65535") +
                                                 kTypedefHeading + kDateTimeTypedef + kTimeTypedef +
                                                 kDateTypedef + Closing());
  EXPECT_EQ(Tail(2, {true, false, false}), std::string("\nTotal Records written: 2") +
                                               kTypedefHeading + kDateTimeTypedef + Closing());
  EXPECT_EQ(Tail(1, {false, true, true}), std::string("\nTotal Records written: 1") +
                                              kTypedefHeading + kTimeTypedef + kDateTypedef +
                                              Closing());
}

TEST(GenerationLog, ProcessLogColumnLines) {
  const std::string text = Captured([](std::FILE* log) {
    WriteProcessHead(log, "Customers");
    int number = 0;
    for (RowGroup group : {RowGroup::Character, RowGroup::LongInteger, RowGroup::ShortInteger,
                           RowGroup::Byte, RowGroup::Bit, RowGroup::Double, RowGroup::Float,
                           RowGroup::Date, RowGroup::Time, RowGroup::Timestamp, RowGroup::None}) {
      ++number;
      WriteProcessColumn(log, number, std::string("C").append(std::to_string(number)), group);
    }
    WriteProcessDescribeEnd(log);
  });
  EXPECT_EQ(text,
            ExpectedProcessHead("Customers") +
                "Found column no. 1 having name \"C1\" of \"character\" type\n"
                "Found column no. 2 having name \"C2\" of \"long integer\" type\n"
                "Found column no. 3 having name \"C3\" of \"short integer\" type\n"
                "Found column no. 4 having name \"C4\" of \"Byte\" type\n"
                "Found column no. 5 having name \"C5\" of \"Bit\" type\n"
                "Found column no. 6 having name \"C6\" of \"double\" type\n"
                "Found column no. 7 having name \"C7\" of \"float\" type\n"
                "Found column no. 8 having name \"C8\" of \"Date\" type\n"
                "Found column no. 9 having name \"C9\" of \"Time\" type\n"
                "Found column no. 10 having name \"C10\" of \"TimeStamp\" type (Includes date and "
                "time, both value may not be correct at a time)\n"
                "Found column no. 11 having name \"C11\" of \"unknown type\", It will not be "
                "included in PDB.\n"
                "Finished Retriving database Column information.\n");
}

TEST(GenerationLog, ProcessLogConversionWithEveryFailure) {
  const std::string text = Captured([](std::FILE* log) {
    WriteProcessConvertStart(log);
    WriteProcessExecuteError(log, "Syntax error  42000");
    WriteProcessBindError(log, "Invalid string or buffer length  HY090");
    WriteProcessFetchError(log, 4, "Disk I/O error  HY000");
    WriteProcessReadEnd(log);
    WriteProcessWriteEnd(log, 4);
    WriteProcessTail(log, "CustomersHelper", "Customers");
  });
  EXPECT_EQ(text, std::string("\nGetting Data from database...\n"
                              "\nCould Execute statement..\n"
                              "\n\t\tSyntax error  42000 \n\n"
                              "\nCould not Bind Column..\n"
                              "\n\t\tInvalid string or buffer length  HY090 \n\n"
                              "Error while reading record no. 4 from MDB\n"
                              "\n\t\tDisk I/O error  HY000 \n\n") +
                      ExpectedProcessWritten(4) +
                      ExpectedProcessTail("CustomersHelper", "Customers"));
}

TEST(GenerationLog, FailedWriteIsNamedInsteadOfReportedDone) {
  const std::string text = Captured([](std::FILE* log) {
    WriteProcessFileError(log, "/data/out/Customers.pdb");
    WriteProcessRunFailed(log);
  });
  EXPECT_EQ(text,
            std::string("\nCould not write \"/data/out/Customers.pdb\"\n\n") + kProcessRunFailed);
}

TEST(GenerationLog, NamesWithPercentSignsAreTextNotFormats) {
  const std::string text = Captured([](std::FILE* log) {
    WriteLogMember(log, RowGroup::LongInteger, "%s%n%d");
    WriteProcessColumn(log, 1, "%s%n", RowGroup::None);
  });
  EXPECT_EQ(text,
            "\t long %s%n%d;\t\t//A variable of standard type \"long\" of size 4 bytes\n"
            "Found column no. 1 having name \"%s%n\" of \"unknown type\", It will not be "
            "included in PDB.\n");
}

}  // namespace
}  // namespace tallowick
