#include "installer/destination_dialog.h"

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/host.h"

namespace tallowick {
namespace {

constexpr const char* kFolderMessage =
    "Could not copy files in installation path, please re-select path";
constexpr const char* kAbortQuestion = "Do you want abort Tallowick installation setup";
constexpr const char* kSuccessMessage =
    "Tallowick installed successfully!\nShortcut created on Desktop";
constexpr const char* kSuccessCaption = "Thank you for using Tallowick";
constexpr const char* kBrowseTitle = "Choose Installation folder";

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
  // The chosen folder is taken unchanged: nothing is appended to it.
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
  if (!Install(GetItem(res::destination::kFolder).GetText())) {
    ShowStop(kFolderMessage);
    return;
  }
  // The success box stands over the page, which stays on the screen until the
  // box is closed; the page's run then ends with OK.
  GetHost().ShowMessage(kSuccessMessage, kSuccessCaption, MessageIcon::Information,
                        MessageButtons::Ok);
  Dialog::OnOK();
}

void CDestinationDialog::ShowStop(const std::string& text) {
  GetHost().ShowMessage(text, m_appTitle, MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace tallowick
