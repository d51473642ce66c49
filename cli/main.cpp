#include <clocale>
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");  // number texts always use a decimal point
  const tallowick::cli::Words words(argv + 1, argv + argc);
  return tallowick::cli::RunCommandLine(words, std::cout, std::cerr);
}
