#pragma once
// The process's current working folder, read and changed; file dialogs never
// change it.
#include <cstddef>
#include <optional>
#include <string>

namespace tallowick {

// Longest path the program composes (bytes, without the terminating NUL).
inline constexpr std::size_t kMaxPathLength = 4095;

// The current working folder, or nothing when it cannot be read (removed, or
// longer than kMaxPathLength).
std::optional<std::string> CurrentWorkingFolder();
// Makes `folder` the working folder; false when it cannot be entered.
bool ChangeWorkingFolder(const std::string& folder);

// Remembers the working folder and restores it when it goes out of scope.
class WorkingFolderGuard {
 public:
  WorkingFolderGuard();
  ~WorkingFolderGuard();
  WorkingFolderGuard(const WorkingFolderGuard&) = delete;
  WorkingFolderGuard& operator=(const WorkingFolderGuard&) = delete;

 private:
  std::optional<std::string> m_folder;
};

}  // namespace tallowick
