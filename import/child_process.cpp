#include "import/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/exit_cleanup.h"
#include "platform/write_all.h"

namespace tallowick {

bool RunInChildProcess(const std::function<std::string()>& work, std::string& message,
                       unsigned cpuSeconds) {
  int channel[2];
  if (pipe(channel) != 0) {
    message = std::string("no pipe: ") + std::strerror(errno);
    return false;
  }
  pid_t child = fork();
  if (child < 0) {
    message = std::string("no child process: ") + std::strerror(errno);
    close(channel[0]);
    close(channel[1]);
    return false;
  }
  if (child == 0) {
    close(channel[0]);
    // The parent's signal thread is not here: the child ends on a signal
    // the ordinary way, and the parent cleans up after both.
    platform::ResetSignalsInChild();
    // SIGXCPU at the soft limit ends the child; the hard limit a second
    // later ends it even if that signal is caught.
    const rlimit limit{cpuSeconds, cpuSeconds + 1};
    setrlimit(RLIMIT_CPU, &limit);
    bool sent = platform::WriteAll(channel[1], work());
    // _exit: the parent's atexit handlers and stdio buffers are not ours.
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  std::string answer;
  char buffer[4096];
  for (;;) {
    ssize_t got = read(channel[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    message = std::move(answer);
    return true;
  }
  // A SIGKILL counts as the limit only when the child used that much time
  // (it may also come from the out-of-memory killer).
  const long usedSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec;
  if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU ||
                              (WTERMSIG(status) == SIGKILL && usedSeconds >= static_cast<long>(cpuSeconds)))) {
    message = "the reader took more than " + std::to_string(cpuSeconds) + " s of processor time";
    return false;
  }
  message = WIFSIGNALED(status) ? "the reader stopped on signal " + std::to_string(WTERMSIG(status))
                                : "the reader ended with status " + std::to_string(WEXITSTATUS(status));
  return false;
}

}  // namespace tallowick
