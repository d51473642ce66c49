#pragma once
// The names the SQLite ODBC driver goes by, tried in this order: its
// Windows installer's name, then Debian's (the entry Debian names "SQLite"
// is broken).
namespace tallowick {

inline constexpr const char* kSqliteDriverNames[] = {"SQLite3 ODBC Driver", "SQLite3"};

}  // namespace tallowick
