#include "platform/path_text.h"

namespace tallowick::platform {

namespace {

// "C:" at the start of a Windows path.
bool StartsWithDrive(std::string_view path) {
#ifdef _WIN32
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
#else
  static_cast<void>(path);
  return false;
#endif
}

}  // namespace

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

std::size_t LastPathSeparator(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (IsPathSeparator(path[i])) return i;
  }
  return std::string_view::npos;
}

std::string FolderOf(const std::string& path) {
  const std::size_t last = LastPathSeparator(path);
  const std::size_t root = StartsWithDrive(path) ? 2 : 0;
  if (last == std::string::npos || last <= root) {
    // A file at the top of a drive ("C:\x", "C:x") or of the root ("/x").
    if (root == 2) return path.substr(0, 2) + kPathSeparator;
    if (last == 0 && path.size() > 1) return std::string(1, kPathSeparator);
    return {};
  }
  return path.substr(0, last);
}

std::string NameOf(const std::string& path) {
  const std::size_t last = LastPathSeparator(path);
  if (last != std::string::npos) return path.substr(last + 1);
  return StartsWithDrive(path) ? path.substr(2) : path;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : WithEndSeparator(folder) + name;
}

std::string WithEndSeparator(const std::string& folder) {
  if (!folder.empty() && IsPathSeparator(folder.back())) return folder;
  return folder + kPathSeparator;
}

}  // namespace tallowick::platform
