#pragma once
// The SQLite ODBC driver, which serves SQLite files and the databases that
// Excel and dBase files are converted into.
namespace tallowick {

// The names it goes by, tried in this order: its Windows installer's name,
// then Debian's (the entry Debian names "SQLite" is broken).
inline constexpr const char* kSqliteDriverNames[] = {"SQLite3 ODBC Driver", "SQLite3"};

// What to install when none of them is.
inline constexpr const char* kSqliteDriverForWindows = "the SQLite ODBC driver";
inline constexpr const char* kSqliteDriverForLinux = "the Debian package libsqliteodbc";

// The connection attribute that makes the driver's text the drivers' code
// page (platform/driver_text.h) on Windows, where it would otherwise give
// values in UTF-8 while the driver manager converts names and messages.
// The Linux driver has no such option and is given none.
inline constexpr const char* kSqliteCodePageKeyword = "OEMCP";

}  // namespace tallowick
