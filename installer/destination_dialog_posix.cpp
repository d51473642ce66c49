// The destination page's installation on Linux: files copied with their
// permissions, freedesktop shortcuts on the desktop.
#include <sys/stat.h>

#include <optional>
#include <vector>

#include "installer/desktop_shortcut.h"
#include "installer/destination_dialog.h"
#include "installer/file_copy.h"
#include "installer/file_table.h"
#include "installer/path_join.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

// Where everything goes, composed before anything on disk changes.
struct Destinations {
  std::string imageFolder;
  std::vector<std::string> files;  // one per entry of kInstallFiles
};

// Nothing when the folder is not an absolute path or a path within it would
// not fit.
std::optional<Destinations> PlanDestinations(const std::string& folder) {
  if (folder.empty() || folder.front() != '/') return std::nullopt;
  Destinations plan;
  const std::optional<std::string> images = JoinPath(folder, kImageFolder);
  if (!images) return std::nullopt;
  plan.imageFolder = *images;
  for (std::string_view entry : kInstallFiles) {
    const std::optional<std::string> file = JoinPath(folder, entry, kCopyTemporarySuffixLength);
    if (!file) return std::nullopt;
    plan.files.push_back(*file);
  }
  return plan;
}

// The installation folder entered or, failing that, created (its last level
// only: the parent must exist). The working folder is `sourceFolder` again
// afterwards.
bool EnterOrCreateFolder(const std::string& folder,
                         const std::optional<std::string>& sourceFolder) {
  if (ChangeWorkingFolder(folder)) {
    if (sourceFolder) ChangeWorkingFolder(*sourceFolder);
    return true;
  }
  return ::mkdir(folder.c_str(), 0755) == 0;
}

}  // namespace

bool CDestinationDialog::Install(const std::string& folder) {
  const std::optional<std::string> sourceFolder = CurrentWorkingFolder();
  const std::optional<Destinations> plan = PlanDestinations(folder);
  if (!plan || !EnterOrCreateFolder(folder, sourceFolder)) return false;
  ::mkdir(plan->imageFolder.c_str(), 0755);  // an existing folder is fine
  for (std::size_t i = 0; i < kInstallFiles.size(); ++i)
    CopyEntry(kInstallFiles[i], plan->files[i], sourceFolder);

  for (const ShortcutSpec& shortcut : kShortcuts) {
    CreateDesktopShortcut(folder, shortcut.fileName, shortcut.linkName, shortcut.description,
                          shortcut.kind, shortcut.iconFile);
  }
  return true;
}

void CDestinationDialog::CopyEntry(std::string_view entry, const std::string& destination,
                                   const std::optional<std::string>& sourceFolder) {
  const std::optional<std::string> source =
      sourceFolder ? JoinPath(*sourceFolder, entry) : std::nullopt;
  if (!source || !CopyFileReplacing(*source, destination)) {
    ShowStop("Could not copy file \"" + std::string(entry) + "\"");
  }
}

}  // namespace tallowick
