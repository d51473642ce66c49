#pragma once
// Drives and checks the running sheet from a second thread, the way a user
// and an accessibility tool would: through Win32 messages to the windows
// (text, clicks posted as WM_COMMAND, the open-file dialog filled in), and
// photographs the pages.
#include <windows.h>

#include <string>
#include <vector>

namespace tallowick::smoke {

struct SmokeSettings {
  std::string database;   // the SQLite file to generate from
  std::string query;      // typed into the query box
  std::string pdbName;    // typed into "PDB Name :"
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

// Runs every step against the sheet window and closes it with its Close
// button at the end (or when a step cannot go on).
void DriveSheet(HWND sheet, const SmokeSettings& settings, Report& report);

}  // namespace tallowick::smoke
