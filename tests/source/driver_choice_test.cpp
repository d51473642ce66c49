// Which driver serves each kind of file, from the names a machine has
// installed, for both systems' lists; and what a missing driver's message
// tells the user to install.
#include "source/driver_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallowick {
namespace {

const std::vector<std::string> kJet = {
    "SQL Server", "Microsoft Access Driver (*.mdb)", "Microsoft Excel Driver (*.xls)",
    "Microsoft dBase Driver (*.dbf)", "Microsoft Text Driver (*.txt; *.csv)"};
const std::vector<std::string> kAce = {"Microsoft Access dBASE Driver (*.dbf, *.ndx, *.mdx)",
                                       "Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)",
                                       "Microsoft Access Driver (*.mdb, *.accdb)",
                                       "SQLite3 ODBC Driver"};
// What Wine's ODBC lists here: this machine's Linux drivers.
const std::vector<std::string> kDebian = {"PostgreSQL Unicode", "SQLite", "SQLite3", "MDBTools"};
const std::vector<std::string> kNone = {};

TEST(DriverChoice, IsTheFirstInstalledOfTheKindsListElseTheConvertedRoute) {
  struct Case {
    DriverSystem system;
    SourceKind kind;
    const std::vector<std::string>* installed;
    const char* driver;  // null: none
    const char* databaseKeyword;
    const char* connectKeyword;
    bool converted;
    const char* path = "C:\\d\\book.xls";  // counts for workbooks and CSV files only
    bool folderDatabase = false;
  };
  const auto W = DriverSystem::Windows;
  const auto L = DriverSystem::Linux;
  const Case cases[] = {
      {W, SourceKind::AccessFile, &kJet, "Microsoft Access Driver (*.mdb)", "DBQ", "DBQ", false},
      {W, SourceKind::AccessFile, &kAce, "Microsoft Access Driver (*.mdb, *.accdb)", "DBQ", "DBQ",
       false},
      {W, SourceKind::AccessFile, &kDebian, "MDBTools", "Database", "DBQ", false},
      {W, SourceKind::ExcelFile, &kJet, "Microsoft Excel Driver (*.xls)", "DBQ", "DBQ", false},
      {W, SourceKind::ExcelFile, &kAce, "Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)",
       "DBQ", "DBQ", false},
      {W, SourceKind::ExcelFile, &kDebian, "SQLite3", "Database", "Database", true},
      // Jet reads no .xlsx or .xlsm workbook.
      {W, SourceKind::ExcelFile, &kJet, nullptr, nullptr, nullptr, false, "C:\\d\\book.xlsx"},
      {W, SourceKind::ExcelFile, &kAce, "Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)",
       "DBQ", "DBQ", false, "C:\\d\\book.XLSM"},
      {W, SourceKind::CsvFile, &kAce, "SQLite3 ODBC Driver", "Database", "Database", true},
      // The text driver's database is the folder; it takes comma-separated files only.
      {W, SourceKind::CsvFile, &kJet, "Microsoft Text Driver (*.txt; *.csv)", "DBQ", "DBQ", false,
       "C:\\d\\orders.CSV", true},
      {W, SourceKind::CsvFile, &kJet, nullptr, nullptr, nullptr, false, "C:\\d\\orders.tsv"},
      {W, SourceKind::DbaseFile, &kJet, "Microsoft dBase Driver (*.dbf)", "DBQ", "DBQ", false},
      {W, SourceKind::DbaseFile, &kAce, "Microsoft Access dBASE Driver (*.dbf, *.ndx, *.mdx)",
       "DBQ", "DBQ", false},
      {W, SourceKind::DbaseFile, &kDebian, "SQLite3", "Database", "Database", true},
      {W, SourceKind::SqliteFile, &kAce, "SQLite3 ODBC Driver", "Database", "Database", false},
      {W, SourceKind::SqliteFile, &kDebian, "SQLite3", "Database", "Database", false},
      {W, SourceKind::SqliteFile, &kJet, nullptr, nullptr, nullptr, false},
      {W, SourceKind::AccessFile, &kNone, nullptr, nullptr, nullptr, false},
      {W, SourceKind::ExcelFile, &kNone, nullptr, nullptr, nullptr, false},
      // Linux has no Microsoft drivers: the names are not even looked for.
      {L, SourceKind::AccessFile, &kDebian, "MDBTools", "Database", "DBQ", false},
      {L, SourceKind::AccessFile, &kJet, nullptr, nullptr, nullptr, false},
      {L, SourceKind::ExcelFile, &kJet, nullptr, nullptr, nullptr, false},
      {L, SourceKind::ExcelFile, &kDebian, "SQLite3", "Database", "Database", true},
      {L, SourceKind::DbaseFile, &kAce, "SQLite3 ODBC Driver", "Database", "Database", true},
      {L, SourceKind::SqliteFile, &kDebian, "SQLite3", "Database", "Database", false},
      {L, SourceKind::ConfiguredSource, &kDebian, nullptr, nullptr, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << (c.system == W ? "Windows" : "Linux") << " kind " << static_cast<int>(c.kind)
                 << " among " << c.installed->size() << " drivers");
    const DriverEntry entry = ChooseDriver(c.kind, c.path, *c.installed, c.system);
    ASSERT_EQ(entry.driver == nullptr, c.driver == nullptr);
    if (c.driver == nullptr) continue;
    EXPECT_STREQ(entry.driver, c.driver);
    EXPECT_STREQ(entry.databaseKeyword, c.databaseKeyword);
    EXPECT_STREQ(entry.connectKeyword, c.connectKeyword);
    EXPECT_EQ(entry.converted, c.converted);
    EXPECT_EQ(entry.folderDatabase, c.folderDatabase);
    // The SQLite driver, and only it, must not make a missing file anew.
    const bool sqlite = std::string(c.driver).rfind("SQLite", 0) == 0;
    EXPECT_EQ(entry.sqlite, sqlite);
    EXPECT_EQ(entry.noCreate, sqlite);
  }

  // Windows keeps driver names without regard to letter case.
  EXPECT_STREQ(ChooseDriver(SourceKind::AccessFile, "C:\\d\\x.mdb",
                            {"microsoft access driver (*.MDB)"}, DriverSystem::Windows)
                   .driver,
               "Microsoft Access Driver (*.mdb)");

  const struct {
    DriverSystem system;
    SourceKind kind;
    const char* message;
  } messages[] = {
      {W, SourceKind::AccessFile,
       "No ODBC driver for Access files is installed to open \"C:\\d\\x\": install the Microsoft "
       "Access Database Engine"},
      {W, SourceKind::DbaseFile,
       "No ODBC driver for dBase files is installed to open \"C:\\d\\x\": install the Microsoft "
       "Access Database Engine or the SQLite ODBC driver"},
      {W, SourceKind::SqliteFile,
       "No ODBC driver for SQLite files is installed to open \"C:\\d\\x\": install the SQLite "
       "ODBC driver"},
      {W, SourceKind::CsvFile,
       "No ODBC driver for CSV files is installed to open \"C:\\d\\x\": install the Microsoft "
       "Access Database Engine"},
      {L, SourceKind::CsvFile,
       "No ODBC driver for CSV files is installed to open \"C:\\d\\x\": install the Debian "
       "package libsqliteodbc"},
      {L, SourceKind::AccessFile,
       "No ODBC driver for Access files is installed to open \"C:\\d\\x\": install the Debian "
       "package odbc-mdbtools"},
      {L, SourceKind::ExcelFile,
       "No ODBC driver for Excel files is installed to open \"C:\\d\\x\": install the Debian "
       "package libsqliteodbc"},
  };
  for (const auto& m : messages) {
    EXPECT_EQ(MissingDriverMessage(m.kind, "C:\\d\\x", m.system), m.message);
  }
}

}  // namespace
}  // namespace tallowick
