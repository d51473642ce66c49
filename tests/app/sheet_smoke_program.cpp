// The program `tallowick` on a real display, checked from inside: the same
// application object shows the same sheet; once it is on the screen the
// checks of sheet_smoke_run.h run, photograph it into the folder given as
// the only argument and close it. Exit status 0 only when every check held
// and the report was written.
#include <wx/app.h>
#include <wx/dialog.h>

#include <iostream>
#include <string>

#include "app/pdb_generator.h"
#include "app/pdb_tool_app.h"
#include "platform/exit_cleanup.h"
#include "tests/app/sheet_smoke_run.h"
#include "ui/standard_ids.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_text.h"

namespace tallowick {

class SheetSmokeApp : public CPdbToolApp {
 public:
  bool OnInit() override {
    if (argc != 2 || argv[1].empty()) {
      std::cerr << "usage: tallowick_sheet_smoke <folder for the report and screenshots>\n";
      return false;
    }
    m_folder = FromWx(argv[1]);
    InstallFatalAssertHandler();
    return CPdbToolApp::OnInit();
  }

  int OnRun() override {
    const int status = CPdbToolApp::OnRun();
    if (!m_checked) std::cerr << "the sheet was never shown: no checks ran\n";
    return m_checked && m_held ? status : 1;
  }

 protected:
  void OnSheetBuilt(WxHost& host, PDBGenerator& sheet) override {
    host.CallWhenSheetShown([this, &host, &sheet](wxDialog& window) {
      m_held = RunSmokeChecks(host, sheet, window, m_folder);
      m_checked = true;
      sheet.EndDialog(kIdCancel);
    });
  }

 private:
  std::string m_folder;
  bool m_checked = false;
  bool m_held = false;
};

}  // namespace tallowick

wxIMPLEMENT_APP_NO_MAIN(tallowick::SheetSmokeApp);

int main(int argc, char** argv) {
  tallowick::platform::InstallSignalCleanup();
  return wxEntry(argc, argv);
}
