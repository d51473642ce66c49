#pragma once
// The check of the running installer on a real display: the wizard walked through
// Next, Back, Next, Next; both pages checked control by control and
// photographed (welcome.png, destination.png); the files of the working folder
// installed into `folder`/installed with the shortcuts on the desktop of a
// private home, `folder`/home (message boxes are recorded, not shown); the
// pictures enlarged (picture.png, icon.png); then report.txt in `folder`.
#include <string>

namespace tallowick {

// True when every check held.
bool RunSetupSmoke(const std::string& appTitle, const std::string& folder);

}  // namespace tallowick
