#pragma once
// The MessageBoxW flags of our message boxes, and its answers as our ids.
#include "ui/host.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

// MB_ICONHAND (stop), MB_ICONINFORMATION, MB_ICONQUESTION or
// MB_ICONEXCLAMATION with MB_OK, MB_OKCANCEL or MB_YESNO.
UINT MessageBoxFlags(MessageIcon icon, MessageButtons buttons);

// IDOK, IDCANCEL, IDYES, IDNO as kIdOk ...; anything else (the box could not
// be shown) as kIdCancel.
int MessageBoxResult(int answer);

}  // namespace tallowick
