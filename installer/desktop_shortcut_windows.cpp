#include "installer/desktop_shortcut_windows.h"

#include <objbase.h>
#include <shlobj.h>

#include <optional>

#include "installer/file_table.h"
#include "installer/windows_path.h"
#include "platform/wide_text.h"

namespace tallowick {

HRESULT CreateShellLink(const std::wstring& target, const std::wstring& linkPath,
                        const std::wstring& workingFolder, const std::wstring& arguments,
                        const std::wstring& description) {
  IShellLinkW* link = nullptr;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&link));
  if (FAILED(result)) return result;
  link->SetPath(target.c_str());
  link->SetDescription(description.c_str());
  link->SetWorkingDirectory(workingFolder.c_str());
  link->SetArguments(arguments.c_str());
  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    result = file->Save(linkPath.c_str(), TRUE);
    file->Release();
  }
  link->Release();
  return result;
}

void CreateDesktopShortcut(const std::string& installationFolder, std::string_view fileName,
                           std::string_view linkName, std::string_view description) {
  const HRESULT com = ::CoInitialize(nullptr);
  wchar_t desktop[MAX_PATH] = {};
  if (::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOP, FALSE)) {
    const std::wstring folder = platform::Widen(installationFolder);
    const std::optional<std::wstring> linkPath = JoinWindowsPath(
        desktop, platform::Widen(std::string(linkName) + std::string(kShortcutExtension)));
    const std::optional<std::wstring> target = JoinWindowsPath(folder, platform::Widen(fileName));
    if (linkPath && target) {
      CreateShellLink(*target, *linkPath, folder, std::wstring(), platform::Widen(description));
    }
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace tallowick
