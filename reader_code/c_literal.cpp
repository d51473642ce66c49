#include "reader_code/c_literal.h"

namespace tallowick {

namespace {

void AppendHex(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

}  // namespace

std::string CommentText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte >= 0x7F) {
      AppendHex(out, byte);
    } else if (byte == '*' && next == '/') {
      out += "*\\";
    } else if (byte == '/' && next == '*') {
      out += "/\\";
    } else if (byte == '?' && next == '?') {
      out += "?\\";
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

std::string CStringLiteral(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || c == '?') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      // Three octal digits: the next character can never extend the escape.
      out += '\\';
      out += static_cast<char>('0' + (byte >> 6));
      out += static_cast<char>('0' + ((byte >> 3) & 7));
      out += static_cast<char>('0' + (byte & 7));
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace tallowick
