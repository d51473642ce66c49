#pragma once
// The current user's desktop folder.
#include <optional>
#include <string>

namespace tallowick {

// The folder `xdg-user-dir DESKTOP` names; when that tool is missing or names
// no absolute folder, $HOME/Desktop. Nothing when neither can be found. The
// folder is not created and need not exist.
std::optional<std::string> DesktopFolder();

}  // namespace tallowick
