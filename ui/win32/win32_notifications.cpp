#include "ui/win32/win32_notifications.h"

namespace tallowick {

std::optional<Notification> CommandNotification(ControlKind kind, UINT code) {
  switch (kind) {
    case ControlKind::PushButton:
      if (code == BN_CLICKED) return Notification::Clicked;
      break;
    case ControlKind::Edit:
      if (code == EN_CHANGE) return Notification::TextChange;
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) return Notification::SelectionChange;
      if (code == LBN_DBLCLK) return Notification::DoubleClick;
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) return Notification::SelectionChange;
      if (code == CBN_EDITCHANGE) return Notification::TextChange;
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::optional<Notification> NotifyNotification(ControlKind kind, UINT code) {
  if (kind == ControlKind::ListView && code == static_cast<UINT>(NM_DBLCLK))
    return Notification::DoubleClick;
  return std::nullopt;
}

}  // namespace tallowick
