#include "import/temporary_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include "platform/stale_files.h"

namespace tallowick {
namespace {

constexpr int kNameAttempts = 100;

bool UsableFolder(const char* folder) {
  if (folder == nullptr || folder[0] != '/') return false;
  struct stat info {};
  if (stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  return access(folder, W_OK | X_OK) == 0;
}

// Six letters and digits, as mkstemp would choose them.
std::string RandomPart() {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string part;
  for (int i = 0; i < 6; ++i) part.push_back(kLetters[pick(generator)]);
  return part;
}

void RemoveWithCompanions(const std::string& path) {
  for (const char* ending : kSqliteCompanionEndings) unlink((path + ending).c_str());
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
    : m_path(std::exchange(other.m_path, std::string())), m_cleanup(std::move(other.m_cleanup)) {}

TemporaryDatabase& TemporaryDatabase::operator=(TemporaryDatabase&& other) noexcept {
  if (this != &other) {
    Remove();
    m_path = std::exchange(other.m_path, std::string());
    m_cleanup = std::move(other.m_cleanup);
  }
  return *this;
}

bool TemporaryDatabase::Create(TemporaryDatabase& out, std::string& error) {
  out.Remove();
  const std::string folder = TemporaryDatabaseFolder();
  for (const char* ending : kSqliteCompanionEndings) {
    platform::RemoveStaleFiles(folder, kTemporaryDatabasePrefix,
                               std::string(kTemporaryDatabaseSuffix) + ending);
  }
  const std::string start = (folder.back() == '/' ? folder : folder + "/") +
                            kTemporaryDatabasePrefix + std::to_string(getpid()) + "-";
  int lastError = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && lastError == EEXIST; ++attempt) {
    const std::string path = start + RandomPart() + kTemporaryDatabaseSuffix;
    // The action exists before the file does.
    platform::ScopedCleanup cleanup([path] { RemoveWithCompanions(path); });
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
      lastError = errno;
      continue;
    }
    fchmod(fd, S_IRUSR | S_IWUSR);
    close(fd);
    out.m_path = path;
    out.m_cleanup = std::move(cleanup);
    return true;
  }
  error = "Cannot create a temporary database in " + folder + ": " + std::strerror(lastError);
  return false;
}

void TemporaryDatabase::Remove() {
  if (m_path.empty()) return;
  RemoveWithCompanions(m_path);
  m_cleanup.Release();
  m_path.clear();
}

}  // namespace tallowick
