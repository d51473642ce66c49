#pragma once
// The kinds of source the generator reads (driver_choice.h: which ODBC
// driver serves each).
#include <string>

namespace tallowick {

// The kind of the connected source (m_sourceKind).
enum class SourceKind {
  NoSource = 0,
  AccessFile = 1,        // .mdb, .accdb
  ExcelFile = 2,         // .xls, .xlsx, .xlsm
  DbaseFile = 3,         // .dbf (the folder)
  ConfiguredSource = 4,  // a data source name already configured
  SqliteFile = 5,        // .db, .sqlite, .sqlite3
  CsvFile = 6,           // .csv, .tsv, .txt
};

bool IsFileKind(SourceKind kind);

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
