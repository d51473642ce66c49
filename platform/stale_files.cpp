#include "platform/stale_files.h"

#include <cstdlib>
#include <vector>

#include "platform/file_system.h"

namespace tallowick::platform {

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
  std::vector<std::string> names;
  if (!ListFolder(folder, names)) return 0;
  int removed = 0;
  for (const std::string& name : names) {
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 || !EndsWith(name, suffix)) {
      continue;
    }
    const long pid = LeadingPid(name.substr(prefix.size()));
    if (pid < 0 || pid == ProcessId() || ProcessIsAlive(pid)) continue;
    const std::string path = folder.empty() ? name : folder + "/" + name;
    if (KindOf(path, false) == PathKind::File && RemoveFile(path)) ++removed;
  }
  return removed;
}

}  // namespace tallowick::platform
