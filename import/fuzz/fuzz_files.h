#pragma once
// A private folder for one fuzzing process: the inputs are written there as
// files (the readers take paths) and the temporary databases are made there.
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tallowick::fuzz {

inline const std::string& FuzzFolder() {
  // Never destroyed: the clean-up at exit still needs it.
  static const std::string* folder = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    auto* path = new std::string(std::string(base) + "/tallowick-fuzz-XXXXXX");
    if (mkdtemp(path->data()) == nullptr) std::abort();
    setenv("XDG_RUNTIME_DIR", path->c_str(), 1);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(FuzzFolder(), ignored);
    });
    return path;
  }();
  return *folder;
}

inline void WriteInput(const std::string& path, const unsigned char* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Stops the run when an import left a file of its own behind.
inline void ExpectNothingLeftBehind() {
  DIR* dir = opendir(FuzzFolder().c_str());
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    if (std::string(entry->d_name).rfind("tallowick-", 0) == 0) std::abort();
  }
  closedir(dir);
}

}  // namespace tallowick::fuzz
