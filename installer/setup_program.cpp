#include "installer/setup_program.h"

#include <cstdlib>
#include <filesystem>

#include "installer/file_table.h"
#include "installer/installer_app.h"
#include "installer/setup_smoke_run.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_text.h"

namespace tallowick {

bool SetupProgram::OnInit() {
  // The message boxes carry the program's file name without extension; the
  // command line is not read otherwise.
  m_appTitle = argc > 0 ? std::filesystem::path(FromWx(argv[0])).stem().string() : std::string();
  if (m_appTitle.empty()) m_appTitle = std::string(kSetupProgramName);
  SetAppName(kSetupProgramName.data());
  return true;
}

int SetupProgram::OnRun() {
  // TALLOWICK_SMOKE=<folder>: walk the wizard on the screen, check and
  // photograph both pages into the folder, write a report there and end
  // (status 0 when all checks held).
  const char* smokeFolder = std::getenv("TALLOWICK_SMOKE");
  if (smokeFolder != nullptr && *smokeFolder != '\0') {
    InstallFatalAssertHandler();
    return RunSetupSmoke(m_appTitle, smokeFolder) ? 0 : 1;
  }
  WxHost host;
  CInstallerApp(host, m_appTitle).InitInstance();
  return 0;
}

}  // namespace tallowick

wxIMPLEMENT_APP(tallowick::SetupProgram);
