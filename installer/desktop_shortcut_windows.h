#pragma once
// Desktop shortcuts on Windows: shell links (.lnk) on the current user's
// desktop, written through IShellLinkW and IPersistFile.
#include <windows.h>

#include <string>
#include <string_view>

namespace tallowick {

// Puts the shell link `linkName`.lnk on the current user's desktop, pointing
// at `fileName` in `installationFolder`, with the installation folder as
// working folder and `description`. Failures are not reported: when COM, the
// desktop folder or the link fails, or a path would not fit, there is simply
// no shortcut.
void CreateDesktopShortcut(const std::string& installationFolder, std::string_view fileName,
                           std::string_view linkName, std::string_view description);

// Writes the shell link `linkPath` (replacing a file of that name) to
// `target`. Returns the result of the last step performed: creating the
// shell-link object, asking it for IPersistFile, or saving.
HRESULT CreateShellLink(const std::wstring& target, const std::wstring& linkPath,
                        const std::wstring& workingFolder, const std::wstring& arguments,
                        const std::wstring& description);

}  // namespace tallowick
