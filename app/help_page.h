#pragma once
// The help page, "Help.html": looked for in the working folder at the moment
// of the request, then in the help folder installed with the program
// (<program's folder>/../share/tallowick; on Windows the program's own
// folder), and shown by the desktop's program for it.
#include <optional>
#include <string>
#include <vector>

#include "ui/host.h"

namespace tallowick {

inline constexpr const char* kHelpPageName = "Help.html";

// <working folder>/Help.html, or nothing when the working folder cannot be read
// or the path would be longer than kMaxPathLength.
std::optional<std::string> HelpPagePath();

// <folder of `programPath`>/../share/tallowick/Help.html, the parent folder
// taken by name (on Windows <folder of `programPath`>\Help.html); nothing
// when the path would be longer than kMaxPathLength.
std::optional<std::string> InstalledHelpPagePath(const std::string& programPath);
// The same for this program (its file as the system names it), or nothing
// when that cannot be read.
std::optional<std::string> InstalledHelpPagePath();

// The places to look, in order: the working folder's page, the installed one.
// A place that cannot be named is left out.
std::vector<std::string> HelpPagePlaces();

// Opens the first of `places` that holds a file, with the desktop's program.
// When the desktop cannot open it, a message says where the page is; when no
// place holds it, a message names every place looked at. True when the
// desktop accepted the page.
bool OpenHelpPage(Host& host, const std::vector<std::string>& places);
bool OpenHelpPage(Host& host);

}  // namespace tallowick
