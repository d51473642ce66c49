// Setup.exe's wizard on a real (Wine or Windows) display, driven from a
// second thread: both pages checked control by control and photographed,
// Back and Next, the abort question answered No, a folder that cannot be
// made, then an installation into the default folder; afterwards the copied
// files are compared with their sources and both shell links on the desktop
// are read back.
//   tallowick_installer_smoke SHOTS_FOLDER
// Run with the installation source as working folder. Paths may be given as
// Linux paths under Wine (/x/y: Z:\x\y). Writes installer-report.txt into
// SHOTS_FOLDER; exit status 0 only when every check held.
// clang-format off
// First: it keeps prsht.h's PropertySheet macro (shlobj.h brings it) away
// from the window layer's class of that name.
#include "ui/win32/win32_system.h"
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>

#include "installer/setup_program_windows.h"
#include "platform/wide_text.h"
#include "resources/resource_ids.h"
#include "tests/ui_win32/win32_smoke_driver.h"
#include "ui/win32/win32_host.h"

namespace tallowick {
namespace {

using platform::Narrow;
using platform::Widen;
using smoke::Report;

constexpr const char* kDefaultFolder = "C:\\Program Files\\Tallowick";
constexpr const char* kAppTitle = "Setup";
constexpr int kFolderId = 1010;
constexpr int kBackId = 3;
constexpr int kMessageTextId = 0xFFFF;

struct InstalledFile {
  const char* source;     // within the working folder
  const char* installed;  // within the installation folder
};
constexpr InstalledFile kFiles[] = {
    {"Help.html", "Help.html"},
    {"Tallowick.exe", "Tallowick.exe"},
    {"img\\PDBGen.jpg", "img\\PDBGen.jpg"},
    {"img\\PDBEnlarged.jpg", "img\\PDBEnlarged.jpg"},
    {"img\\PDBView.jpg", "img\\PDBView.jpg"},
    {"img\\browse.jpg", "img\\browse.jpg"},
};

struct ExpectedLink {
  const char* file;  // on the desktop
  const char* target;
  const char* description;
};
constexpr ExpectedLink kLinks[] = {
    {"Tallowick.lnk", "C:\\Program Files\\Tallowick\\Tallowick.exe", "Tallowick"},
    {"Tallowick_UserGuide.lnk", "C:\\Program Files\\Tallowick\\Help.html", "User Guide"},
};

std::string WindowsPath(std::string path) {
  if (path.empty() || path.front() != '/') return path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

bool IsMessageBox(HWND w) { return ::GetDlgItem(w, kMessageTextId) != nullptr; }

// The installer page on the screen: the welcome page has no folder control.
HWND WaitForPage(DWORD thread, bool destination) {
  HWND found = nullptr;
  smoke::WaitFor([&] {
    found = smoke::FindDialog(thread, nullptr, [destination](HWND w) {
      return !IsMessageBox(w) && smoke::TextOf(w) == "Tallowick Installer" &&
             (::GetDlgItem(w, kFolderId) != nullptr) == destination;
    });
    return found != nullptr;
  });
  return found;
}

// Waits for a message box, checks its caption and text and answers it.
void AnswerBox(DWORD thread, const std::string& caption, const std::string& text, int answer,
               Report& report) {
  HWND box = nullptr;
  const bool seen = smoke::WaitFor(
      [&] { return (box = smoke::FindDialog(thread, nullptr, IsMessageBox)) != nullptr; });
  if (!report.Check(seen, "message box \"" + text + "\" shown")) return;
  const std::string shown = smoke::TextOf(::GetDlgItem(box, kMessageTextId));
  report.Check(shown == text, "message box text \"" + shown + "\"");
  report.Check(smoke::TextOf(box) == caption, "message box caption \"" + smoke::TextOf(box) + "\"");
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  smoke::WaitFor([&] { return !::IsWindow(box); });
}

// Both images of the pages come from Setup's resources.
void CheckImagesLoaded(HWND page, const std::string& name, Report& report) {
  for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR type = ::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
    if (smoke::ClassOf(child) != L"Static" || (type != SS_ICON && type != SS_BITMAP)) continue;
    const WPARAM kind = type == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP;
    report.Check(::SendMessageW(child, STM_GETIMAGE, kind, 0) != 0,
                 name + (type == SS_ICON ? ": icon 132 loaded" : ": bitmap 141 loaded"));
  }
}

void DriveWizard(DWORD thread, const std::string& shots, Report& report) {
  HWND welcome = WaitForPage(thread, false);
  if (!report.Check(welcome != nullptr, "welcome page shown")) return;
  smoke::CheckTemplate(welcome, res::kWelcomeDialog, report);
  CheckImagesLoaded(welcome, "welcome page", report);
  report.Check(smoke::SaveScreenshot(welcome, shots + "\\installer-welcome.bmp"),
               "welcome page photographed");
  smoke::Click(welcome, IDOK);

  HWND destination = WaitForPage(thread, true);
  if (!report.Check(destination != nullptr, "&Next shows the destination page")) return;
  smoke::CheckTemplate(destination, res::kDestinationDialog, report);
  CheckImagesLoaded(destination, "destination page", report);
  report.Check(smoke::SaveScreenshot(destination, shots + "\\installer-destination.bmp"),
               "destination page photographed");

  // Back, Next: the page is built afresh with the default folder.
  smoke::SetText(::GetDlgItem(destination, kFolderId), "C:\\Elsewhere");
  smoke::Click(destination, kBackId);
  welcome = WaitForPage(thread, false);
  if (!report.Check(welcome != nullptr, "< &Back shows the welcome page")) return;
  smoke::Click(welcome, IDOK);
  destination = WaitForPage(thread, true);
  if (!report.Check(destination != nullptr, "&Next shows the destination page again")) return;
  report.Check(smoke::TextOf(::GetDlgItem(destination, kFolderId)) == kDefaultFolder,
               "after Back and Next the folder is the default again");

  // Cancel asks; No keeps the page.
  smoke::Click(destination, IDCANCEL);
  AnswerBox(thread, kAppTitle, "Do you want abort Tallowick installation setup", IDNO, report);
  report.Check(::IsWindow(destination) != FALSE, "No keeps the destination page open");

  // A folder whose parent is missing cannot be made: nothing happens on disk.
  const std::string orphan = "C:\\Tallowick missing parent\\Tallowick";
  smoke::SetText(::GetDlgItem(destination, kFolderId), orphan);
  smoke::Click(destination, IDOK);
  AnswerBox(thread, kAppTitle, "Could not copy files in installation path, please re-select path",
            IDOK, report);
  report.Check(::IsWindow(destination) != FALSE, "the page stays open for another folder");
  report.Check(::GetFileAttributesW(L"C:\\Tallowick missing parent") == INVALID_FILE_ATTRIBUTES,
               "nothing was created for the missing parent");

  smoke::SetText(::GetDlgItem(destination, kFolderId), kDefaultFolder);
  smoke::Click(destination, IDOK);
  AnswerBox(thread, "Thank you for using Tallowick",
            "Tallowick installed successfully!\nShortcut created on Desktop", IDOK, report);
  report.Check(smoke::WaitFor([&] { return !::IsWindow(destination); }),
               "the installation ends the wizard");
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CheckInstalledFiles(const std::string& source, Report& report) {
  for (const InstalledFile& file : kFiles) {
    const std::string installed = smoke::Join(kDefaultFolder, file.installed);
    const std::string original = ReadAll(smoke::Join(source, file.source));
    report.Check(
        smoke::FileExists(installed) && !original.empty() && ReadAll(installed) == original,
        std::string(file.installed) + " installed, equal to its source");
  }
}

void CheckLinks(Report& report) {
  const HRESULT com = ::CoInitialize(nullptr);
  wchar_t desktop[MAX_PATH] = {};
  if (report.Check(::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOP, FALSE) != FALSE,
                   "the desktop folder is known")) {
    for (const ExpectedLink& expected : kLinks) {
      const std::string name = expected.file;
      IShellLinkW* link = nullptr;
      IPersistFile* file = nullptr;
      if (!report.Check(
              SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&link))),
              name + ": shell link object"))
        break;
      const std::wstring path = std::wstring(desktop) + L"\\" + Widen(name);
      if (report.Check(
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                  SUCCEEDED(file->Load(path.c_str(), STGM_READ)),
              name + " on the desktop, readable")) {
        wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {}, description[MAX_PATH] = {};
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(folder, MAX_PATH);
        link->GetDescription(description, MAX_PATH);
        report.Check(lstrcmpiW(target, Widen(expected.target).c_str()) == 0,
                     name + ": target " + Narrow(target));
        report.Check(lstrcmpiW(folder, Widen(kDefaultFolder).c_str()) == 0,
                     name + ": working folder " + Narrow(folder));
        report.Check(Narrow(description) == expected.description,
                     name + ": description " + Narrow(description));
      }
      if (file != nullptr) file->Release();
      link->Release();
    }
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace
}  // namespace tallowick

