#include "cli/terminal_text.h"

#include <cstdio>

#include "engine/utf8.h"

namespace tallowick::cli {

namespace {

void AppendHex(std::string& out, const char* format, unsigned value) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, format, value);
  out += escaped;
}

std::string Escaped(const std::string& text, bool keepLineBreaks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length > 1) {
      // U+0080 to U+009F are C2 80 to C2 9F.
      const auto second = static_cast<unsigned char>(text[i + 1]);
      if (c == 0xC2 && second <= 0x9F) {
        AppendHex(out, "\\u%04x", second);
      } else {
        out.append(text, i, length);
      }
      i += length;
      continue;
    }
    ++i;
    if (c == '\n' && keepLineBreaks) {
      out += '\n';
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
      AppendHex(out, "\\x%02x", c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string TerminalText(const std::string& text) { return Escaped(text, false); }

std::string TerminalMessage(const std::string& text) { return Escaped(text, true); }

}  // namespace tallowick::cli
