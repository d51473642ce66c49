#pragma once
// What pages and dialogs ask of the desktop: message boxes, the file and folder
// dialogs, the wait window, opening a file with the desktop's program, and the
// modal runs of dialogs and sheets. The wx back end (WxHost) and the scripted
// test host (ScriptedHost) implement it.
#include <memory>
#include <optional>
#include <string>

namespace tallowick {

class Dialog;
class PropertySheet;
struct DialogTemplate;

enum class MessageIcon { None, Stop, Information, Question, Exclamation };
enum class MessageButtons { Ok, OkCancel, YesNo };

// The open-file dialog: the file must exist, no read-only check box, the
// working folder is never changed by it.
struct FileDialogOptions {
  // Pairs of description and patterns separated by '|', ending with "||":
  // "Microsoft Access Database(*.mdb)|*.mdb|Excel File(*.xls)|*.xls||".
  // Patterns match file names in either letter case.
  std::string filter;
  std::string defaultExtension;  // without the dot: "mdb"
  std::string initialName;       // file name shown at first; may be a pattern such as "*Helper.mhl"
  std::string initialFolder;     // folder shown at first; empty: the desktop's choice
  std::string title;             // empty: the desktop's own title
};

// The modeless "Please wait" window; it goes away when the
// object is destroyed.
class WaitWindow {
 public:
  virtual ~WaitWindow() = default;
};

class Host {
 public:
  virtual ~Host() = default;

  // Shows a message box and returns the button pressed (kIdOk, kIdCancel,
  // kIdYes, kIdNo).
  virtual int ShowMessage(const std::string& text, const std::string& caption,
                          MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok) = 0;

  // The full path of the chosen file, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFile(const FileDialogOptions& options) = 0;

  // The chosen folder (without a trailing separator), or nothing on cancel.
  virtual std::optional<std::string> ChooseFolder(const std::string& title) = 0;

  // Shows the wait window on `layout`, painted before this returns, over the
  // active window.
  virtual std::unique_ptr<WaitWindow> ShowWaitWindow(const DialogTemplate& layout) = 0;

  // Opens a file (document, log, help page) with the desktop's program for it.
  // True when the desktop accepted the request.
  virtual bool OpenWithDesktop(const std::string& path) = 0;

  // Modal runs; the result is what EndDialog was given.
  virtual int RunModal(Dialog& dialog) = 0;
  virtual int RunModal(PropertySheet& sheet) = 0;
};

}  // namespace tallowick
