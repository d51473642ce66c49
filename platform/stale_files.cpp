#include "platform/stale_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tallowick::platform {

bool ProcessIsAlive(long pid) {
  if (pid <= 0) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

namespace {

// The process id at the start of `rest`, or -1 when there is none.
long LeadingPid(const std::string& rest) {
  std::size_t digits = 0;
  while (digits < rest.size() && digits < 10 && rest[digits] >= '0' && rest[digits] <= '9') {
    ++digits;
  }
  if (digits == 0) return -1;
  return std::strtol(rest.substr(0, digits).c_str(), nullptr, 10);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

int RemoveStaleFiles(const std::string& folder, const std::string& prefix,
                     const std::string& suffix) {
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return 0;
  const int folderFd = dirfd(directory);
  int removed = 0;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 || !EndsWith(name, suffix)) {
      continue;
    }
    const long pid = LeadingPid(name.substr(prefix.size()));
    if (pid < 0 || pid == static_cast<long>(getpid()) || ProcessIsAlive(pid)) continue;
    struct stat info {};
    if (fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode)) {
      continue;
    }
    if (unlinkat(folderFd, name.c_str(), 0) == 0) ++removed;
  }
  closedir(directory);
  return removed;
}

}  // namespace tallowick::platform
