#include "import/temporary_database.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include "platform/file_system.h"
#include "platform/path_text.h"
#include "platform/stale_files.h"

namespace tallowick {
namespace {

constexpr int kNameAttempts = 100;

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
  for (const char* ending : kSqliteCompanionEndings) platform::RemoveFile(path + ending);
}

}  // namespace

std::string TemporaryDatabaseFolder() { return platform::PrivateTemporaryFolder(); }

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
  const std::string start = platform::WithEndSeparator(folder) + kTemporaryDatabasePrefix +
                            std::to_string(platform::ProcessId()) + "-";
  int lastError = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && lastError == EEXIST; ++attempt) {
    const std::string path = start + RandomPart() + kTemporaryDatabaseSuffix;
    // The action exists before the file does.
    platform::ScopedCleanup cleanup([path] { RemoveWithCompanions(path); });
    const int fd = platform::OpenFile(path, platform::OpenMode::CreateNew, 0600);
    if (fd < 0) {
      lastError = errno;
      continue;
    }
    platform::SetPermissions(fd, 0600);
    platform::CloseFile(fd);
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
