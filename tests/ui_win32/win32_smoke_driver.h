#pragma once
// Drives and checks the running sheet from a second thread, the way a user
// and an accessibility tool would: through Win32 messages to the windows
// (text, clicks posted as WM_COMMAND, the open-file dialog filled in), and
// photographs the pages.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tallowick::smoke {

struct SmokeSettings {
  std::string database;  // the SQLite file to generate from
  std::string query;     // typed into the query box
  std::string pdbName;   // typed into "PDB Name :"
  std::string outputFolder;
  std::string shotsFolder;  // generator.bmp, viewer.bmp
  std::size_t expectedRows = 0;
};

class Report {
 public:
  // Records one check; false when it failed.
  bool Check(bool held, const std::string& what);
  bool AllHeld() const { return m_failures == 0 && m_checks > 0; }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
  int m_checks = 0;
  int m_failures = 0;
};

// The steps the checks of the running programs share.
inline constexpr auto kPatience = std::chrono::seconds(40);
// Polls `condition` until it holds; false when `patience` ran out first.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds patience = kPatience);
std::string TextOf(HWND window);
void SetText(HWND window, const std::string& text);
std::wstring ClassOf(HWND window);
// A click as the button sends it: WM_COMMAND to its window, posted.
void Click(HWND window, int id);
// A visible dialog of `thread` other than `except` for which `wanted` holds.
HWND FindDialog(DWORD thread, HWND except, const std::function<bool(HWND)>& wanted);
struct MessageBoxSeen {
  std::string text;
  HICON icon = nullptr;
};
// Waits for a message box, reads it and answers it with OK.
std::optional<MessageBoxSeen> AnswerMessageBox(DWORD thread, HWND except);
// Every control of template `templateId` on `page`: id, class, text, shown,
// and the page's size.
void CheckTemplate(HWND page, int templateId, Report& report);
// The window as on the screen, as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path);
bool FileExists(const std::string& path);
std::string Join(const std::string& folder, const std::string& name);

// Runs every step against the sheet window and closes it with its Close
// button at the end (or when a step cannot go on).
void DriveSheet(HWND sheet, const SmokeSettings& settings, Report& report);

}  // namespace tallowick::smoke
