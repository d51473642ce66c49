#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"

namespace tallowick::platform {

namespace {

int FlagsOf(OpenMode mode) {
  switch (mode) {
    case OpenMode::Read:
      return O_RDONLY | O_CLOEXEC;
    case OpenMode::ReadWrite:
      return O_RDWR | O_CLOEXEC;
    case OpenMode::CreateNew:
      return O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    case OpenMode::WriteCreate:
      return O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
  }
  return O_RDONLY | O_CLOEXEC;
}

constexpr int kTextFileFlags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

}  // namespace

int OpenFile(const std::string& path, OpenMode mode, int permissions) {
  int fd;
  do {
    fd = ::open(path.c_str(), FlagsOf(mode), static_cast<mode_t>(permissions));
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::FILE* OpenStream(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::FILE* OpenEmptiedTextFile(const std::string& path) {
  // O_NONBLOCK keeps a FIFO of that name from holding the run up; a plain
  // file is opened before anything is emptied, so that a link is never
  // followed into the file it names.
  int fd = open(path.c_str(), kTextFileFlags | O_CREAT, 0666);
  if (fd < 0 && errno != ELOOP) return nullptr;
  if (fd >= 0 && !IsOwnPlainFile(fd)) {
    struct stat status {};
    const bool linked = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    close(fd);
    fd = -1;
    if (!linked) return nullptr;
  }
  if (fd < 0) {
    // A symbolic link or a second name of another file: the name gets a
    // file of its own.
    if (unlink(path.c_str()) != 0) return nullptr;
    fd = open(path.c_str(), kTextFileFlags | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return nullptr;
  }
  if (ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, 0) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "w");
  if (file == nullptr) close(fd);
  return file;
}

std::FILE* StreamOf(int fd, const char* mode) { return ::fdopen(fd, mode); }

bool CloseFile(int fd) { return ::close(fd) == 0; }

bool ReadAt(int fd, void* bytes, std::size_t length, std::uint64_t offset) {
  auto* at = static_cast<char*>(bytes);
  while (length > 0) {
    const ssize_t read = ::pread(fd, at, length, static_cast<off_t>(offset));
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) {
      if (read == 0) errno = EIO;
      return false;
    }
    at += read;
    length -= static_cast<std::size_t>(read);
    offset += static_cast<std::uint64_t>(read);
  }
  return true;
}

bool WriteAt(int fd, const void* bytes, std::size_t length, std::uint64_t offset) {
  const auto* at = static_cast<const char*>(bytes);
  while (length > 0) {
    const ssize_t written = ::pwrite(fd, at, length, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    at += written;
    length -= static_cast<std::size_t>(written);
    offset += static_cast<std::uint64_t>(written);
  }
  return true;
}

bool Truncate(int fd, std::uint64_t length) {
  return ::ftruncate(fd, static_cast<off_t>(length)) == 0;
}

bool SyncFile(int fd) { return ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP; }

bool SetPermissions(int fd, int permissions) {
  return ::fchmod(fd, static_cast<mode_t>(permissions)) == 0;
}

PathKind KindOf(const std::string& path, bool followLinks) {
  struct stat status {};
  const int result = followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
  if (result != 0) {
    return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unknown;
  }
  if (S_ISREG(status.st_mode)) return PathKind::File;
  if (S_ISDIR(status.st_mode)) return PathKind::Folder;
  return PathKind::Other;
}

std::int64_t FileSize(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) return -1;
  return static_cast<std::int64_t>(status.st_size);
}

std::int64_t FileSizeOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return -1;
  return static_cast<std::int64_t>(status.st_size);
}

bool IsOwnPlainFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1;
}

bool CanEnterFolder(const std::string& path) {
  return KindOf(path) == PathKind::Folder && ::access(path.c_str(), X_OK) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool RenameOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
  DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return false;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(directory);
  return true;
}

std::string PathForDrivers(const std::string& path) { return path; }

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

bool GetEnvironment(const char* name, std::string& value) {
  const char* text = std::getenv(name);
  if (text == nullptr) return false;
  value = text;
  return true;
}

long ProcessId() { return static_cast<long>(::getpid()); }

bool ProcessIsAlive(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string PrivateTemporaryFolder() {
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    std::string folder;
    if (!GetEnvironment(variable, folder) || folder.empty() || folder[0] != '/') continue;
    if (KindOf(folder) == PathKind::Folder && ::access(folder.c_str(), W_OK | X_OK) == 0) {
      return folder;
    }
  }
  return "/tmp";
}

std::string HomeFolder() {
  std::string home;
  if (GetEnvironment("HOME", home) && !home.empty()) return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace tallowick::platform
