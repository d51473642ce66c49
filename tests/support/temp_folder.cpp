#include "tests/support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace tallowick::testing {
namespace {

// Paths are UTF-8 text in the program, whatever the system's code page.
std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

TempFolder::TempFolder() {
  // A new folder of a random name; creating it fails when the name is taken.
  std::random_device random;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        base / ("tallowick-test-" + std::to_string(random() % 1000000000u));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      // Private to the user, as mkdtemp makes it.
      std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, error);
      m_path = Utf8(candidate);
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made in " + Utf8(base));
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(PathOf(m_path), ignored);
}

std::vector<std::string> TempFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PathOf(m_path))) {
    names.push_back(Utf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tallowick::testing
