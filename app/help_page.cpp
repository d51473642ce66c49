#include "app/help_page.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <array>
#include <filesystem>
#include <system_error>

#include "platform/path_text.h"
#ifdef _WIN32
#include "platform/wide_text.h"
#endif
#include "ui/working_folder.h"

namespace tallowick {

namespace {

constexpr const char* kCaption = "Tallowick";
#ifndef _WIN32
constexpr const char* kInstalledHelpFolder = "share/tallowick";
#endif

std::optional<std::string> Bounded(std::string path) {
  if (path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

bool HoldsFile(const std::string& path) {
  std::error_code error;
#ifdef _WIN32
  return std::filesystem::is_regular_file(platform::Widen(path), error);
#else
  return std::filesystem::is_regular_file(path, error);
#endif
}

}  // namespace

std::optional<std::string> HelpPagePath() {
  std::optional<std::string> folder = CurrentWorkingFolder();
  if (!folder) return std::nullopt;
  return Bounded(platform::WithEndSeparator(*folder) + kHelpPageName);
}

#ifdef _WIN32

// The installer puts the help page beside the program.
std::optional<std::string> InstalledHelpPagePath(const std::string& programPath) {
  return Bounded(platform::JoinPath(platform::FolderOf(programPath), kHelpPageName));
}

std::optional<std::string> InstalledHelpPagePath() {
  std::array<wchar_t, kMaxPathLength + 1> buffer{};
  const DWORD length =
      ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  // A result that fills the buffer was cut.
  if (length == 0 || length >= buffer.size()) return std::nullopt;
  return InstalledHelpPagePath(platform::Narrow(std::wstring_view(buffer.data(), length)));
}

#else

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

#endif

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
