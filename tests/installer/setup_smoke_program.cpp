// The program `tallowick-setup` on a real display, checked from inside: the
// same application object (its title taken from the file name this program
// is started as) walks the wizard by the script of setup_smoke_run.h and
// writes its report into the folder given as the only argument. Exit status
// 0 only when every check held and the report was written.
#include <wx/app.h>

#include <iostream>
#include <string>

#include "installer/setup_program.h"
#include "tests/installer/setup_smoke_run.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_text.h"

namespace tallowick {

class SetupSmokeProgram : public SetupProgram {
 public:
  bool OnInit() override {
    if (argc != 2 || argv[1].empty()) {
      std::cerr << "usage: tallowick-setup <folder for the report, screenshots and installation>\n";
      return false;
    }
    m_folder = FromWx(argv[1]);
    InstallFatalAssertHandler();
    return SetupProgram::OnInit();
  }

  int OnRun() override { return RunSetupSmoke(AppTitle(), m_folder) ? 0 : 1; }

 private:
  std::string m_folder;
};

}  // namespace tallowick

wxIMPLEMENT_APP(tallowick::SetupSmokeProgram);
