// The destination page's installation on Windows: the wide Win32 file
// functions and shell links on the desktop.
#include <windows.h>

#include <optional>
#include <vector>

#include "installer/desktop_shortcut_windows.h"
#include "installer/destination_dialog.h"
#include "installer/file_table.h"
#include "installer/windows_path.h"
#include "platform/wide_text.h"

namespace tallowick {
namespace {

using platform::Narrow;
using platform::Widen;

// Where everything goes, composed before anything on disk changes.
struct Destinations {
  std::wstring imageFolder;
  std::vector<std::wstring> files;  // one per entry of kInstallFiles
};

// Nothing when the folder is not an absolute path or a path within it would
// not fit.
std::optional<Destinations> PlanDestinations(const std::wstring& folder) {
  if (!IsAbsoluteWindowsPath(folder)) return std::nullopt;
  Destinations plan;
  const std::optional<std::wstring> images = JoinWindowsPath(folder, Widen(kImageFolder));
  if (!images) return std::nullopt;
  plan.imageFolder = *images;
  for (std::string_view entry : kInstallFiles) {
    const std::optional<std::wstring> file = JoinWindowsPath(folder, Widen(entry));
    if (!file) return std::nullopt;
    plan.files.push_back(*file);
  }
  return plan;
}

std::optional<std::wstring> CurrentFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::wstring(buffer, length);
}

// The installation folder entered or, failing that, created (its last level
// only: the parent must exist). The working folder is `sourceFolder` again
// afterwards.
bool EnterOrCreateFolder(const std::wstring& folder,
                         const std::optional<std::wstring>& sourceFolder) {
  if (::SetCurrentDirectoryW(folder.c_str())) {
    if (sourceFolder) ::SetCurrentDirectoryW(sourceFolder->c_str());
    return true;
  }
  return ::CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
}

}  // namespace

bool CDestinationDialog::Install(const std::string& folder) {
  const std::wstring wideFolder = Widen(folder);
  const std::optional<std::wstring> sourceFolder = CurrentFolder();
  const std::optional<Destinations> plan = PlanDestinations(wideFolder);
  if (!plan || !EnterOrCreateFolder(wideFolder, sourceFolder)) return false;
  ::CreateDirectoryW(plan->imageFolder.c_str(), nullptr);  // an existing folder is fine
  const std::optional<std::string> source =
      sourceFolder ? std::optional<std::string>(Narrow(*sourceFolder)) : std::nullopt;
  for (std::size_t i = 0; i < kInstallFiles.size(); ++i)
    CopyEntry(kInstallFiles[i], Narrow(plan->files[i]), source);

  for (const ShortcutSpec& shortcut : kShortcuts)
    CreateDesktopShortcut(folder, shortcut.fileName, shortcut.linkName, shortcut.description);
  return true;
}

void CDestinationDialog::CopyEntry(std::string_view entry, const std::string& destination,
                                   const std::optional<std::string>& sourceFolder) {
  const std::optional<std::wstring> source =
      sourceFolder ? JoinWindowsPath(Widen(*sourceFolder), Widen(entry)) : std::nullopt;
  // An existing file of the same name is overwritten.
  if (!source || !::CopyFileW(source->c_str(), Widen(destination).c_str(), FALSE)) {
    ShowStop("Could not copy file \"" + std::string(entry) + "\"");
  }
}

}  // namespace tallowick
