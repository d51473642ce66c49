#include "installer/installer_app.h"

#include "installer/destination_dialog.h"
#include "installer/welcome_dialog.h"
#include "ui/standard_ids.h"

namespace tallowick {

CInstallerApp::CInstallerApp(Host& host, std::string appTitle)
    : m_host(host), m_appTitle(std::move(appTitle)) {}

bool CInstallerApp::InitInstance() {
  CWelcomeDialog welcome;
  CDestinationDialog destination(m_appTitle);
  // Every run builds the page afresh from its template, so the destination
  // page shows the default folder again after Back and Next.
  if (welcome.DoModal(m_host) == kIdCancel) return false;
  while (destination.DoModal(m_host) == CDestinationDialog::kResultBack) {
    if (welcome.DoModal(m_host) == kIdCancel) break;
  }
  return false;
}

}  // namespace tallowick
