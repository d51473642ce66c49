#pragma once
// Text as the ODBC drivers take and give it through the ANSI functions:
// UTF-8 on Linux and under Wine (whose ODBC hands the calls to the Linux
// drivers); the system's ANSI code page (CP_ACP) on Windows itself. The
// program keeps UTF-8 inside and converts where text crosses to a driver
// and back; where the drivers use UTF-8 both directions leave it as it is.
#include <string>
#include <string_view>

namespace tallowick::platform {

// True when the drivers' text is UTF-8: always on Linux; on Windows under
// Wine, or when the ANSI code page is UTF-8 itself.
bool DriversUseUtf8();

// Text a driver gave, as UTF-8.
std::string TextFromDrivers(std::string_view text);

// UTF-8 text in the drivers' code page. False when some character has no
// exact form there; `out` then holds it with '?' in place of each such
// character.
bool TextForDrivers(std::string_view utf8, std::string& out);

#ifdef _WIN32
// The two conversions for a given Windows code page, whatever the drivers
// use (so that they can be tried under Wine as well).
std::string TextFromCodePage(std::string_view text, unsigned page);
bool TextToCodePage(std::string_view utf8, unsigned page, std::string& out);
#endif

}  // namespace tallowick::platform
