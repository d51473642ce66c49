#include "installer/desktop_entry.h"

#include <cstdint>

#include "engine/utf8.h"

namespace tallowick {
namespace {

// Characters that make an Exec argument need quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Characters that must be escaped with a backslash inside a quoted argument.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

void AddKey(std::string& text, std::string_view key, std::string_view value) {
  text.append(key);
  text.push_back('=');
  text.append(value);
  text.push_back('\n');
}

}  // namespace

bool IsStringValueText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) return false;
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string EscapeStringValue(std::string_view value) {
  std::size_t first = 0;
  while (first < value.size() && value[first] == ' ') ++first;
  std::size_t last = value.size();
  while (last > first && value[last - 1] == ' ') --last;
  std::string escaped;
  escaped.reserve(value.size() + 8);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case ' ':
        escaped += (i < first || i >= last) ? "\\s" : " ";
        break;
      default:
        escaped.push_back(c);
    }
  }
  return escaped;
}

std::string QuoteExecArgument(std::string_view argument) {
  const bool quoted =
      argument.empty() || argument.find_first_of(kReservedInExec) != std::string_view::npos;
  std::string result;
  if (quoted) result.push_back('"');
  for (char c : argument) {
    if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) result.push_back('\\');
    result.push_back(c);
    if (c == '%') result.push_back('%');
  }
  if (quoted) result.push_back('"');
  return result;
}

std::string FileUrl(std::string_view absolutePath) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (char c : absolutePath) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte) || c == '/') {
      url.push_back(c);
    } else {
      url.push_back('%');
      url.push_back(kHex[byte >> 4]);
      url.push_back(kHex[byte & 0x0F]);
    }
  }
  return url;
}

std::optional<std::string> DesktopEntryText(const DesktopEntry& entry) {
  if (!IsStringValueText(entry.name) || !IsStringValueText(entry.comment) ||
      !IsStringValueText(entry.icon)) {
    return std::nullopt;
  }
  std::string text = "[Desktop Entry]\n";
  if (entry.type == DesktopEntry::Type::Application) {
    if (entry.program.empty() || entry.program.front() != '/' ||
        !IsStringValueText(entry.program)) {
      return std::nullopt;
    }
    if (!entry.workingFolder.empty() &&
        (entry.workingFolder.front() != '/' || !IsStringValueText(entry.workingFolder))) {
      return std::nullopt;
    }
    AddKey(text, "Type", "Application");
    AddKey(text, "Name", EscapeStringValue(entry.name));
    if (!entry.comment.empty()) AddKey(text, "Comment", EscapeStringValue(entry.comment));
    if (!entry.icon.empty()) AddKey(text, "Icon", EscapeStringValue(entry.icon));
    AddKey(text, "Exec", EscapeStringValue(QuoteExecArgument(entry.program)));
    if (!entry.workingFolder.empty()) AddKey(text, "Path", EscapeStringValue(entry.workingFolder));
    AddKey(text, "Terminal", "false");
  } else {
    if (entry.linkTarget.empty() || entry.linkTarget.front() != '/') return std::nullopt;
    AddKey(text, "Type", "Link");
    AddKey(text, "Name", EscapeStringValue(entry.name));
    if (!entry.comment.empty()) AddKey(text, "Comment", EscapeStringValue(entry.comment));
    if (!entry.icon.empty()) AddKey(text, "Icon", EscapeStringValue(entry.icon));
    AddKey(text, "URL", FileUrl(entry.linkTarget));
  }
  return text;
}

}  // namespace tallowick
