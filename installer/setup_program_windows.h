#pragma once
// The application of Setup.exe on the Win32 back end: the installer's wizard,
// then the program ends.
#include <string>

namespace tallowick {

class Win32Host;

// The caption of the installer's message boxes: the program's file name
// without extension ("Setup" when it cannot be found).
std::string SetupAppTitle();

// Start-up: the common controls, then the wizard on `host`. The result is
// the program's exit status.
int RunSetup(Win32Host& host, const std::string& appTitle);

}  // namespace tallowick
