#pragma once
// Text between our UTF-8 strings and the wide Win32 functions.
#include <string>

#include "ui/win32/win32_system.h"

namespace tallowick {

// A window's text (GetWindowTextW) in UTF-8.
std::string WindowText(HWND window);
// Sets a window's text (SetWindowTextW) from UTF-8.
void SetWindowTextUtf8(HWND window, const std::string& text);

// `text` for a one-line cell: each line break (CR, LF or CR LF) shown as
// U+23CE, a tab as a space, other control characters as their pictures
// (U+2400...). What the cell holds is not changed.
std::wstring OneLineText(const std::wstring& text);

}  // namespace tallowick
