#include "tests/import/import_test_support.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tallowick::import_test {
namespace {}  // namespace

ScratchFolder::ScratchFolder() {
  // Not $TMPDIR: tests point that at folders whose files they count.
  std::string base = "/tmp";
  std::string pattern = base + "/tallowick-import-test-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr)
    ADD_FAILURE() << "cannot create a scratch folder in " << base;
  m_path = name.data();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

TemporaryDatabaseFolderOverride::TemporaryDatabaseFolderOverride() {
  m_environment.Set("XDG_RUNTIME_DIR", m_folder.Path());
  m_environment.Set("TMPDIR", m_folder.Path());
}

std::vector<std::string> TemporaryDatabaseFolderOverride::Files() const {
  return FilesIn(m_folder.Path());
}

bool RunDataWriter(const std::string& script, const std::vector<std::string>& args) {
  std::string path = std::string(TALLOWICK_SOURCE_DIR) + "/tests/import/data_writers/" + script;
  std::vector<std::string> argv = {"/usr/bin/python3", path};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> raw;
  for (std::string& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);
  pid_t child = fork();
  if (child == 0) {
    execv(raw[0], raw.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    ADD_FAILURE() << "data writer " << script << " failed (status " << status << ")";
    return false;
  }
  return true;
}

std::vector<Row> QueryRows(const std::string& database, const std::string& sql) {
  std::vector<Row> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << database;
    sqlite3_close(db);
    return rows;
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot run " << sql << ": " << sqlite3_errmsg(db);
  } else {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      Row row;
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
          row.emplace_back(std::nullopt);
        } else {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
          row.emplace_back(
              std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, i))));
        }
      }
      rows.push_back(std::move(row));
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

std::vector<std::pair<std::string, std::string>> DeclaredColumns(const std::string& database,
                                                                 const std::string& table) {
  std::string quoted = "'";
  for (char ch : table) quoted += ch == '\'' ? std::string("''") : std::string(1, ch);
  quoted += "'";
  std::vector<std::pair<std::string, std::string>> columns;
  for (const Row& row :
       QueryRows(database, "SELECT name, type FROM pragma_table_info(" + quoted + ")")) {
    columns.emplace_back(row[0].value_or(""), row[1].value_or(""));
  }
  return columns;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CopyFile(const std::string& from, const std::string& to) { WriteFile(to, ReadFile(from)); }

}  // namespace tallowick::import_test
