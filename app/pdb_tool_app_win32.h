#pragma once
// The application object of Tallowick.exe: shows the sheet once and ends
// when it closes. There is no frame window and no message loop of the
// program's own (the sheet's modal run has its own).
namespace tallowick {

class PDBGenerator;
class Win32Host;

class CPdbToolApp {
 public:
  virtual ~CPdbToolApp() = default;
  // Start-up: the common controls, then the sheet's modal run. The result
  // is the program's exit status.
  int InitInstance();

 protected:
  // Called with the sheet built, just before its modal run. The program
  // does nothing here; a check of the running program hooks in to see the
  // sheet on the screen (Win32Host::CallWhenSheetShown).
  virtual void OnSheetBuilt(Win32Host& host, PDBGenerator& sheet);
};

}  // namespace tallowick
