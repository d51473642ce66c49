// Tallowick.exe's application object on a real (Wine or Windows) display,
// driven from a second thread: the sheet, every control of both pages, a
// generation from a SQLite file through the generator page, the result on
// the viewer page, screenshots of both pages.
//   tallowick_win32_smoke DATABASE QUERY ROWS OUTPUT_FOLDER SHOTS_FOLDER
// Paths may be given as Linux paths under Wine (/x/y: Z:\x\y). Writes
// report.txt into SHOTS_FOLDER; exit status 0 only when every check held.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "app/pdb_generator.h"
#include "app/pdb_tool_app_win32.h"
#include "platform/exit_cleanup.h"
#include "platform/wide_text.h"
#include "tests/ui_win32/win32_smoke_driver.h"
#include "ui/win32/win32_host.h"

namespace tallowick {
namespace {

// A Linux path under Wine names the same file on drive Z:.
std::string WindowsPath(std::string path) {
  if (path.empty() || path.front() != '/') return path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

class SmokeApp : public CPdbToolApp {
 public:
  explicit SmokeApp(smoke::SmokeSettings settings) : m_settings(std::move(settings)) {}
  ~SmokeApp() override {
    if (m_driver.joinable()) m_driver.join();
  }
  const smoke::Report& Result() {
    if (m_driver.joinable()) m_driver.join();
    return m_report;
  }
  bool Shown() const { return m_shown; }

 protected:
  void OnSheetBuilt(Win32Host& host, PDBGenerator&) override {
    host.CallWhenSheetShown([this](HWND sheet) {
      m_shown = true;
      m_driver = std::thread([this, sheet] { smoke::DriveSheet(sheet, m_settings, m_report); });
    });
  }

 private:
  smoke::SmokeSettings m_settings;
  smoke::Report m_report;
  std::thread m_driver;
  bool m_shown = false;
};

}  // namespace
}  // namespace tallowick

int main() {
  using namespace tallowick;
  platform::InstallSignalCleanup();
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr || count != 6) {
    std::cerr << "usage: tallowick_win32_smoke DATABASE QUERY ROWS OUTPUT_FOLDER SHOTS_FOLDER\n";
    return 2;
  }
  smoke::SmokeSettings settings;
  settings.database = WindowsPath(platform::Narrow(wide[1]));
  settings.query = platform::Narrow(wide[2]);
  settings.expectedRows = std::stoul(platform::Narrow(wide[3]));
  settings.outputFolder = WindowsPath(platform::Narrow(wide[4]));
  settings.shotsFolder = WindowsPath(platform::Narrow(wide[5]));
  settings.pdbName = "Orders";
  ::LocalFree(wide);

  SmokeApp app(settings);
  app.InitInstance();
  const smoke::Report& report = app.Result();
  std::ofstream out(std::filesystem::path(platform::Widen(settings.shotsFolder + "\\report.txt")));
  if (!app.Shown()) {
    std::cerr << "the sheet was never shown: no checks ran\n";
    return 1;
  }
  for (const std::string& line : report.Lines()) out << line << "\n";
  out.flush();
  std::cout << (report.AllHeld() ? "every check held\n" : "some checks FAILED\n");
  return report.AllHeld() && out ? 0 : 1;
}
