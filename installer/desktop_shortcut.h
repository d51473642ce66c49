#pragma once
// Desktop shortcuts: freedesktop ".desktop" files on the user's desktop.
#include <string>
#include <string_view>

#include "installer/desktop_entry.h"
#include "installer/file_table.h"

namespace tallowick {

// Puts the shortcut `linkName`.desktop on the current user's desktop, opening
// `fileName` in `installationFolder` with the installation folder as working
// folder (for a program), shown with the icon `iconFile` of the installation
// folder (none when empty). Failures are not reported: when the desktop folder
// cannot be found, a path does not fit or the file cannot be written, there is
// simply no shortcut.
void CreateDesktopShortcut(const std::string& installationFolder, std::string_view fileName,
                           std::string_view linkName, std::string_view description,
                           ShortcutKind kind, std::string_view iconFile);

// Writes `entry` as the file `linkPath`, replacing a file of that name, and
// makes it executable (desktops trust only executable launchers). False when
// the entry cannot be expressed or the file cannot be written.
bool CreateShellLink(const DesktopEntry& entry, const std::string& linkPath);

}  // namespace tallowick
