#pragma once
// A picture of a window as it is on the screen, saved as PNG.
#include <string>

class wxWindow;

namespace tallowick {

// Waits (bounded) until the window is on the screen and painted, then saves
// it to `pngPath`. False when it could not be taken or written.
bool SaveWindowScreenshot(wxWindow& window, const std::string& pngPath);

}  // namespace tallowick
