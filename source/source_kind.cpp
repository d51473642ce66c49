#include "source/source_kind.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/path_text.h"

namespace tallowick {

const char* const kSourceFileFilter =
    "Microsoft Access Database(*.mdb)|*.mdb;*.accdb|Excel File(*.xls)|*.xls|"
    "FoxPro/dbase Database(*.dbf)|*.dbf|SQLite Database(*.db)|*.db;*.sqlite;*.sqlite3|"
    "CSV File(*.csv)|*.csv;*.tsv;*.txt|Excel Workbook(*.xlsx)|*.xlsx;*.xlsm||";

namespace {

// The first bytes of every SQLite 3 database.
constexpr char kSqliteHeader[] = "SQLite format 3";  // with its terminating 0: 16 bytes
// At offset 4 of a Jet (Access 97 to 2003) or ACE (Access 2007 on) file.
constexpr std::size_t kAccessSignatureOffset = 4;
constexpr const char* kAccessSignatures[] = {"Standard Jet DB", "Standard ACE DB"};

std::string FirstBytes(const std::string& path, std::size_t count) {
  std::string bytes(count, '\0');
  std::FILE* file = platform::OpenStream(path, "rb");
  const std::size_t read = file != nullptr ? std::fread(bytes.data(), 1, count, file) : 0;
  if (file != nullptr) std::fclose(file);
  bytes.resize(read);
  return bytes;
}

}  // namespace

std::string RefusalOfFile(const std::string& path, SourceKind kind) {
  switch (platform::KindOf(path)) {
    case platform::PathKind::Missing:
    case platform::PathKind::Unknown:
      return "The file \"" + path + "\" does not exist";
    case platform::PathKind::Folder:
      return "\"" + path + "\" is a folder, not a file";
    case platform::PathKind::Other:
      return "\"" + path + "\" is not a plain file";
    case platform::PathKind::File:
      break;
  }
  if (platform::FileSizeOf(path) == 0) return "The file \"" + path + "\" is empty";
  if (kind == SourceKind::SqliteFile) {
    const std::string header(kSqliteHeader, sizeof kSqliteHeader);
    if (FirstBytes(path, header.size()) != header) {
      return "The file \"" + path + "\" is not a SQLite database";
    }
  }
  if (kind == SourceKind::AccessFile) {
    const std::string bytes = FirstBytes(path, kAccessSignatureOffset + 15);
    const std::string signature =
        bytes.size() > kAccessSignatureOffset ? bytes.substr(kAccessSignatureOffset) : "";
    if (std::none_of(std::begin(kAccessSignatures), std::end(kAccessSignatures),
                     [&](const char* known) { return signature == known; })) {
      return "The file \"" + path + "\" is not an Access database";
    }
  }
  return {};
}

bool IsFileKind(SourceKind kind) {
  return kind == SourceKind::AccessFile || kind == SourceKind::ExcelFile ||
         kind == SourceKind::DbaseFile || kind == SourceKind::SqliteFile ||
         kind == SourceKind::CsvFile;
}

std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = platform::LastPathSeparator(path);
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

SourceKind KindOfFile(const std::string& path) {
  std::string extension = ExtensionOf(path);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "mdb" || extension == "accdb") return SourceKind::AccessFile;
  if (extension == "xls" || extension == "xlsx" || extension == "xlsm") {
    return SourceKind::ExcelFile;
  }
  if (extension == "csv" || extension == "tsv" || extension == "txt") return SourceKind::CsvFile;
  if (extension == "dbf") return SourceKind::DbaseFile;
  if (extension == "db" || extension == "sqlite" || extension == "sqlite3") {
    return SourceKind::SqliteFile;
  }
  return SourceKind::NoSource;
}

std::string FolderOf(const std::string& path) { return platform::FolderOf(path); }

}  // namespace tallowick
