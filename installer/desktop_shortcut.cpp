#include "installer/desktop_shortcut.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "installer/desktop_folder.h"
#include "installer/path_join.h"
#include "platform/write_all.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

constexpr std::string_view kTemporarySuffix = ".XXXXXX";

}  // namespace

bool CreateShellLink(const DesktopEntry& entry, const std::string& linkPath) {
  const std::optional<std::string> text = DesktopEntryText(entry);
  if (!text || linkPath.size() + kTemporarySuffix.size() > kMaxPathLength) return false;
  std::string temporary = linkPath + std::string(kTemporarySuffix);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = platform::WriteAll(fd, *text) && ::fchmod(fd, 0755) == 0;
  const bool closed = ::close(fd) == 0;
  if (written && closed && std::rename(temporary.c_str(), linkPath.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

void CreateDesktopShortcut(const std::string& installationFolder, std::string_view fileName,
                           std::string_view linkName, std::string_view description, ShortcutKind kind) {
  const std::optional<std::string> desktop = DesktopFolder();
  if (!desktop) return;
  const std::optional<std::string> linkPath =
      JoinPath(*desktop, std::string(linkName) + std::string(kShortcutExtension));
  const std::optional<std::string> target = JoinPath(installationFolder, fileName);
  if (!linkPath || !target) return;

  DesktopEntry entry;
  entry.name = std::string(linkName);
  entry.comment = std::string(description);
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
