#pragma once
// A Host without a display: a test scripts the answers of the dialogs a page
// will open and reads back every message box, dialog and control.
//
//   ScriptedHost host;
//   MakePDB page;
//   ScriptedWindow& w = host.ShowPage(page);       // template built, OnInitDialog run
//   host.AnswerFile("/data/orders.mdb");            // the next open-file dialog
//   w.Click(res::generator::kBrowse);
//   EXPECT_EQ(host.LastMessage().text, "Database connected...");
//
// Rules: a message box with only OK needs no answer (it is recorded and
// returns kIdOk); any other box, every file and folder dialog, every modal
// dialog and modal sheet takes the next scripted answer of its kind, and
// throws ScriptError when there is none.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/host.h"
#include "ui/testing/script_error.h"
#include "ui/testing/scripted_sheet.h"
#include "ui/testing/scripted_window.h"

namespace tallowick {

class DialogWindow;
class PropertyPage;

struct MessageRecord {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  int answer = 0;
};

class ScriptedHost : public Host {
 public:
  ScriptedHost();
  ~ScriptedHost() override;

  // --- windows that stay open for the test to act on ---
  // A page as a sheet shows it: built from its template, OnInitDialog run.
  ScriptedWindow& ShowPage(PropertyPage& page);
  // A dialog shown without a modal run (its EndDialog is recorded in Result()).
  ScriptedWindow& OpenDialog(DialogWindow& dialog);
  // A sheet with all its pages created, as RunModal would show it, but the call
  // returns at once; the sheet stays open until a test closes it.
  ScriptedSheet& OpenSheet(PropertySheet& sheet);

  // --- scripted answers, each used once, in order of their kind ---
  void AnswerMessage(int answer);              // kIdYes, kIdNo, kIdOk, kIdCancel
  void AnswerFile(const std::string& path);    // next open-file dialog: this file
  void CancelFile();                           // next open-file dialog: Cancel
  void AnswerFolder(const std::string& path);  // next folder dialog: this folder
  void CancelFolder();                         // next folder dialog: Cancel
  // Next modal run of a dialog on template `templateId`: the script acts on the
  // built dialog (Type, Click ...) and must end it.
  void AnswerDialog(int templateId, std::function<void(ScriptedWindow&)> script);
  // Next modal run of a sheet: the script acts on it and must end it.
  void AnswerSheet(std::function<void(ScriptedSheet&)> script);
  // Scripted answers not yet used.
  std::size_t PendingAnswers() const;

  // --- what was shown ---
  const std::vector<MessageRecord>& Messages() const { return m_messages; }
  // The last message box (ScriptError when there was none).
  const MessageRecord& LastMessage() const;
  const std::vector<FileDialogOptions>& FileDialogs() const { return m_fileDialogs; }
  const std::vector<std::string>& FolderDialogs() const { return m_folderDialogs; }  // titles
  const std::vector<std::string>& OpenedPaths() const { return m_opened; }
  int WaitWindowsShown() const { return m_waitShown; }
  bool IsWaitWindowOpen() const { return m_waitOpen > 0; }
  std::vector<int> ModalDialogsRun() const { return m_modalRuns; }  // template ids
  // Everything above in order, one line each: "message: <text>", "file-dialog",
  // "folder-dialog: <title>", "dialog: <id>", "sheet: <caption>", "wait: open",
  // "wait: close", "open: <path>".
  const std::vector<std::string>& Journal() const { return m_journal; }
  // What OpenWithDesktop returns (true unless set).
  void SetOpenResult(bool accepted) { m_openResult = accepted; }

  // Host
  int ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                  MessageButtons buttons) override;
  std::optional<std::string> ChooseFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  std::unique_ptr<WaitWindow> ShowWaitWindow(const DialogTemplate& layout) override;
  bool OpenWithDesktop(const std::string& path) override;
  int RunModal(Dialog& dialog) override;
  int RunModal(PropertySheet& sheet) override;

 private:
  class ScriptedWaitWindow;
  struct DialogScript {
    int templateId;
    std::function<void(ScriptedWindow&)> script;
  };

  std::unique_ptr<ScriptedWindow> Build(DialogWindow& window);

  std::deque<int> m_messageAnswers;
  std::deque<std::optional<std::string>> m_fileAnswers;
  std::deque<std::optional<std::string>> m_folderAnswers;
  std::deque<DialogScript> m_dialogScripts;
  std::deque<std::function<void(ScriptedSheet&)>> m_sheetScripts;

  std::vector<MessageRecord> m_messages;
  std::vector<FileDialogOptions> m_fileDialogs;
  std::vector<std::string> m_folderDialogs;
  std::vector<std::string> m_opened;
  std::vector<int> m_modalRuns;
  std::vector<std::string> m_journal;
  int m_waitShown = 0;
  int m_waitOpen = 0;
  bool m_openResult = true;

  std::vector<std::unique_ptr<ScriptedWindow>> m_windows;
  std::vector<std::unique_ptr<ScriptedSheet>> m_sheets;
};

}  // namespace tallowick
