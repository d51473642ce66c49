#include "installer/desktop_shortcut.h"

#include <optional>

#include "installer/desktop_folder.h"
#include "installer/path_join.h"
#include "platform/replacement_file.h"
#include "ui/working_folder.h"

namespace tallowick {

bool CreateShellLink(const DesktopEntry& entry, const std::string& linkPath) {
  const std::optional<std::string> text = DesktopEntryText(entry);
  if (!text || linkPath.size() + platform::kRandomSuffixLength > kMaxPathLength) return false;
  return platform::ReplaceFileContents(linkPath, *text, 0755);
}

void CreateDesktopShortcut(const std::string& installationFolder, std::string_view fileName,
                           std::string_view linkName, std::string_view description,
                           ShortcutKind kind, std::string_view iconFile) {
  const std::optional<std::string> desktop = DesktopFolder();
  if (!desktop) return;
  const std::optional<std::string> linkPath =
      JoinPath(*desktop, std::string(linkName) + std::string(kShortcutExtension));
  const std::optional<std::string> target = JoinPath(installationFolder, fileName);
  const std::optional<std::string> icon = iconFile.empty()
                                              ? std::optional<std::string>(std::string())
                                              : JoinPath(installationFolder, iconFile);
  if (!linkPath || !target || !icon) return;

  DesktopEntry entry;
  entry.name = std::string(linkName);
  entry.comment = std::string(description);
  entry.icon = *icon;
  if (kind == ShortcutKind::Program) {
    entry.type = DesktopEntry::Type::Application;
    entry.program = *target;
    entry.workingFolder = installationFolder;
  } else {
    entry.type = DesktopEntry::Type::Link;
    entry.linkTarget = *target;
  }
  CreateShellLink(entry, *linkPath);
}

}  // namespace tallowick
