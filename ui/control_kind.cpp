#include "ui/control_kind.h"

#include "ui/notification.h"

namespace tallowick {

const char* ControlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return "label";
    case ControlKind::GroupBox:
      return "group box";
    case ControlKind::PushButton:
      return "push button";
    case ControlKind::Edit:
      return "edit box";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::ListBox:
      return "list box";
    case ControlKind::ListView:
      return "list view";
    case ControlKind::Icon:
      return "icon";
    case ControlKind::Bitmap:
      return "bitmap";
  }
  return "control";
}

const char* NotificationName(Notification code) {
  switch (code) {
    case Notification::Clicked:
      return "clicked";
    case Notification::SelectionChange:
      return "selection change";
    case Notification::TextChange:
      return "text change";
    case Notification::DoubleClick:
      return "double click";
  }
  return "notification";
}

}  // namespace tallowick
