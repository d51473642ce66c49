// Small texts and decisions of the connection layer that need no driver:
// diagnostics, paths and kinds, data-source values, indicator decoding.
#include <gtest/gtest.h>

#include "source/data_source_config.h"
#include "source/odbc_diagnostic.h"
#include "source/odbc_result_source.h"
#include "source/query_run.h"
#include "source/source_kind.h"

namespace tallowick {
namespace {

TEST(DiagnosticLine, IsMessageTwoBlanksAndState) {
  EXPECT_EQ(DiagnosticLine({true, "42S02", "no such table: x"}), "no such table: x  42S02");
}

TEST(DiagnosticLine, CutsTheMessageTo99BytesWithoutSplittingACharacter) {
  const std::string message = std::string(98, 'a') + "é";  // é is two bytes: 100 in all
  const std::string line = DiagnosticLine({true, "HY000", message});
  EXPECT_EQ(line, std::string(98, 'a') + "  HY000");
  EXPECT_EQ(DiagnosticLine({true, "HY000", std::string(120, 'b')}),
            std::string(99, 'b') + "  HY000");
}

TEST(DiagnosticLine, IsReadableWhenTheDriverLeftNoRecordOrAnEmptyOne) {
  EXPECT_EQ(DiagnosticLine({}), "The driver reported no diagnostic  HY000");
  EXPECT_EQ(DiagnosticLine({true, "", "Couldn't parse SQL"}), "Couldn't parse SQL  HY000");
  EXPECT_EQ(DiagnosticLine({true, "", ""}), "The driver reported no diagnostic  HY000");
}

TEST(OdbcErrorText, PutsThePrefixAndTwoBlanksAroundTheMessageOnly) {
  EXPECT_EQ(OdbcErrorText({true, "08001", "password authentication failed"}),
            "ODBC Error ::password authentication failed  ");
  EXPECT_EQ(OdbcErrorText({}), "ODBC Error ::The driver reported no diagnostic  ");
}

TEST(PasswordErrors, AreFoundInAnyLetterCase) {
  EXPECT_TRUE(MentionsPassword("FATAL:  password authentication failed for user \"x\""));
  EXPECT_TRUE(MentionsPassword("fe_sendauth: no PassWord supplied"));
  EXPECT_FALSE(MentionsPassword("Data source name not found"));
}

TEST(SourceKinds, FollowTheExtensionInAnyCase) {
  EXPECT_EQ(KindOfFile("/data/orders.MDB"), SourceKind::AccessFile);
  EXPECT_EQ(KindOfFile("/data/assets.accdb"), SourceKind::AccessFile);
  EXPECT_EQ(KindOfFile("/data/book.xls"), SourceKind::ExcelFile);
  EXPECT_EQ(KindOfFile("/data/city.DBF"), SourceKind::DbaseFile);
  EXPECT_EQ(KindOfFile("/data/orders.sqlite3"), SourceKind::SqliteFile);
  EXPECT_EQ(KindOfFile("/data/orders.db"), SourceKind::SqliteFile);
  EXPECT_EQ(KindOfFile("/data/notes.doc"), SourceKind::NoSource);
  EXPECT_EQ(KindOfFile("/data/book.XLSX"), SourceKind::ExcelFile);
  EXPECT_EQ(KindOfFile("/data/macros.xlsm"), SourceKind::ExcelFile);
  EXPECT_EQ(KindOfFile("/data/orders.csv"), SourceKind::CsvFile);
  EXPECT_EQ(KindOfFile("/data/orders.TSV"), SourceKind::CsvFile);
  EXPECT_EQ(KindOfFile("/data/notes.txt"), SourceKind::CsvFile);
  EXPECT_EQ(KindOfFile("/data.mdb/notes"), SourceKind::NoSource);
}

#ifndef _WIN32  // Windows paths: tests/platform/path_text_test.cpp
TEST(SourceKinds, FolderOfKeepsTheRootFolder) {
  EXPECT_EQ(FolderOf("/data/dbase/city.dbf"), "/data/dbase");
  EXPECT_EQ(FolderOf("/city.dbf"), "/");
  EXPECT_EQ(FolderOf("city.dbf"), "");
}
#endif

TEST(DataSourceValues, RefuseCharactersThatWouldAddAttributes) {
  EXPECT_TRUE(IsSafeIniValue("/home/me/My Data/orders.mdb"));
  for (const char* unsafe :
       {"/a;b.mdb", "/a=b.mdb", "/a[b].mdb", "/a{b}.mdb", "/a\nb.mdb", "/a\rb.mdb", ""}) {
    EXPECT_FALSE(IsSafeIniValue(unsafe)) << unsafe;
  }
  EXPECT_EQ(AttributeText("TempPTallowickDSN", {{"Database", "/x.db"}, {"NoCreat", "1"}}),
            "DSN=TempPTallowickDSN;Database=/x.db;NoCreat=1");
}

TEST(Indicators, AreReadByTheirLow32Bits) {
  EXPECT_EQ(DecodeIndicator(static_cast<SQLLEN>(0xFFFFFFFFu)), -1);  // MDB Tools' NULL
  EXPECT_EQ(DecodeIndicator(-1), -1);
  EXPECT_EQ(DecodeIndicator(7), 7);
  EXPECT_EQ(DecodeIndicator(static_cast<SQLLEN>(0xFFFFFFFCu)), SQL_NO_TOTAL);
}

TEST(Messages, GeneratedMessageHasItsBlankAndEmptyLine) {
  EXPECT_EQ(GeneratedMessage("Orders", "/out/"),
            "PDB \"Orders.pdb\" Generated At /out/ \n\nClick View Log to see PDB details");
}

}  // namespace
}  // namespace tallowick
