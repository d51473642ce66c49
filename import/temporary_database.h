#pragma once
// Owner of the private SQLite file that an Excel workbook or a folder of dBase
// tables is converted into. The file is created empty with mode 0600 under a
// unique name that carries the process id, tallowick-import-<pid>-XXXXXX.sqlite;
// the owner deletes it (and any journal SQLite left beside it) when it is
// destroyed or told to, or when a signal ends the process, so a connection
// that holds it until Disconnect leaves nothing behind. What a killed
// process left is removed by the next Create.
#include <string>

#include "platform/exit_cleanup.h"

namespace tallowick {

class TemporaryDatabase {
 public:
  TemporaryDatabase() = default;
  ~TemporaryDatabase();
  TemporaryDatabase(TemporaryDatabase&& other) noexcept;
  TemporaryDatabase& operator=(TemporaryDatabase&& other) noexcept;
  TemporaryDatabase(const TemporaryDatabase&) = delete;
  TemporaryDatabase& operator=(const TemporaryDatabase&) = delete;

  // Creates the empty file in TemporaryDatabaseFolder(), after removing the
  // databases there of processes that no longer run. On failure `error`
  // says why and names the folder; `out` is left empty.
  static bool Create(TemporaryDatabase& out, std::string& error);

  // Full path of the file; empty when nothing is held.
  const std::string& Path() const { return m_path; }
  bool Holds() const { return !m_path.empty(); }

  // Deletes the file now (no-op when nothing is held).
  void Remove();

 private:
  std::string m_path;
  platform::ScopedCleanup m_cleanup;  // removes the files when a signal ends the process
};

// The name's parts around the process id, and the endings of the files
// SQLite may keep beside the database.
inline constexpr const char* kTemporaryDatabasePrefix = "tallowick-import-";
inline constexpr const char* kTemporaryDatabaseSuffix = ".sqlite";
inline constexpr const char* kSqliteCompanionEndings[] = {"", "-journal", "-wal", "-shm"};

// The folder for temporary databases: $XDG_RUNTIME_DIR when it names a
// writable folder by an absolute path, else $TMPDIR under the same test,
// else /tmp.
std::string TemporaryDatabaseFolder();

}  // namespace tallowick
