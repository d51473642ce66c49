#pragma once
// The notification codes of WM_COMMAND and WM_NOTIFY as our Notification,
// by the kind of control that sent them.
#include <optional>

#include "ui/control_kind.h"
#include "ui/notification.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

// A WM_COMMAND notification code (BN_CLICKED, EN_CHANGE, LBN_SELCHANGE,
// LBN_DBLCLK, CBN_SELCHANGE, CBN_EDITCHANGE) from a control of `kind`;
// nothing for codes the pages do not handle.
std::optional<Notification> CommandNotification(ControlKind kind, UINT code);

// A WM_NOTIFY code from a control of `kind` (a double click on a list view).
std::optional<Notification> NotifyNotification(ControlKind kind, UINT code);

}  // namespace tallowick
