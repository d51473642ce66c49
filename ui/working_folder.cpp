#include "ui/working_folder.h"

#include <unistd.h>

#include <array>

namespace tallowick {

std::optional<std::string> CurrentWorkingFolder() {
  std::array<char, kMaxPathLength + 1> buffer{};
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return std::nullopt;
  return std::string(buffer.data());
}

bool ChangeWorkingFolder(const std::string& folder) {
  return !folder.empty() && ::chdir(folder.c_str()) == 0;
}

WorkingFolderGuard::WorkingFolderGuard() : m_folder(CurrentWorkingFolder()) {}

WorkingFolderGuard::~WorkingFolderGuard() {
  if (m_folder) ChangeWorkingFolder(*m_folder);
}

}  // namespace tallowick
