#include "app/pdb_tool_app.h"

#include "app/pdb_generator.h"
#include "resources/images.h"
#include "ui/image_resources.h"
#include "ui/wx/wx_host.h"

namespace tallowick {

bool CPdbToolApp::OnInit() {
  // The command line is not read.
  SetAppName("tallowick");
  SetXpmImageLookup(res::XpmImage);
  return true;
}

int CPdbToolApp::OnRun() {
  WxHost host;
  PDBGenerator sheet(host);
  OnSheetBuilt(host, sheet);
  sheet.DoModal(host);
  return 0;
}

void CPdbToolApp::OnSheetBuilt(WxHost& /*host*/, PDBGenerator& /*sheet*/) {}

}  // namespace tallowick
