#pragma once
// The message box: caption, text, the icon's picture and the buttons. GTK 3's
// own message dialog draws no picture for its kinds, so an error and a notice
// would look alike; this one shows the desktop's picture for each icon.
#include <string>

#include "ui/host.h"

class wxWindow;

namespace tallowick {

// Shows the box over `owner` (may be null) and returns the wx id of the
// button pressed (wxID_OK, wxID_CANCEL, wxID_YES, wxID_NO). Escape and the
// close box give Cancel where there is one, otherwise No, otherwise OK.
int RunMessageBox(wxWindow* owner, const std::string& text, const std::string& caption,
                  MessageIcon icon, MessageButtons buttons);

// The wx art id of the picture shown for `icon`; empty for MessageIcon::None.
const char* MessageArtId(MessageIcon icon);

}  // namespace tallowick
