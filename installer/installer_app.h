#pragma once
// The installer's application object: the wizard of the welcome page and the
// destination page. It needs no display: the Host shows the pages.
#include <string>

namespace tallowick {

class Host;

class CInstallerApp {
 public:
  // `appTitle`: the caption of the installer's message boxes, the program's
  // file name.
  CInstallerApp(Host& host, std::string appTitle);

  // Welcome, then destination; Back returns to welcome and Next to a freshly
  // built destination page as often as the user likes. Ends on Cancel of the
  // welcome page, or when the destination page ends otherwise than with Back
  // (installed, or abandoned). Always returns false: the program then ends.
  bool InitInstance();

 private:
  Host& m_host;
  std::string m_appTitle;
};

}  // namespace tallowick
