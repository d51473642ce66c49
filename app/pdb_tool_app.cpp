#include "app/pdb_tool_app.h"

#include <cstdlib>
#include <string>

#include "app/pdb_generator.h"
#include "app/smoke_run.h"
#include "platform/exit_cleanup.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_host.h"

namespace tallowick {

bool CPdbToolApp::OnInit() {
  // The command line is not read.
  SetAppName("tallowick");
  return true;
}

int CPdbToolApp::OnRun() {
  WxHost host;
  PDBGenerator sheet(host);

  // TALLOWICK_SMOKE=<folder>: check the shown sheet, photograph its pages into
  // the folder, write a report there and end (status 0 when all checks held).
  const char* smokeFolder = std::getenv("TALLOWICK_SMOKE");
  int status = 0;
  if (smokeFolder != nullptr && *smokeFolder != '\0') {
    InstallFatalAssertHandler();
    host.CallWhenSheetShown([&](wxDialog& window) {
      status = RunSmokeChecks(host, sheet, window, smokeFolder) ? 0 : 1;
      sheet.EndDialog(kIdCancel);
    });
  }
  sheet.DoModal(host);
  return status;
}

}  // namespace tallowick

wxIMPLEMENT_APP_NO_MAIN(tallowick::CPdbToolApp);

int main(int argc, char** argv) {
  // Before wx starts any thread: a signal that ends the program first
  // removes the temporary data source and the files of a run in progress.
  tallowick::platform::InstallSignalCleanup();
  return wxEntry(argc, argv);
}
