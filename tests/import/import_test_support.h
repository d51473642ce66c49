#pragma once
// Helpers of the import tests: scratch folders, the Python data writers,
// reading a converted SQLite file back, and a private place for temporary
// databases so a test can see exactly what an import leaves behind.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/saved_environment.h"

namespace tallowick::import_test {

// A fresh folder removed, with everything in it, when the object dies.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Points $XDG_RUNTIME_DIR (and $TMPDIR) at a scratch folder of its own for
// its lifetime, so temporary databases land where a test can count them.
class TemporaryDatabaseFolderOverride {
 public:
  TemporaryDatabaseFolderOverride();
  const std::string& Path() const { return m_folder.Path(); }
  std::vector<std::string> Files() const;

 private:
  ScratchFolder m_folder;
  testing::SavedEnvironment m_environment;
};

// Runs tests/import/data_writers/<script> with /usr/bin/python3,
// which sees Debian's python3-xlwt and python3-dbf. Fails the test (and
// returns false) when the script fails.
bool RunDataWriter(const std::string& script, const std::vector<std::string>& args);

using Row = std::vector<std::optional<std::string>>;

// The rows of `sql` on the SQLite file `database`, each value as text
// (NULL as nullopt).
std::vector<Row> QueryRows(const std::string& database, const std::string& sql);
// (name, declared type) of each column of `table`.
std::vector<std::pair<std::string, std::string>> DeclaredColumns(const std::string& database,
                                                                 const std::string& table);

std::vector<std::string> FilesIn(const std::string& folder);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
void CopyFile(const std::string& from, const std::string& to);

}  // namespace tallowick::import_test
