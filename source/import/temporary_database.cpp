#include "source/import/temporary_database.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace tallowick {
namespace {

bool UsableFolder(const char* folder) {
  if (folder == nullptr || folder[0] != '/') return false;
  struct stat info {};
  if (stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  return access(folder, W_OK | X_OK) == 0;
}

}  // namespace

std::string TemporaryDatabaseFolder() {
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* folder = std::getenv(variable);
    if (UsableFolder(folder)) return folder;
  }
  return "/tmp";
}

TemporaryDatabase::~TemporaryDatabase() { Remove(); }

TemporaryDatabase::TemporaryDatabase(TemporaryDatabase&& other) noexcept
    : m_path(std::exchange(other.m_path, std::string())) {}

TemporaryDatabase& TemporaryDatabase::operator=(TemporaryDatabase&& other) noexcept {
  if (this != &other) {
    Remove();
    m_path = std::exchange(other.m_path, std::string());
  }
  return *this;
}

bool TemporaryDatabase::Create(TemporaryDatabase& out, std::string& error) {
  out.Remove();
  std::string folder = TemporaryDatabaseFolder();
  std::string pattern = folder;
  if (pattern.back() != '/') pattern += '/';
  pattern += "tallowick-import-XXXXXX.sqlite";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkstemps creates the file exclusively with mode 0600.
  int fd = mkstemps(name.data(), 7);
  if (fd < 0) {
    error = "Cannot create a temporary database in " + folder + ": " + std::strerror(errno);
    return false;
  }
  fchmod(fd, S_IRUSR | S_IWUSR);
  close(fd);
  out.m_path = name.data();
  return true;
}

void TemporaryDatabase::Remove() {
  if (m_path.empty()) return;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) unlink((m_path + suffix).c_str());
  m_path.clear();
}

}  // namespace tallowick
