#pragma once
// A picture of a window as it is on the screen, saved as PNG.
#include <string>

class wxWindow;

namespace tallowick {

// Waits (bounded) until the window is on the screen and painted, then saves
// it to `pngPath`. False when it could not be taken or written.
bool SaveWindowScreenshot(wxWindow& window, const std::string& pngPath);

// Writes the PNG picture at `pngPath` again as a JPEG (quality 90), as the
// help page shows its pictures. False when it could not be read or written.
bool SavePictureAsJpeg(const std::string& pngPath, const std::string& jpegPath);

}  // namespace tallowick
