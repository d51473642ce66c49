#include "ui/working_folder.h"

#ifdef _WIN32
#include <direct.h>
#include <windows.h>

#include "platform/wide_text.h"
#else
#include <unistd.h>
#endif

#include <array>

namespace tallowick {

#ifdef _WIN32

// The folder's name in UTF-8, whatever the system's code page.
std::optional<std::string> CurrentWorkingFolder() {
  std::array<wchar_t, kMaxPathLength + 1> buffer{};
  if (::_wgetcwd(buffer.data(), static_cast<int>(buffer.size())) == nullptr) return std::nullopt;
  std::string folder = platform::Narrow(buffer.data());
  if (folder.size() > kMaxPathLength) return std::nullopt;
  return folder;
}

bool ChangeWorkingFolder(const std::string& folder) {
  return !folder.empty() && ::_wchdir(platform::Widen(folder).c_str()) == 0;
}

#else

std::optional<std::string> CurrentWorkingFolder() {
  std::array<char, kMaxPathLength + 1> buffer{};
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return std::nullopt;
  return std::string(buffer.data());
}

bool ChangeWorkingFolder(const std::string& folder) {
  return !folder.empty() && ::chdir(folder.c_str()) == 0;
}

#endif

WorkingFolderGuard::WorkingFolderGuard() : m_folder(CurrentWorkingFolder()) {}

WorkingFolderGuard::~WorkingFolderGuard() {
  if (m_folder) ChangeWorkingFolder(*m_folder);
}

}  // namespace tallowick
