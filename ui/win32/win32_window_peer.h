#pragma once
// A dialog, page or wait window created by the dialog manager from our
// template: its controls by id, and WM_COMMAND / WM_NOTIFY routed to the
// owner's OnCommand (and so through its message map).
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ui/control_peer.h"
#include "ui/dialog_template.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

class DialogWindow;

class Win32WindowPeer : public WindowPeer {
 public:
  // `endModal` ends the window's modal run (a dialog); empty for a page or
  // a modeless window, where EndModal does nothing.
  Win32WindowPeer(DialogWindow& owner, const DialogTemplate& layout, HWND window,
                  std::function<void(int)> endModal = {});
  ~Win32WindowPeer() override;

  ControlPeer* FindControl(int id) override;
  void EndModal(int result) override;
  void OwnerGone() override { m_owner = nullptr; }

  HWND Window() const { return m_window; }
  DialogWindow* Owner() const { return m_owner; }

  // WM_COMMAND: true when it came from one of our controls with a code the
  // pages handle (or, for a dialog, was IDOK/IDCANCEL: the Enter and Escape
  // keys), and went to the owner.
  bool HandleCommand(WPARAM wParam, LPARAM lParam);
  // WM_NOTIFY from one of our controls: the list view's cell texts, and its
  // double click. The result for DWLP_MSGRESULT when handled.
  std::optional<LRESULT> HandleNotify(const NMHDR& header);

  // Gives the focus to the control asked for while the window was not on the
  // screen (a page behind another tab, a dialog being built). True when it did.
  bool TakePendingFocus();

 private:
  void RequestFocus(HWND control);

  DialogWindow* m_owner;
  HWND m_window;
  std::function<void(int)> m_endModal;
  std::vector<std::unique_ptr<Win32ControlPeer>> m_controls;
  std::map<int, Win32ControlPeer*> m_byId;
  HWND m_pendingFocus = nullptr;
};

}  // namespace tallowick
