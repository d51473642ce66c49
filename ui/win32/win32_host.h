#pragma once
// The Host of the Windows program: MessageBoxW, GetOpenFileNameW,
// SHBrowseForFolderW, the modeless wait window, ShellExecuteW and the modal
// runs of dialogs (DialogBoxIndirectParamW) and sheets (PropertySheetW).
// Images (icons, the installer's picture) come from the program's resources.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/host.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

class Win32Host : public Host {
 public:
  // `resources`: the module whose icons and bitmaps the templates name.
  explicit Win32Host(HINSTANCE resources = ::GetModuleHandleW(nullptr));
  ~Win32Host() override;

  int ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                  MessageButtons buttons) override;
  std::optional<std::string> ChooseFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  std::unique_ptr<WaitWindow> ShowWaitWindow(const DialogTemplate& layout) override;
  bool OpenWithDesktop(const std::string& path) override;
  int RunModal(Dialog& dialog) override;
  int RunModal(PropertySheet& sheet) override;

  HINSTANCE Resources() const { return m_resources; }

  // Called once the next modal sheet is on the screen and its OnInitDialog
  // has run, inside its modal run (a check of the running program hooks in here).
  void CallWhenSheetShown(std::function<void(HWND sheet)> action);
  // For the sheet: the action, handed over once.
  std::function<void(HWND)> TakeSheetShownAction();

 private:
  HINSTANCE m_resources;
  std::function<void(HWND)> m_sheetShown;
};

// The window new dialogs and message boxes belong to: the thread's active
// window, or none.
HWND CurrentOwnerWindow();

}  // namespace tallowick
