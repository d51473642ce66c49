#pragma once
// The installer's self-check on a real display: the wizard walked through
// Next, Back, Next; both pages checked control by control and photographed
// (welcome.png, destination.png), the pictures enlarged (picture.png,
// icon.png), then report.txt in `folder`. Nothing is installed.
#include <string>

namespace tallowick {

// True when every check held.
bool RunSetupSmoke(const std::string& appTitle, const std::string& folder);

}  // namespace tallowick
