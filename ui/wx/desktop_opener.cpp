#include "ui/wx/desktop_opener.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace tallowick {
namespace {

// The child starts with no signal blocked and every signal at its default,
// whatever this process's threads have arranged for themselves.
bool Spawn(const std::string& opener, const std::string& path, pid_t& pid) {
  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) return false;
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::string program = opener;
  std::string argument = path;
  char* argv[] = {program.data(), argument.data(), nullptr};
  const int started = posix_spawnp(&pid, program.c_str(), nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  return started == 0;
}

}  // namespace

bool OpenWithDesktopProgram(const std::string& path, const std::string& opener,
                            std::chrono::milliseconds wait) {
  pid_t pid = 0;
  if (!Spawn(opener, path, pid)) return false;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ended < 0) return false;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Still running: the file is with a program that stays. Reap it when it ends.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace tallowick
