#pragma once
// The application object: shows the sheet once and ends when it closes. There
// is no frame window and no message loop of the program's own.
#include <wx/app.h>

namespace tallowick {

class PDBGenerator;
class WxHost;

class CPdbToolApp : public wxApp {
 public:
  bool OnInit() override;
  // Runs the sheet modally; the result is the program's exit status.
  int OnRun() override;

 protected:
  // Called with the sheet built, just before its modal run. The program does
  // nothing here; a check of the running program hooks in to see the sheet
  // on the screen (WxHost::CallWhenSheetShown).
  virtual void OnSheetBuilt(WxHost& host, PDBGenerator& sheet);
};

}  // namespace tallowick
