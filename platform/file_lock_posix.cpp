#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/file_lock.h"

namespace tallowick::platform {

namespace {

int OpenLockTarget(const std::string& path) {
  // An existing folder is locked as it is; anything else is a lock file.
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) return fd;
  return open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int FlockRetrying(int fd, int operation) {
  int result;
  do {
    result = flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

bool FileLock::Lock(const std::string& path, const std::function<void()>& waiting) {
  Unlock();
  const int fd = OpenLockTarget(path);
  if (fd < 0) return false;
  bool locked = FlockRetrying(fd, LOCK_EX | LOCK_NB) == 0;
  if (!locked && errno == EWOULDBLOCK) {
    if (waiting) waiting();
    locked = FlockRetrying(fd, LOCK_EX) == 0;
  }
  if (!locked) {
    close(fd);
    return false;
  }
  m_handle = fd;
  return true;
}

void FileLock::Unlock() {
  if (m_handle == kNone) return;
  const int fd = static_cast<int>(m_handle);
  flock(fd, LOCK_UN);
  close(fd);
  m_handle = kNone;
}

}  // namespace tallowick::platform
