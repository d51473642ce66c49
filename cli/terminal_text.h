#pragma once
// Text bound for a terminal: control characters shown as escapes, so that a
// value, a column name or a file name can never move the cursor, clear the
// screen or retitle the window.
//
// Escapes: \n, \r and \t; \xHH for the other C0 characters, DEL and a stray
// byte 0x80 to 0x9F that is not part of a UTF-8 sequence; \uHHHH for the C1
// characters U+0080 to U+009F. Every other character, the backslash
// included, is shown as it is.
#include <cstddef>
#include <string>

namespace tallowick::cli {

std::string TerminalText(const std::string& text);

// The same for a message of several lines: its line breaks stay.
std::string TerminalMessage(const std::string& text);

// The columns a terminal gives `text` (UTF-8; control characters already
// escaped): wcwidth of each character, whatever the process's locale, so
// that a wide (CJK) character takes two and a combining mark none. A byte
// that starts no valid sequence, or a character wcwidth does not know,
// takes one.
std::size_t DisplayWidth(const std::string& text);

}  // namespace tallowick::cli
