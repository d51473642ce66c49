#include "cli/standard_output.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "cli/commands.h"
#include "platform/exit_cleanup.h"

namespace tallowick::cli {

bool ReaderIsGone(int fd) {
  struct stat status {};
  if (fstat(fd, &status) != 0 || !(S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))) {
    return false;
  }
  // A pipe without readers polls as an error on its writing end; a socket
  // whose peer closed polls as hung up.
  pollfd probe{fd, POLLOUT, 0};
  if (poll(&probe, 1, 0) != 1) return false;
  return (probe.revents & (POLLERR | POLLHUP)) != 0;
}

int FinishStandardOutput(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (out) return status;
  if (ReaderIsGone(STDOUT_FILENO)) platform::EndAfterSignal(SIGPIPE);
  err << "tallowick-cli: standard output could not be written completely\n";
  return kExitFailure;
}

}  // namespace tallowick::cli
