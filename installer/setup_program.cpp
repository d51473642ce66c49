#include "installer/setup_program.h"

#include <filesystem>

#include "installer/file_table.h"
#include "installer/installer_app.h"
#include "resources/images.h"
#include "ui/image_resources.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_text.h"

namespace tallowick {

bool SetupProgram::OnInit() {
  // The message boxes carry the program's file name without extension; the
  // command line is not read otherwise.
  m_appTitle = argc > 0 ? std::filesystem::path(FromWx(argv[0])).stem().string() : std::string();
  if (m_appTitle.empty()) m_appTitle = std::string(kSetupProgramName);
  SetAppName(kSetupProgramName.data());
  SetXpmImageLookup(res::XpmImage);
  return true;
}

int SetupProgram::OnRun() {
  WxHost host;
  CInstallerApp(host, m_appTitle).InitInstance();
  return 0;
}

}  // namespace tallowick
