#include <clocale>
#include <iostream>

#include "cli/commands.h"
#include "cli/standard_output.h"
#include "platform/exit_cleanup.h"
#include "platform/terminal.h"

int main(int argc, char** argv) {
  // Before any other thread exists: a signal then ends the run cleanly.
  tallowick::platform::InstallSignalCleanup();
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");  // number texts always use a decimal point
  const tallowick::cli::Words words = tallowick::platform::StartCommandLine(argc, argv);
  const int status = tallowick::cli::RunCommandLine(words, std::cout, std::cerr);
  return tallowick::cli::FinishStandardOutput(std::cout, std::cerr, status);
}
