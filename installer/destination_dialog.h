#pragma once
// The installer's destination page (template 142): the installation folder,
// shown as the text of control 1010, chosen with "B&rowse"; "&Next >" installs,
// "< &Back" returns to the welcome page, "&Cancel" asks before abandoning.
#include <optional>
#include <string>
#include <string_view>

#include "ui/dialog.h"

namespace tallowick {

class CDestinationDialog : public Dialog {
 public:
  // Result of the modal run when the user goes back to the welcome page.
  static constexpr int kResultBack = 3;

  // `appTitle`: the caption of the installer's own message boxes.
  explicit CDestinationDialog(std::string appTitle);
  ~CDestinationDialog() override;

  // Installs into the folder shown; the page stays open when the folder can be
  // neither entered nor created.
  void OnOK() override;
  // Asks whether to abandon the installation; ends with Cancel on Yes.
  void OnCancel() override;

 private:
  void OnBack();
  void OnBrowse();
  // Copies the file table into `folder`, entered or created (its last level
  // only), and puts the shortcuts on the desktop; each file that cannot be
  // copied gets its message. False, with nothing changed, when the folder
  // is no absolute path, a path in it would be too long, or it can be
  // neither entered nor created. Each system has its own (the *_posix and
  // *_windows files).
  bool Install(const std::string& folder);
  // Copies one entry of the file table; shows the copy message when it fails.
  void CopyEntry(std::string_view entry, const std::string& destination,
                 const std::optional<std::string>& sourceFolder);
  void ShowStop(const std::string& text);

  std::string m_appTitle;
  static const MessageEntry<CDestinationDialog> kMessageMap[];
};

}  // namespace tallowick
