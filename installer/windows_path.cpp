#include "installer/windows_path.h"

namespace tallowick {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::optional<std::wstring> JoinWindowsPath(std::wstring_view folder, std::wstring_view name) {
  while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
  while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
  if (folder.empty() || name.empty()) return std::nullopt;
  if (folder.size() + 1 + name.size() > kMaxWindowsPathLength) return std::nullopt;
  std::wstring path(folder);
  path.push_back(L'\\');
  path.append(name);
  return path;
}

bool IsAbsoluteWindowsPath(std::wstring_view path) {
  if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) {
    const wchar_t drive = path[0];
    return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
  }
  return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

}  // namespace tallowick
