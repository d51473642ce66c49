#include "ui/win32/win32_message_box.h"

#include "ui/standard_ids.h"

namespace tallowick {

UINT MessageBoxFlags(MessageIcon icon, MessageButtons buttons) {
  UINT flags = 0;
  switch (icon) {
    case MessageIcon::None:
      break;
    case MessageIcon::Stop:
      flags |= MB_ICONHAND;
      break;
    case MessageIcon::Information:
      flags |= MB_ICONINFORMATION;
      break;
    case MessageIcon::Question:
      flags |= MB_ICONQUESTION;
      break;
    case MessageIcon::Exclamation:
      flags |= MB_ICONEXCLAMATION;
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      flags |= MB_OK;
      break;
    case MessageButtons::OkCancel:
      flags |= MB_OKCANCEL;
      break;
    case MessageButtons::YesNo:
      flags |= MB_YESNO;
      break;
  }
  return flags;
}

int MessageBoxResult(int answer) {
  switch (answer) {
    case IDOK:
      return kIdOk;
    case IDYES:
      return kIdYes;
    case IDNO:
      return kIdNo;
    default:
      return kIdCancel;
  }
}

}  // namespace tallowick
