#include "ui/win32/win32_window_peer.h"

#include "ui/dialog_window.h"
#include "ui/standard_ids.h"
#include "ui/win32/win32_list_view.h"
#include "ui/win32/win32_notifications.h"

namespace tallowick {
namespace {

std::unique_ptr<Win32ControlPeer> MakePeer(const ControlTemplate& control, HWND window) {
  switch (control.kind) {
    case ControlKind::Edit:
      return std::make_unique<Win32EditPeer>(control, window);
    case ControlKind::ListBox:
      return std::make_unique<Win32ListBoxPeer>(control, window);
    case ControlKind::ComboBox:
      return std::make_unique<Win32ComboPeer>(control, window);
    case ControlKind::ListView:
      return std::make_unique<Win32ListViewPeer>(control, window);
    default:
      return std::make_unique<Win32ControlPeer>(control, window);
  }
}

}  // namespace

Win32WindowPeer::Win32WindowPeer(DialogWindow& owner, const DialogTemplate& layout, HWND window,
                                 std::function<void(int)> endModal)
    : m_owner(&owner), m_window(window), m_endModal(std::move(endModal)) {
  for (const ControlTemplate& control : layout.controls) {
    if (control.id == kIdStatic || m_byId.count(control.id) != 0) continue;
    HWND child = ::GetDlgItem(window, control.id);
    if (child == nullptr) continue;
    auto peer = MakePeer(control, child);
    peer->SetFocusRequest([this](HWND target) { RequestFocus(target); });
    m_byId[control.id] = peer.get();
    m_controls.push_back(std::move(peer));
  }
}

Win32WindowPeer::~Win32WindowPeer() {
  if (m_owner != nullptr) m_owner->DetachPeer();
}

ControlPeer* Win32WindowPeer::FindControl(int id) {
  const auto found = m_byId.find(id);
  return found == m_byId.end() ? nullptr : found->second;
}

void Win32WindowPeer::EndModal(int result) {
  if (m_endModal) m_endModal(result);
}

bool Win32WindowPeer::HandleCommand(WPARAM wParam, LPARAM lParam) {
  if (m_owner == nullptr) return false;
  const int id = static_cast<int>(static_cast<short>(LOWORD(wParam)));
  const UINT code = HIWORD(wParam);
  const auto found = m_byId.find(id);
  if (found != m_byId.end() && reinterpret_cast<HWND>(lParam) == found->second->Window()) {
    const std::optional<Notification> notification = found->second->Translate(code);
    if (!notification) return false;
    m_owner->SendCommand(id, *notification);
    return true;
  }
  // Enter and Escape in a dialog: IDOK and IDCANCEL with no control behind them.
  if (m_endModal && lParam == 0 && (id == kIdOk || id == kIdCancel)) {
    m_owner->SendCommand(id, Notification::Clicked);
    return true;
  }
  return false;
}

std::optional<LRESULT> Win32WindowPeer::HandleNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  const auto found = m_byId.find(id);
  if (found == m_byId.end() || found->second->Window() != header.hwndFrom) return std::nullopt;
  Win32ControlPeer& control = *found->second;
  if (control.Kind() == ControlKind::ListView && header.code == LVN_GETDISPINFOW) {
    auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
    static_cast<Win32ListViewPeer&>(control).FillDisplayInfo(info);
    return 0;
  }
  const std::optional<Notification> notification = NotifyNotification(control.Kind(), header.code);
  if (!notification || m_owner == nullptr) return std::nullopt;
  m_owner->SendCommand(id, *notification);
  return 0;
}

void Win32WindowPeer::RequestFocus(HWND control) {
  HWND top = ::GetAncestor(m_window, GA_ROOT);
  if (::IsWindowVisible(m_window) && top != nullptr && ::IsWindowVisible(top)) {
    m_pendingFocus = nullptr;
    ::SetFocus(control);
  } else {
    m_pendingFocus = control;
  }
}

bool Win32WindowPeer::TakePendingFocus() {
  HWND control = m_pendingFocus;
  m_pendingFocus = nullptr;
  // The control's own visibility: its window may not be on the screen yet.
  if (control == nullptr || (::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) == 0 ||
      !::IsWindowEnabled(control))
    return false;
  ::SetFocus(control);
  return true;
}

}  // namespace tallowick
