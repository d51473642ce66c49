#include "source/source_kind.h"

#include <algorithm>
#include <cctype>

namespace tallowick {

const char* const kSourceFileFilter =
    "Microsoft Access Database(*.mdb)|*.mdb;*.accdb|Excel File(*.xls)|*.xls|"
    "FoxPro/dbase Database(*.dbf)|*.dbf|SQLite Database(*.db)|*.db;*.sqlite;*.sqlite3||";

DriverEntry DriverOfKind(int kind) {
  switch (kind) {
    case kAccessFile:
      return {"MDBTools", "Database", "DBQ", false};
    case kExcelFile:
    case kDbaseFile:
    case kSqliteFile:
      return {"SQLite3", "Database", "Database", true};
    default:
      return {};
  }
}

bool IsFileKind(int kind) {
  return kind == kAccessFile || kind == kExcelFile || kind == kDbaseFile || kind == kSqliteFile;
}

bool IsConvertedKind(int kind) { return kind == kExcelFile || kind == kDbaseFile; }

std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

int KindOfFile(const std::string& path) {
  std::string extension = ExtensionOf(path);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "mdb" || extension == "accdb") return kAccessFile;
  if (extension == "xls") return kExcelFile;
  if (extension == "dbf") return kDbaseFile;
  if (extension == "db" || extension == "sqlite" || extension == "sqlite3") return kSqliteFile;
  return kNoSource;
}

std::string FolderOf(const std::string& path) {
  for (std::size_t i = path.size(); i-- > 1;) {
    if (path[i] == '/') return path.substr(0, i);
  }
  // The root folder itself is the folder of a file directly in it.
  if (path.size() > 1 && path[0] == '/') return "/";
  return {};
}

}  // namespace tallowick
