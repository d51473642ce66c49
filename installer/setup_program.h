#pragma once
// The wx program `tallowick-setup`: runs the installer's wizard on the desktop.
#include <wx/app.h>

#include <string>

namespace tallowick {

class SetupProgram : public wxApp {
 public:
  bool OnInit() override;
  // Runs the wizard; the result is the program's exit status.
  int OnRun() override;

 private:
  std::string m_appTitle;
};

}  // namespace tallowick
