#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <memory>

#include "platform/terminal.h"

namespace tallowick::platform {

namespace {

int DescriptorOf(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return STDIN_FILENO;
    case StandardStream::Output:
      return STDOUT_FILENO;
    case StandardStream::Error:
      return STDERR_FILENO;
  }
  return STDERR_FILENO;
}

// The terminal's settings before the echo went off; one prompt at a time.
termios g_saved{};

void RestoreTerminal() { tcsetattr(STDIN_FILENO, TCSANOW, &g_saved); }

}  // namespace

bool IsTerminal(StandardStream stream) { return isatty(DescriptorOf(stream)) != 0; }

EchoOff::EchoOff() {
  termios saved{};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
  g_saved = saved;
  // Registered before the echo goes off.
  m_restore = ScopedCleanup([] {
    RestoreTerminal();
    const ssize_t written = write(STDERR_FILENO, "\n", 1);
    static_cast<void>(written);  // nothing more to do about a failed line break
  });
  termios quiet = saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  m_off = true;
}

EchoOff::~EchoOff() {
  if (!m_off) return;
  RestoreTerminal();
  m_restore.Release();
}

bool OutputReaderIsGone() {
  struct stat status {};
  if (fstat(STDOUT_FILENO, &status) != 0 ||
      !(S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))) {
    return false;
  }
  // A pipe without readers polls as an error on its writing end; a socket
  // whose peer closed polls as hung up.
  pollfd probe{STDOUT_FILENO, POLLOUT, 0};
  if (poll(&probe, 1, 0) != 1) return false;
  return (probe.revents & (POLLERR | POLLHUP)) != 0;
}

std::vector<std::string> StartCommandLine(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace tallowick::platform
