#include "ui/testing/scripted_host.h"

#include <string>

#include "ui/dialog.h"
#include "ui/property_page.h"
#include "ui/property_sheet.h"
#include "ui/standard_ids.h"

namespace tallowick {
namespace {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return "none";
    case MessageIcon::Stop:
      return "stop";
    case MessageIcon::Information:
      return "information";
    case MessageIcon::Question:
      return "question";
    case MessageIcon::Exclamation:
      return "exclamation";
  }
  return "?";
}

bool AnswerFits(MessageButtons buttons, int answer) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == kIdOk;
    case MessageButtons::OkCancel:
      return answer == kIdOk || answer == kIdCancel;
    case MessageButtons::YesNo:
      return answer == kIdYes || answer == kIdNo;
  }
  return false;
}

}  // namespace

class ScriptedHost::ScriptedWaitWindow : public WaitWindow {
 public:
  explicit ScriptedWaitWindow(ScriptedHost& host) : m_host(host) {
    ++m_host.m_waitShown;
    ++m_host.m_waitOpen;
    m_host.m_journal.push_back("wait: open");
  }
  ~ScriptedWaitWindow() override {
    --m_host.m_waitOpen;
    m_host.m_journal.push_back("wait: close");
  }

 private:
  ScriptedHost& m_host;
};

ScriptedHost::ScriptedHost() = default;

ScriptedHost::~ScriptedHost() {
  m_sheets.clear();
  m_windows.clear();
}

std::unique_ptr<ScriptedWindow> ScriptedHost::Build(DialogWindow& window) {
  auto built = std::make_unique<ScriptedWindow>(window, window.Template());
  window.AttachPeer(*built, *this);
  return built;
}

ScriptedWindow& ScriptedHost::ShowPage(PropertyPage& page) { return OpenDialog(page); }

ScriptedWindow& ScriptedHost::OpenDialog(DialogWindow& dialog) {
  m_windows.push_back(Build(dialog));
  ScriptedWindow& window = *m_windows.back();
  dialog.OnInitDialog();
  return window;
}

ScriptedSheet& ScriptedHost::OpenSheet(PropertySheet& sheet) {
  std::vector<std::unique_ptr<ScriptedWindow>> pages;
  for (PropertyPage* page : sheet.Pages()) pages.push_back(Build(*page));
  std::vector<PropertyPage*> owners = sheet.Pages();
  m_sheets.push_back(std::make_unique<ScriptedSheet>(sheet, std::move(pages)));
  ScriptedSheet& built = *m_sheets.back();
  sheet.AttachPeer(built, *this);
  for (PropertyPage* page : owners) page->OnInitDialog();
  sheet.OnInitDialog();
  return built;
}

void ScriptedHost::AnswerMessage(int answer) { m_messageAnswers.push_back(answer); }
void ScriptedHost::AnswerFile(const std::string& path) { m_fileAnswers.emplace_back(path); }
void ScriptedHost::CancelFile() { m_fileAnswers.emplace_back(std::nullopt); }
void ScriptedHost::AnswerFolder(const std::string& path) { m_folderAnswers.emplace_back(path); }
void ScriptedHost::CancelFolder() { m_folderAnswers.emplace_back(std::nullopt); }

void ScriptedHost::AnswerDialog(int templateId, std::function<void(ScriptedWindow&)> script) {
  m_dialogScripts.push_back(DialogScript{templateId, std::move(script)});
}

void ScriptedHost::AnswerSheet(std::function<void(ScriptedSheet&)> script) {
  m_sheetScripts.push_back(std::move(script));
}

std::size_t ScriptedHost::PendingAnswers() const {
  return m_messageAnswers.size() + m_fileAnswers.size() + m_folderAnswers.size() +
         m_dialogScripts.size() + m_sheetScripts.size();
}

const MessageRecord& ScriptedHost::LastMessage() const {
  if (m_messages.empty()) throw ScriptError("no message box was shown");
  return m_messages.back();
}

int ScriptedHost::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) {
  MessageRecord record{text, caption, icon, buttons, kIdOk};
  m_journal.push_back("message: " + text);
  if (buttons != MessageButtons::Ok) {
    if (m_messageAnswers.empty()) {
      m_messages.push_back(record);
      throw ScriptError("no scripted answer for the message box \"" + text + "\" (" +
                        IconName(icon) + ")");
    }
    record.answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    if (!AnswerFits(buttons, record.answer)) {
      m_messages.push_back(record);
      throw ScriptError("the scripted answer " + std::to_string(record.answer) +
                        " is no button of \"" + text + "\"");
    }
  }
  m_messages.push_back(record);
  return record.answer;
}

std::optional<std::string> ScriptedHost::ChooseFile(const FileDialogOptions& options) {
  m_fileDialogs.push_back(options);
  m_journal.push_back("file-dialog");
  if (m_fileAnswers.empty())
    throw ScriptError("no scripted answer for an open-file dialog (" + options.filter + ")");
  auto answer = m_fileAnswers.front();
  m_fileAnswers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedHost::ChooseFolder(const std::string& title) {
  m_folderDialogs.push_back(title);
  m_journal.push_back("folder-dialog: " + title);
  if (m_folderAnswers.empty())
    throw ScriptError("no scripted answer for the folder dialog \"" + title + "\"");
  auto answer = m_folderAnswers.front();
  m_folderAnswers.pop_front();
  return answer;
}

std::unique_ptr<WaitWindow> ScriptedHost::ShowWaitWindow(const DialogTemplate&) {
  return std::make_unique<ScriptedWaitWindow>(*this);
}

bool ScriptedHost::OpenWithDesktop(const std::string& path) {
  m_opened.push_back(path);
  m_journal.push_back("open: " + path);
  return m_openResult;
}

int ScriptedHost::RunModal(Dialog& dialog) {
  const int templateId = dialog.TemplateId();
  m_modalRuns.push_back(templateId);
  m_journal.push_back("dialog: " + std::to_string(templateId));
  if (m_dialogScripts.empty()) {
    throw ScriptError("no scripted answer for the modal dialog " + std::to_string(templateId));
  }
  DialogScript next = std::move(m_dialogScripts.front());
  m_dialogScripts.pop_front();
  if (next.templateId != templateId) {
    throw ScriptError("modal dialog " + std::to_string(templateId) +
                      " came where the script expected " + std::to_string(next.templateId));
  }
  auto window = Build(dialog);
  dialog.OnInitDialog();
  next.script(*window);
  if (!window->IsEnded()) {
    throw ScriptError("the script left modal dialog " + std::to_string(templateId) + " open");
  }
  return window->Result();
}

int ScriptedHost::RunModal(PropertySheet& sheet) {
  m_journal.push_back("sheet: " + sheet.Caption());
  if (m_sheetScripts.empty())
    throw ScriptError("no scripted answer for the sheet \"" + sheet.Caption() + "\"");
  auto script = std::move(m_sheetScripts.front());
  m_sheetScripts.pop_front();
  ScriptedSheet& window = OpenSheet(sheet);
  script(window);
  if (window.IsOpen())
    throw ScriptError("the script left the sheet \"" + sheet.Caption() + "\" open");
  const int result = window.Result();
  std::erase_if(m_sheets, [&window](const auto& held) { return held.get() == &window; });
  return result;
}

}  // namespace tallowick
