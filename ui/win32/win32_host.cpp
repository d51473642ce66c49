#include "ui/win32/win32_host.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/wide_text.h"
#include "ui/dialog.h"
#include "ui/property_sheet.h"
#include "ui/standard_ids.h"
#include "ui/win32/win32_callback_guard.h"
#include "ui/win32/win32_dialog_template.h"
#include "ui/win32/win32_file_dialog.h"
#include "ui/win32/win32_message_box.h"
#include "ui/win32/win32_sheet.h"
#include "ui/win32/win32_window_peer.h"

namespace tallowick {
namespace {

// Longest path the file and folder dialogs hand back.
constexpr std::size_t kPathRoom = 32768;

// One modal run of a dialog, reached by its window procedure.
struct ModalRun {
  Win32Host* host;
  Dialog* dialog;
  std::unique_ptr<Win32WindowPeer> peer;
  CallbackGuard guard;
};

INT_PTR CALLBACK ModalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<ModalRun*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    bool focused = false;
    run->guard.Run(
        [&] {
          run->peer = std::make_unique<Win32WindowPeer>(
              *run->dialog, run->dialog->Template(), window,
              [window](int result) { ::EndDialog(window, result); });
          run->dialog->AttachPeer(*run->peer, *run->host);
          run->dialog->OnInitDialog();
          focused = run->peer->TakePendingFocus();
        },
        [window] { ::EndDialog(window, kIdCancel); });
    return focused ? FALSE : TRUE;
  }
  auto* run = reinterpret_cast<ModalRun*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (run == nullptr || !run->peer) return FALSE;
  const auto fail = [window] { ::EndDialog(window, kIdCancel); };
  switch (message) {
    case WM_COMMAND: {
      bool handled = false;
      run->guard.Run([&] { handled = run->peer->HandleCommand(wParam, lParam); }, fail);
      return handled ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      std::optional<LRESULT> result;
      run->guard.Run(
          [&] { result = run->peer->HandleNotify(*reinterpret_cast<const NMHDR*>(lParam)); }, fail);
      if (!result) return FALSE;
      ::SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
      return TRUE;
    }
    case WM_CLOSE:
      // The close box is the Cancel command.
      run->guard.Run(
          [&] {
            if (run->peer->Owner() != nullptr)
              run->peer->Owner()->SendCommand(kIdCancel, Notification::Clicked);
          },
          fail);
      return TRUE;
    case WM_DESTROY:
      // Nothing the controls send while they go reaches the dialog object.
      run->dialog->DetachPeer();
      run->peer->OwnerGone();
      return FALSE;
    default:
      return FALSE;
  }
}

// The wait window, which handles nothing.
class WaitDialog : public DialogWindow {
 public:
  explicit WaitDialog(const DialogTemplate& layout) : DialogWindow(layout) {}
};

INT_PTR CALLBACK WaitProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class Win32WaitWindow : public WaitWindow {
 public:
  Win32WaitWindow(Win32Host& host, const DialogTemplate& layout) : m_owner(layout) {
    const Win32DialogTemplate bytes(layout, DialogFace());
    m_window = ::CreateDialogIndirectParamW(host.Resources(), bytes.Get(), CurrentOwnerWindow(),
                                            WaitProc, 0);
    if (m_window == nullptr) return;  // the work goes on without it
    m_peer = std::make_unique<Win32WindowPeer>(m_owner, layout, m_window);
    m_owner.AttachPeer(*m_peer, host);
    ::ShowWindow(m_window, SW_SHOWNORMAL);
    ::UpdateWindow(m_window);
    // Paint what is pending (the page under it too) before the work blocks
    // the thread; input waits until the work is done.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

  ~Win32WaitWindow() override {
    if (m_peer) {
      m_owner.DetachPeer();
      m_peer->OwnerGone();
    }
    if (m_window != nullptr) ::DestroyWindow(m_window);
  }

 private:
  WaitDialog m_owner;
  HWND m_window = nullptr;
  std::unique_ptr<Win32WindowPeer> m_peer;
};

}  // namespace

HWND CurrentOwnerWindow() { return ::GetActiveWindow(); }

Win32Host::Win32Host(HINSTANCE resources) : m_resources(resources) {}
Win32Host::~Win32Host() = default;

int Win32Host::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                           MessageButtons buttons) {
  const int answer =
      ::MessageBoxW(CurrentOwnerWindow(), platform::Widen(text).c_str(),
                    platform::Widen(caption).c_str(), MessageBoxFlags(icon, buttons));
  return MessageBoxResult(answer);
}

std::optional<std::string> Win32Host::ChooseFile(const FileDialogOptions& options) {
  const std::wstring filter = OpenFileFilter(options.filter);
  const std::wstring extension = platform::Widen(options.defaultExtension);
  const std::wstring folder = platform::Widen(options.initialFolder);
  const std::wstring title = platform::Widen(options.title);
  std::vector<wchar_t> file(kPathRoom, L'\0');
  const std::wstring initial = platform::Widen(options.initialName);
  if (initial.size() < file.size()) initial.copy(file.data(), initial.size());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = CurrentOwnerWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  return platform::Narrow(file.data());
}

std::optional<std::string> Win32Host::ChooseFolder(const std::string& title) {
  const HRESULT com = ::CoInitialize(nullptr);
  const std::wstring wideTitle = platform::Widen(title);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW browse{};
  browse.hwndOwner = CurrentOwnerWindow();
  browse.pszDisplayName = displayName;
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;  // 3
  std::optional<std::string> chosen;
  if (PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&browse)) {
    std::vector<wchar_t> path(kPathRoom, L'\0');
    // An item without a file-system path leaves the choice unmade.
    if (::SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                                GPFIDL_DEFAULT)) {
      std::wstring folder = path.data();
      // "C:\" stays a drive's root; any other folder loses its end separator.
      while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
      chosen = platform::Narrow(folder);
    }
    ::CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return chosen;
}

std::unique_ptr<WaitWindow> Win32Host::ShowWaitWindow(const DialogTemplate& layout) {
  return std::make_unique<Win32WaitWindow>(*this, layout);
}

bool Win32Host::OpenWithDesktop(const std::string& path) {
  const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
      nullptr, L"open", platform::Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

int Win32Host::RunModal(Dialog& dialog) {
  const Win32DialogTemplate bytes(dialog.Template(), DialogFace());
  ModalRun run{this, &dialog, nullptr, {}};
  const INT_PTR result = ::DialogBoxIndirectParamW(m_resources, bytes.Get(), CurrentOwnerWindow(),
                                                   ModalProc, reinterpret_cast<LPARAM>(&run));
  dialog.DetachPeer();
  run.peer.reset();
  run.guard.Rethrow();
  // A dialog that could not be created (-1) was not confirmed.
  return result == -1 ? kIdCancel : static_cast<int>(result);
}

int Win32Host::RunModal(PropertySheet& sheet) { return Win32Sheet::Run(sheet, *this); }

void Win32Host::CallWhenSheetShown(std::function<void(HWND)> action) {
  m_sheetShown = std::move(action);
}

std::function<void(HWND)> Win32Host::TakeSheetShownAction() {
  auto action = std::move(m_sheetShown);
  m_sheetShown = nullptr;
  return action;
}

}  // namespace tallowick
