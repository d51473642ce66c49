#include "source/driver_choice.h"

#include <span>
#include <string_view>

#include "odbc/installed_drivers.h"
#include "odbc/sqlite_driver.h"
#include "platform/text_compare.h"

namespace tallowick {

namespace {

// The Jet drivers every 32-bit Windows has come first; the Access Database
// Engine's follow (the 64-bit ones).
constexpr const char* kMdbTools = "MDBTools";
constexpr const char* kWindowsAccessDrivers[] = {
    "Microsoft Access Driver (*.mdb)", "Microsoft Access Driver (*.mdb, *.accdb)", kMdbTools};
constexpr const char* kWindowsExcelDrivers[] = {
    "Microsoft Excel Driver (*.xls)", "Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)"};
// The Jet driver knows only the binary workbooks.
constexpr std::span<const char* const> kWindowsWorkbookXmlDrivers(kWindowsExcelDrivers + 1, 1);
constexpr const char* kWindowsDbaseDrivers[] = {
    "Microsoft dBase Driver (*.dbf)", "Microsoft Access dBASE Driver (*.dbf, *.ndx, *.mdx)"};
// The text drivers read the comma-separated files of a folder; a tab's or
// a semicolon's would need a schema.ini beside them, so those are converted.
constexpr const char* kWindowsTextDrivers[] = {"Microsoft Text Driver (*.txt; *.csv)",
                                               "Microsoft Access Text Driver (*.txt, *.csv)"};
constexpr const char* kLinuxAccessDrivers[] = {kMdbTools};

constexpr const char* kMicrosoftEngine = "the Microsoft Access Database Engine";
constexpr const char* kMdbToolsPackage = "the Debian package odbc-mdbtools";

// The drivers that read the file itself; none for Excel and dBase on
// Linux, none for CSV.
std::span<const char* const> OwnDrivers(SourceKind kind, const std::string& path,
                                        DriverSystem system) {
  const bool windows = system == DriverSystem::Windows;
  switch (kind) {
    case SourceKind::AccessFile:
      if (windows) return kWindowsAccessDrivers;
      return kLinuxAccessDrivers;
    case SourceKind::ExcelFile:
      if (!windows) return {};
      if (EqualsIgnoringCase(ExtensionOf(path), "xls")) return kWindowsExcelDrivers;
      return kWindowsWorkbookXmlDrivers;
    case SourceKind::DbaseFile:
      if (windows) return kWindowsDbaseDrivers;
      return {};
    case SourceKind::SqliteFile:
      return kSqliteDriverNames;
    case SourceKind::CsvFile:
      if (windows && EqualsIgnoringCase(ExtensionOf(path), "csv")) return kWindowsTextDrivers;
      return {};
    default:
      return {};
  }
}

bool IsConvertible(SourceKind kind) {
  return kind == SourceKind::ExcelFile || kind == SourceKind::DbaseFile ||
         kind == SourceKind::CsvFile;
}

const char* KindName(SourceKind kind) {
  switch (kind) {
    case SourceKind::AccessFile:
      return "Access";
    case SourceKind::ExcelFile:
      return "Excel";
    case SourceKind::DbaseFile:
      return "dBase";
    case SourceKind::CsvFile:
      return "CSV";
    default:
      return "SQLite";
  }
}

}  // namespace

DriverEntry ChooseDriver(SourceKind kind, const std::string& path,
                         const std::vector<std::string>& installed, DriverSystem system) {
  if (const char* own = FirstInstalled(OwnDrivers(kind, path, system), installed)) {
    if (kind == SourceKind::SqliteFile) return {own, "Database", "Database", true, true, false};
    // MDB Tools reads its entry's database from "Database"; the Microsoft
    // drivers take DBQ in both places.
    if (std::string_view(own) == kMdbTools) return {own, "Database", "DBQ", false, false, false};
    return {own, "DBQ", "DBQ", false, false, false, kind == SourceKind::CsvFile};
  }
  if (IsConvertible(kind)) {
    if (const char* sqlite = FirstInstalled(kSqliteDriverNames, installed)) {
      return {sqlite, "Database", "Database", true, true, true};
    }
  }
  return {};
}

DriverEntry DriverOfKind(SourceKind kind, const std::string& path) {
  if (!IsFileKind(kind)) return {};
  return ChooseDriver(kind, path, InstalledDriverNames());
}

std::string MissingDriverMessage(SourceKind kind, const std::string& path, DriverSystem system) {
  const bool windows = system == DriverSystem::Windows;
  const char* sqlite = windows ? kSqliteDriverForWindows : kSqliteDriverForLinux;
  std::string remedy;
  if (kind == SourceKind::AccessFile) {
    remedy = windows ? kMicrosoftEngine : kMdbToolsPackage;
  } else if (windows && kind == SourceKind::CsvFile) {
    remedy = kMicrosoftEngine;  // its text driver; the Windows build has no CSV reader of its own
  } else if (windows && (kind == SourceKind::ExcelFile || kind == SourceKind::DbaseFile)) {
    remedy = std::string(kMicrosoftEngine) + " or " + sqlite;
  } else {
    remedy = sqlite;
  }
  return std::string("No ODBC driver for ") + KindName(kind) + " files is installed to open \"" +
         path + "\": install " + remedy;
}

}  // namespace tallowick
