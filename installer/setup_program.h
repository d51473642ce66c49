#pragma once
// The wx application object of `tallowick-setup`: runs the installer's wizard
// on the desktop.
#include <wx/app.h>

#include <string>

namespace tallowick {

class SetupProgram : public wxApp {
 public:
  bool OnInit() override;
  // Runs the wizard; the result is the program's exit status.
  int OnRun() override;

 protected:
  // The caption of the installer's message boxes: the program's file name
  // without extension.
  const std::string& AppTitle() const { return m_appTitle; }

 private:
  std::string m_appTitle;
};

}  // namespace tallowick
