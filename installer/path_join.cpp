#include "installer/path_join.h"

#include "ui/working_folder.h"

namespace tallowick {

std::optional<std::string> JoinPath(std::string_view folder, std::string_view name,
                                    std::size_t reserve) {
  if (folder.empty() || name.empty()) return std::nullopt;
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  std::string_view head = folder;
  while (head.size() > 1 && head.back() == '/') head.remove_suffix(1);
  if (name.empty()) return std::nullopt;
  const bool root = head == "/";
  const std::size_t length = head.size() + (root ? 0 : 1) + name.size();
  if (length > kMaxPathLength || reserve > kMaxPathLength - length) return std::nullopt;
  std::string path;
  path.reserve(length);
  path.append(head);
  if (!root) path.push_back('/');
  path.append(name);
  return path;
}

}  // namespace tallowick
