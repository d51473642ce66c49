// The program Setup.exe.
#include <windows.h>

#include "installer/setup_program_windows.h"
#include "ui/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tallowick::Win32Host host;
  return tallowick::RunSetup(host, tallowick::SetupAppTitle());
}
