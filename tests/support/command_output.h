#pragma once
// Runs a shell command and returns what it wrote to its standard output.
#include <string>

namespace tallowick::testing {

// Output of `command`; `status` gets the exit status when given.
std::string CommandOutput(const std::string& command, int* status = nullptr);

// `text` quoted for a POSIX shell.
std::string ShellQuoted(const std::string& text);

}  // namespace tallowick::testing
