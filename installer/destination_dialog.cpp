#include "installer/destination_dialog.h"

#include <sys/stat.h>

#include <optional>
#include <vector>

#include "installer/desktop_shortcut.h"
#include "installer/file_copy.h"
#include "installer/file_table.h"
#include "installer/path_join.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/host.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

constexpr const char* kFolderMessage =
    "Could not copy files in installation path, please re-select path";
constexpr const char* kAbortQuestion = "Do you want abort Tallowick installation setup";
constexpr const char* kSuccessMessage =
    "Tallowick installed successfully!\nShortcut created on Desktop";
constexpr const char* kSuccessCaption = "Thank you for using Tallowick";
constexpr const char* kBrowseTitle = "Choose Installation folder";

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

const MessageEntry<CDestinationDialog> CDestinationDialog::kMessageMap[] = {
    {res::destination::kBack, Notification::Clicked, &CDestinationDialog::OnBack},
    {res::destination::kBrowse, Notification::Clicked, &CDestinationDialog::OnBrowse},
};

CDestinationDialog::CDestinationDialog(std::string appTitle)
    : Dialog(res::DialogTemplateOf(res::kDestinationDialog)), m_appTitle(std::move(appTitle)) {
  SetMessageMap(MessageMap(this, kMessageMap));
}

CDestinationDialog::~CDestinationDialog() = default;

void CDestinationDialog::OnBack() { EndDialog(kResultBack); }

void CDestinationDialog::OnBrowse() {
  const std::optional<std::string> chosen = GetHost().ChooseFolder(kBrowseTitle);
  if (chosen) GetItem(res::destination::kFolder).SetText(*chosen);
}

void CDestinationDialog::OnCancel() {
  if (GetHost().ShowMessage(kAbortQuestion, m_appTitle, MessageIcon::Stop, MessageButtons::YesNo) ==
      kIdYes) {
    Dialog::OnCancel();
  }
}

void CDestinationDialog::OnOK() {
  const std::string folder = GetItem(res::destination::kFolder).GetText();
  const std::optional<std::string> sourceFolder = CurrentWorkingFolder();
  const std::optional<Destinations> plan = PlanDestinations(folder);
  if (!plan || !EnterOrCreateFolder(folder, sourceFolder)) {
    ShowStop(kFolderMessage);
    return;
  }
  ::mkdir(plan->imageFolder.c_str(), 0755);  // an existing folder is fine
  for (std::size_t i = 0; i < kInstallFiles.size(); ++i)
    CopyEntry(kInstallFiles[i], plan->files[i], sourceFolder);

  for (const ShortcutSpec& shortcut : kShortcuts) {
    CreateDesktopShortcut(folder, shortcut.fileName, shortcut.linkName, shortcut.description,
                          shortcut.kind, shortcut.iconFile);
  }
  // The success box stands over the page, which stays on the screen until the
  // box is closed; the page's run then ends with OK.
  GetHost().ShowMessage(kSuccessMessage, kSuccessCaption, MessageIcon::Information,
                        MessageButtons::Ok);
  Dialog::OnOK();
}

void CDestinationDialog::CopyEntry(std::string_view entry, const std::string& destination,
                                   const std::optional<std::string>& sourceFolder) {
  const std::optional<std::string> source =
      sourceFolder ? JoinPath(*sourceFolder, entry) : std::nullopt;
  if (!source || !CopyFileReplacing(*source, destination)) {
    ShowStop("Could not copy file \"" + std::string(entry) + "\"");
  }
}

void CDestinationDialog::ShowStop(const std::string& text) {
  GetHost().ShowMessage(text, m_appTitle, MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace tallowick
