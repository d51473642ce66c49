#pragma once
// The Host of the real program: wxWidgets 3.2.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/host.h"

class wxDialog;
class wxWindow;

namespace tallowick {

class WxHost : public Host {
 public:
  WxHost();
  ~WxHost() override;

  int ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                  MessageButtons buttons) override;
  std::optional<std::string> ChooseFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  std::unique_ptr<WaitWindow> ShowWaitWindow(const DialogTemplate& layout) override;
  bool OpenWithDesktop(const std::string& path) override;
  int RunModal(Dialog& dialog) override;
  int RunModal(PropertySheet& sheet) override;

  // Called once the next modal sheet is on the screen, inside its modal run
  // (the smoke test checks and photographs the sheet from here).
  void CallWhenSheetShown(std::function<void(wxDialog& sheetWindow)> action);

 private:
  std::function<void(wxDialog&)> m_sheetShown;
};

// The window new dialogs belong to: the active window, else the program's
// top window. A hidden window, or one waiting to be deleted (a wait window
// just closed), never owns: its own owner takes its place.
wxWindow* CurrentOwnerWindow();

}  // namespace tallowick
