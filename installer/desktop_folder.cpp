#include "installer/desktop_folder.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "installer/path_join.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

std::optional<std::string> AskXdgUserDir() {
  std::FILE* pipe = ::popen("xdg-user-dir DESKTOP 2>/dev/null", "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  char buffer[1024];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0 &&
         output.size() <= kMaxPathLength + 1) {
    output.append(buffer, read);
  }
  const int status = ::pclose(pipe);
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  if (!output.empty() && output.back() == '\n') output.pop_back();
  if (output.empty() || output.front() != '/' || output.size() > kMaxPathLength ||
      output.find('\n') != std::string::npos) {
    return std::nullopt;
  }
  return output;
}

std::optional<std::string> HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home);
  const passwd* user = ::getpwuid(::getuid());
  if (user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/')
    return std::string(user->pw_dir);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> DesktopFolder() {
  if (auto named = AskXdgUserDir()) return named;
  const std::optional<std::string> home = HomeFolder();
  if (!home) return std::nullopt;
  return JoinPath(*home, "Desktop");
}

}  // namespace tallowick
