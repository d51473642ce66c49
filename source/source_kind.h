#pragma once
// The kinds of source the generator reads, and which ODBC driver serves each.
#include <string>

namespace tallowick {

// The kind of the connected source (m_sourceKind).
enum class SourceKind {
  NoSource = 0,
  AccessFile = 1,        // .mdb, .accdb
  ExcelFile = 2,         // .xls, served by a converted SQLite database
  DbaseFile = 3,         // .dbf (the folder), served by a converted SQLite database
  ConfiguredSource = 4,  // a data source name already configured
  SqliteFile = 5,        // .db, .sqlite, .sqlite3
};

// The driver of a file kind as registered in odbcinst.ini, and the keywords
// that name the database in a data-source entry and in a connection string.
struct DriverEntry {
  const char* driver = nullptr;
  const char* databaseKeyword = nullptr;  // in odbc.ini
  const char* connectKeyword = nullptr;   // in a connection string
  bool noCreate = false;  // add NoCreat=1: a missing file is an error, not a new database
};

// The file kinds; an empty entry for the others.
DriverEntry DriverOfKind(SourceKind kind);

bool IsFileKind(SourceKind kind);
// True for the kinds served by a SQLite database converted from the file.
bool IsConvertedKind(SourceKind kind);

// The extension after the last '.' of the file name, without the dot.
std::string ExtensionOf(const std::string& path);
// The kind that a file's extension (any letter case) selects; NoSource
// when the extension is none of ours.
SourceKind KindOfFile(const std::string& path);

// Why the existing path cannot be a source of `kind`, or empty when it can
// be tried: a folder or anything else that is not a plain file, an empty
// file, a SQLite file without the "SQLite format 3" header, an Access file
// that is neither a Jet nor an ACE database. Excel and dBase files are
// judged by their readers.
std::string RefusalOfFile(const std::string& path, SourceKind kind);

// The folder part of a path: the text before the last '/' found searching
// from the end down to the second character. "/city.dbf" gives "/"; a path
// with no '/' after its first character gives "".
std::string FolderOf(const std::string& path);

// The file dialog's filter, in the "label|pattern|...||" form.
extern const char* const kSourceFileFilter;

}  // namespace tallowick
