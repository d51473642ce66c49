#pragma once
// Texts from a Helper file (names in the handheld's encoding, any bytes)
// written into C source: ASCII only, and never ending a comment or changed
// by trigraphs.
#include <string>
#include <string_view>

namespace tallowick {

// Text to stand inside a /* */ comment: control characters other than tab
// and line feed, and bytes from 0x80, as \xHH; "*/" as "*\/", "/*" as "/\*"
// and "??" as "?\?".
std::string CommentText(std::string_view text);

// A C string literal, quotes included: '"', '\\' and '?' escaped, bytes
// outside printable ASCII in octal.
std::string CStringLiteral(std::string_view text);

}  // namespace tallowick
