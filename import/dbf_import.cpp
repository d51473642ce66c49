// ConvertDbfFolder and friends: every .dbf table of a folder into the
// temporary database.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "import/code_page_decoder.h"
#include "import/column_names.h"
#include "import/dbf_column_typing.h"
#include "import/dbf_table_reader.h"
#include "import/source_import.h"
#include "import/sqlite_table_writer.h"
#include "platform/file_system.h"
#include "platform/path_text.h"

namespace tallowick {
namespace {

enum class TableOutcome { Written, TableFailed, DatabaseFailed };

bool HasDbfExtension(const std::string& name) {
  if (name.size() <= 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& ch : ext) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return ext == ".dbf";
}

std::string FolderOfPath(const std::string& path) {
  const std::string folder = platform::FolderOf(path);
  return folder.empty() ? "." : folder;
}

std::string Folded(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// The .dbf files of `folder`, sorted by name; false when it cannot be listed.
bool ListDbfFiles(const std::string& folder, std::vector<std::string>& names, std::string& error) {
  std::vector<std::string> entries;
  if (!platform::ListFolder(folder, entries)) {
    error = "Cannot read the folder " + folder + ": " + std::strerror(errno) + ".";
    return false;
  }
  for (const std::string& name : entries) {
    if (HasDbfExtension(name) &&
        platform::KindOf(platform::JoinPath(folder, name)) == platform::PathKind::File) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return true;
}

TableOutcome WriteTable(const std::string& path, const std::string& tableName,
                        SqliteTableWriter& writer, std::string& error) {
  DbfTableReader reader;
  if (!reader.Open(path, error)) return TableOutcome::TableFailed;
  const DbfHeader& header = reader.Header();
  CodePageDecoder decoder(CodePageOfLanguageDriver(header.languageDriver));

  std::vector<const DbfField*> fields;
  std::vector<std::string> rawNames;
  for (const DbfField& field : header.fields) {
    if (field.IsSystem()) continue;
    fields.push_back(&field);
    rawNames.push_back(decoder.Decode(field.rawName));
  }
  std::vector<std::string> names = UniqueColumnNames(rawNames);

  // First pass: the values that decide a column's type.
  std::vector<DbfFieldCensus> census(fields.size());
  bool anyCensus =
      std::any_of(fields.begin(), fields.end(), [](const DbfField* f) { return NeedsCensus(*f); });
  ByteView record;
  if (anyCensus) {
    while (reader.Next(record, error)) {
      if (record.Data()[0] == '*') continue;
      for (std::size_t i = 0; i < fields.size(); ++i) {
        if (NeedsCensus(*fields[i]) && !IsNullFlagged(header, *fields[i], record)) {
          AddToCensus(*fields[i], record, census[i]);
        }
      }
    }
    if (!error.empty()) return TableOutcome::TableFailed;
    reader.Rewind();
  }
  std::vector<ColumnDefinition> columns(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    columns[i] = {names[i], DbfColumnType(header, *fields[i], census[i])};
  }

  // Second pass: the rows.
  if (!writer.BeginTable(tableName, columns, error)) return TableOutcome::DatabaseFailed;
  DbfValueBinder binder(header, decoder, reader.Memo());
  std::string problem;
  while (reader.Next(record, error)) {
    if (record.Data()[0] == '*') continue;  // deleted
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (!binder.Bind(writer, static_cast<int>(i), *fields[i], columns[i].type, record, problem)) {
        writer.AbandonTable();
        error = "Cannot read the dBase table " + path + ": " + problem + ".";
        return TableOutcome::TableFailed;
      }
    }
    if (!writer.InsertRow(error)) return TableOutcome::DatabaseFailed;
  }
  if (!error.empty()) {
    writer.AbandonTable();
    return TableOutcome::TableFailed;
  }
  if (!writer.EndTable(error)) return TableOutcome::DatabaseFailed;
  return TableOutcome::Written;
}

// The .dbf files of `folder`; fails when there is none or when `required`
// (if given) is not among them.
bool ListTables(const std::string& folder, const std::string& required,
                std::vector<std::string>& files, std::string& error) {
  if (!ListDbfFiles(folder, files, error)) return false;
  if (!required.empty() && std::find(files.begin(), files.end(), required) == files.end()) {
    error = "Cannot read the dBase table " + platform::JoinPath(folder, required) +
            ": there is no such table file.";
    return false;
  }
  if (files.empty()) {
    error = "The folder " + folder + " holds no dBase table (.dbf).";
    return false;
  }
  return true;
}

// Writes each table file; one that cannot be read is listed in
// `result.skipped` (the message for `required` also in `requiredError`).
// False when the database itself fails, `result.error` saying why.
bool WriteTables(const std::string& folder, const std::vector<std::string>& files,
                 const std::string& required, SqliteTableWriter& writer, ImportResult& result,
                 std::string& requiredError) {
  CodePageDecoder fileNames(65001);
  std::unordered_map<std::string, std::string> tableFiles;  // folded table name -> file
  for (const std::string& file : files) {
    const std::string path = platform::JoinPath(folder, file);
    const std::string table = fileNames.Decode(file.substr(0, file.size() - 4));
    std::string error;
    auto clash = tableFiles.find(Folded(table));
    if (clash != tableFiles.end()) {
      error = "The dBase table " + path + " is left out: its name is that of " +
              platform::JoinPath(folder, clash->second) + " once letter case is ignored.";
    } else {
      switch (WriteTable(path, table, writer, error)) {
        case TableOutcome::Written:
          tableFiles.emplace(Folded(table), file);
          result.tables.push_back(table);
          continue;
        case TableOutcome::TableFailed:
          break;
        case TableOutcome::DatabaseFailed:
          result.error = error;
          return false;
      }
    }
    if (file == required) {
      requiredError = error;
    } else if (clash == tableFiles.end()) {
      error += " The table is left out.";
    }
    result.skipped.push_back(error);
  }
  return true;
}

// Converts the folder; when `required` names one of its files, the result
// fails if that table cannot be read.
ImportResult ConvertFolder(const std::string& folder, const std::string& required) {
  ImportResult result;
  std::vector<std::string> files;
  if (!ListTables(folder, required, files, result.error)) return result;
  TemporaryDatabase database;
  if (!TemporaryDatabase::Create(database, result.error)) return result;
  SqliteTableWriter writer;
  if (!writer.Open(database.Path(), result.error)) return result;
  std::string requiredError;
  if (!WriteTables(folder, files, required, writer, result, requiredError)) {
    result.tables.clear();
    result.skipped.clear();
    return result;
  }
  if (!requiredError.empty() || result.tables.empty()) {
    result.error = !requiredError.empty() ? requiredError : result.skipped.front();
    result.tables.clear();
    return result;
  }
  if (!writer.Commit(result.error)) {
    result.tables.clear();
    return result;
  }
  result.database = std::move(database);
  result.ok = true;
  return result;
}

}  // namespace

ImportResult ConvertDbfFolder(const std::string& folder) {
  return ConvertFolder(folder, std::string());
}

ImportResult ConvertDbfFileFolder(const std::string& dbfPath) {
  return ConvertFolder(FolderOfPath(dbfPath), platform::NameOf(dbfPath));
}

}  // namespace tallowick
