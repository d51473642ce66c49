#pragma once
// The help page: "Help.html" in the working folder at the moment of the request,
// shown by the desktop's program for it.
#include <optional>
#include <string>

#include "ui/host.h"

namespace tallowick {

inline constexpr const char* kHelpPageName = "Help.html";

// <working folder>/Help.html, or nothing when the working folder cannot be read
// or the path would be longer than kMaxPathLength.
std::optional<std::string> HelpPagePath();

// Opens the help page with the desktop's program; the desktop's answer is not
// examined and no message is shown. False when there was no path to open.
bool OpenHelpPage(Host& host);

}  // namespace tallowick