int main() {
  using namespace tallowick;
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr || count != 2) {
    std::cerr << "usage: tallowick_installer_smoke SHOTS_FOLDER\n";
    return 2;
  }
  const std::string shots = WindowsPath(platform::Narrow(wide[1]));
  ::LocalFree(wide);
  wchar_t source[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, source);

  Report report;
  const DWORD thread = ::GetCurrentThreadId();
  std::thread driver([&] {
    DriveWizard(thread, shots, report);
    // A step that could not go on leaves the wizard open: end the run.
    const auto anyDialog = [](HWND) { return true; };
    if (!smoke::WaitFor([&] { return smoke::FindDialog(thread, nullptr, anyDialog) == nullptr; },
                        std::chrono::seconds(10))) {
      std::cout << "the wizard did not end: some checks FAILED\n" << std::flush;
      ::ExitProcess(1);
    }
  });
  Win32Host host;
  RunSetup(host, "Setup");
  driver.join();
  CheckInstalledFiles(platform::Narrow(source), report);
  CheckLinks(report);

  std::ofstream out(std::filesystem::path(platform::Widen(shots + "\\installer-report.txt")));
  for (const std::string& line : report.Lines()) out << line << "\n";
  out.flush();
  std::cout << (report.AllHeld() ? "every check held\n" : "some checks FAILED\n");
  return report.AllHeld() && out ? 0 : 1;
}
