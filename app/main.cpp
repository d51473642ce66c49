// The program `tallowick`.
#include "app/pdb_tool_app.h"
#include "platform/exit_cleanup.h"

wxIMPLEMENT_APP_NO_MAIN(tallowick::CPdbToolApp);

int main(int argc, char** argv) {
  // Before wx starts any thread: a signal that ends the program first
  // removes the temporary data source and the files of a run in progress.
  tallowick::platform::InstallSignalCleanup();
  return wxEntry(argc, argv);
}
