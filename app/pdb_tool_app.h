#pragma once
// The application object: shows the sheet once and ends when it closes. There
// is no frame window and no message loop of the program's own.
#include <wx/app.h>

namespace tallowick {

class CPdbToolApp : public wxApp {
 public:
  bool OnInit() override;
  // Runs the sheet modally; the result is the program's exit status.
  int OnRun() override;
};

}  // namespace tallowick
