#pragma once
// The terminal (console) a command-line program runs in: whether a standard
// stream is one, the echo of what is typed, a pipe whose reader has gone,
// and the program's arguments in UTF-8.
#include <string>
#include <vector>

#include "platform/exit_cleanup.h"

namespace tallowick::platform {

enum class StandardStream { Input, Output, Error };

bool IsTerminal(StandardStream stream);

// Turns the echo of standard input off while the object lives; a signal
// that ends the process meanwhile puts the echo back and ends the line the
// question stands on. Does nothing when standard input is no terminal.
class EchoOff {
 public:
  EchoOff();
  ~EchoOff();
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  bool m_off = false;
  unsigned long m_saved = 0;  // the console mode on Windows
  ScopedCleanup m_restore;
};

// True when standard output is a pipe or socket whose reader has gone.
bool OutputReaderIsGone();

// Sets up the console for UTF-8 (Windows: output code page 65001) and
// returns the arguments after the program's name in UTF-8 (Windows: from
// the wide command line, so that any file name can be given).
std::vector<std::string> StartCommandLine(int argc, char** argv);

}  // namespace tallowick::platform
