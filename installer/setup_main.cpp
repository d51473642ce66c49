// The program `tallowick-setup`.
#include "installer/setup_program.h"
#include "platform/exit_cleanup.h"

wxIMPLEMENT_APP_NO_MAIN(tallowick::SetupProgram);

int main(int argc, char** argv) {
  // Before wx starts any thread: a signal that ends the installation first
  // removes the temporary file of a copy in progress.
  tallowick::platform::InstallSignalCleanup();
  return wxEntry(argc, argv);
}
