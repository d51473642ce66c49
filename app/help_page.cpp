#include "app/help_page.h"

#include <cstring>

#include "ui/working_folder.h"

namespace tallowick {

std::optional<std::string> HelpPagePath() {
  std::optional<std::string> folder = CurrentWorkingFolder();
  if (!folder) return std::nullopt;
  std::string path = *folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += kHelpPageName;
  if (path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

bool OpenHelpPage(Host& host) {
  const std::optional<std::string> path = HelpPagePath();
  if (!path) return false;
  host.OpenWithDesktop(*path);
  return true;
}

}  // namespace tallowick
