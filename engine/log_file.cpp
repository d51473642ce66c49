#include "engine/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tallowick {

namespace {

constexpr int kOpenFlags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// A plain file with no other name: the only kind a log is written into.
bool IsOwnPlainFile(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1;
}

}  // namespace

LogFile OpenEmptiedLog(const std::string& path) {
  // O_NONBLOCK keeps a FIFO of that name from holding the run up; a plain
  // file is opened before anything is emptied, so that a link is never
  // followed into the file it names.
  int fd = open(path.c_str(), kOpenFlags | O_CREAT, 0666);
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
    fd = open(path.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return nullptr;
  }
  if (ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, 0) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "w");
  if (file == nullptr) close(fd);
  return LogFile(file);
}

}  // namespace tallowick
