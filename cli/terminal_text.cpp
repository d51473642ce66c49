#include "cli/terminal_text.h"

#include <algorithm>
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

// The code point of the valid `length`-byte sequence at text[i].
char32_t CodePointAt(const std::string& text, std::size_t i, std::size_t length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  if (length == 1) return byte(0);
  static constexpr unsigned char kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
  char32_t point = byte(0) & kLeadMask[length];
  for (std::size_t k = 1; k < length; ++k) point = (point << 6) | (byte(k) & 0x3F);
  return point;
}

struct CodePointRange {
  char32_t first;
  char32_t last;
};
#include "cli/display_width_table.inc"

template <std::size_t N>
bool InRanges(const CodePointRange (&ranges)[N], char32_t point) {
  const auto* end = ranges + N;
  const auto* it = std::upper_bound(
      ranges, end, point, [](char32_t p, const CodePointRange& r) { return p < r.first; });
  return it != ranges && point <= (it - 1)->last;
}

// Columns of one character on a terminal: none for combining marks, two for
// wide East Asian characters, one for everything else (control characters
// are shown escaped before they are measured).
std::size_t ColumnsOf(char32_t point) {
  if (InRanges(kZeroWidth, point)) return 0;
  if (InRanges(kDoubleWidth, point)) return 2;
  return 1;
}

}  // namespace

std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      ++width;
      ++i;
      continue;
    }
    width += ColumnsOf(CodePointAt(text, i, length));
    i += length;
  }
  return width;
}

std::string TerminalText(const std::string& text) { return Escaped(text, false); }

std::string TerminalMessage(const std::string& text) { return Escaped(text, true); }

}  // namespace tallowick::cli
