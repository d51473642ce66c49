#include "app/pdb_tool_app_win32.h"

#include "app/pdb_generator.h"
#include "ui/win32/win32_host.h"

namespace tallowick {

int CPdbToolApp::InitInstance() {
  // The command line is not read.
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
  ::InitCommonControlsEx(&controls);
  Win32Host host;
  PDBGenerator sheet(host);
  OnSheetBuilt(host, sheet);
  sheet.DoModal(host);
  return 0;
}

void CPdbToolApp::OnSheetBuilt(Win32Host& /*host*/, PDBGenerator& /*sheet*/) {}

}  // namespace tallowick
