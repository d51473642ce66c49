#pragma once
// Conversions between our 8-bit strings (UTF-8 as the drivers deliver them) and wxString.
#include <wx/string.h>

#include <string>

namespace tallowick {

// UTF-8 text as is; bytes that are not UTF-8 are taken as Latin-1 rather than lost.
wxString ToWx(const std::string& text);
std::string FromWx(const wxString& text);

// `text` for a one-line cell: each line break (CR, LF or CR LF) shown as
// "\u23CE", a tab as a space, other control characters as their visible
// pictures (U+2400...). What the cell holds is not changed.
wxString OneLineText(const wxString& text);

}  // namespace tallowick
