#pragma once
// Conversions between our 8-bit strings (UTF-8 as the drivers deliver them) and wxString.
#include <wx/string.h>

#include <string>

namespace tallowick {

// UTF-8 text as is; bytes that are not UTF-8 are taken as Latin-1 rather than lost.
wxString ToWx(const std::string& text);
std::string FromWx(const wxString& text);

}  // namespace tallowick
