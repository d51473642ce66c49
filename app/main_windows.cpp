// The program Tallowick.exe.
#include <windows.h>

#include "app/pdb_tool_app_win32.h"
#include "platform/exit_cleanup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Ctrl-C, closing and logging off first remove the temporary data source
  // and the files of a run in progress.
  tallowick::platform::InstallSignalCleanup();
  tallowick::CPdbToolApp app;
  return app.InitInstance();
}
