#include "source/odbc_ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/exit_cleanup.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/replacement_file.h"
#include "platform/stale_files.h"

namespace tallowick {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR;
constexpr const char* kCopyInfix = ".tallowick-";
constexpr const char* kCopySuffix = ".tmp";

// Follows symbolic links one by one, so that a link to a file that does not
// exist yet still names where that file is to be written.
std::string FollowLinks(const std::string& path) {
  fs::path current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) break;
    const fs::path target = fs::read_symlink(current, error);
    if (error) break;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current.lexically_normal().string();
}

std::string FolderOfPath(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? "." : folder.string();
}

std::string NameOfPath(const std::string& path) { return fs::path(path).filename().string(); }

bool ReadWhole(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    error = "Cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  char buffer[8192];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      error = "Cannot read " + path + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return true;
}

// Writes `text` into `copy` (reserved beside the file) with the old file's
// permissions, or owner read and write for a new file, and renames it over
// the file.
bool ReplaceFile(const std::string& iniPath, platform::ReplacementFile& copy,
                 const std::string& text, std::string& error) {
  struct stat old {};
  const bool existed = ::stat(iniPath.c_str(), &old) == 0;
  const mode_t mode = existed ? (old.st_mode & 07777) : kNewFileMode;
  if (!copy.Create(kNewFileMode)) {
    error = "Cannot write beside " + iniPath + ": " + std::strerror(copy.Error());
    return false;
  }
  if (!copy.SetMode(mode) || !copy.Write(text) || !copy.Complete() || !copy.RenameTo(iniPath)) {
    error = "Cannot write " + iniPath + ": " + std::strerror(copy.Error());
    copy.Discard();
    return false;
  }
  return true;
}

}  // namespace

std::string UserOdbcIniPath() {
  std::string path;
  if (!platform::GetEnvironment("ODBCINI", path) || path.empty()) {
    path = platform::HomeFolder() + "/.odbc.ini";
  }
  return FollowLinks(path);
}

std::string OdbcIniLockPath(const std::string& iniPath) { return iniPath + ".lock"; }

bool EditOdbcIni(const std::string& iniPath, const std::function<void(std::string&)>& edit,
                 std::string& error, bool fromCleanup) {
  // A name that no other writer uses: the process id (so that a later run
  // can tell a killed run's leftovers) and a number.
  platform::ReplacementFile copy;
  copy.Reserve(platform::ProcessTemporaryPath(iniPath + kCopyInfix, kCopySuffix),
               fromCleanup ? platform::ReplacementFile::Removal::ByOwnerOnly
                           : platform::ReplacementFile::Removal::AtExit);
  platform::FileLock lock;
  if (!lock.Lock(OdbcIniLockPath(iniPath))) {
    error = "Cannot lock " + OdbcIniLockPath(iniPath) + ": " + std::strerror(errno);
    return false;
  }
  platform::RemoveStaleFiles(FolderOfPath(iniPath), NameOfPath(iniPath) + kCopyInfix, kCopySuffix);
  std::string text;
  if (!ReadWhole(iniPath, text, error)) return false;
  std::string changed = text;
  edit(changed);
  if (changed == text) return true;
  return ReplaceFile(iniPath, copy, changed, error);
}

}  // namespace tallowick
