#include "installer/setup_program_windows.h"

#include <filesystem>

#include "installer/file_table.h"
#include "installer/installer_app.h"
#include "platform/wide_text.h"
#include "ui/win32/win32_host.h"

namespace tallowick {

std::string SetupAppTitle() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string(kSetupProgramName);
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::string stem = platform::Narrow(std::filesystem::path(path).stem().wstring());
  return stem.empty() ? std::string(kSetupProgramName) : stem;
}

int RunSetup(Win32Host& host, const std::string& appTitle) {
  // The command line is not read.
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&controls);
  CInstallerApp(host, appTitle).InitInstance();
  return 0;
}

}  // namespace tallowick
