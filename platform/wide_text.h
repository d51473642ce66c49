#pragma once
// UTF-8 inside the program, UTF-16 at the Windows API.
#include <string>
#include <string_view>

namespace tallowick::platform {

// Invalid UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

}  // namespace tallowick::platform
