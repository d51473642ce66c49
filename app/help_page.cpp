#include "app/help_page.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <system_error>

#include "ui/working_folder.h"

namespace tallowick {

namespace {

constexpr const char* kCaption = "Tallowick";
constexpr const char* kInstalledHelpFolder = "share/tallowick";

std::optional<std::string> Bounded(std::string path) {
  if (path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

bool HoldsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::optional<std::string> HelpPagePath() {
  std::optional<std::string> folder = CurrentWorkingFolder();
  if (!folder) return std::nullopt;
  std::string path = *folder;
  if (path.empty() || path.back() != '/') path += '/';
  return Bounded(path + kHelpPageName);
}

std::optional<std::string> InstalledHelpPagePath(const std::string& programPath) {
  const std::filesystem::path program(programPath);
  const std::filesystem::path prefix = program.parent_path().parent_path();
  return Bounded((prefix / kInstalledHelpFolder / kHelpPageName).string());
}

std::optional<std::string> InstalledHelpPagePath() {
  std::array<char, kMaxPathLength + 1> buffer{};
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  // A result that fills the buffer may have been cut.
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return std::nullopt;
  return InstalledHelpPagePath(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

std::vector<std::string> HelpPagePlaces() {
  std::vector<std::string> places;
  for (const std::optional<std::string>& place : {HelpPagePath(), InstalledHelpPagePath()}) {
    // Started in the installed folder, both are the same place.
    if (place && (places.empty() || places.back() != *place)) places.push_back(*place);
  }
  return places;
}

bool OpenHelpPage(Host& host, const std::vector<std::string>& places) {
  for (const std::string& path : places) {
    if (!HoldsFile(path)) continue;
    if (host.OpenWithDesktop(path)) return true;
    host.ShowMessage("The help page could not be opened. It is here:\n\n" + path, kCaption,
                     MessageIcon::Exclamation);
    return false;
  }
  std::string text = "The help page was not found.";
  if (!places.empty()) text += " It was looked for here:\n";
  for (const std::string& path : places) text += "\n" + path;
  host.ShowMessage(text, kCaption, MessageIcon::Exclamation);
  return false;
}

bool OpenHelpPage(Host& host) { return OpenHelpPage(host, HelpPagePlaces()); }

}  // namespace tallowick
