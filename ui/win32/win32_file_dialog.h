#pragma once
// The open-file dialog's filter in the form GetOpenFileNameW reads: pairs of
// description and patterns, each ending with a NUL, the list with another.
#include <string>

namespace tallowick {

// "Access(*.mdb)|*.mdb|Excel(*.xls)|*.xls||" -> L"Access(*.mdb)\0*.mdb\0Excel(*.xls)\0*.xls\0\0".
// Several patterns of one entry stay separated by ';'. An empty or malformed
// filter gives "All Files" (*.*).
std::wstring OpenFileFilter(const std::string& filter);

}  // namespace tallowick
