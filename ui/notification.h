#pragma once
// Notification codes a control sends to the window that holds it; a message
// map selects a handler by (control id, notification).

namespace tallowick {

enum class Notification {
  Clicked,          // push button pressed
  SelectionChange,  // list box or combo box: the user changed the selection
  TextChange,   // edit box text changed (by the user or by the program); combo box edit field typed
                // into
  DoubleClick,  // list box entry double-clicked
};

const char* NotificationName(Notification code);

}  // namespace tallowick
