#include "ui/wx/wx_text.h"

namespace tallowick {

wxString ToWx(const std::string& text) {
  wxString converted = wxString::FromUTF8(text.data(), text.size());
  if (converted.empty() && !text.empty())
    converted = wxString(text.data(), wxConvISO8859_1, text.size());
  return converted;
}

wxString OneLineText(const wxString& text) {
  wxString shown;
  shown.reserve(text.length());
  for (auto it = text.begin(); it != text.end(); ++it) {
    const wxUniChar c = *it;
    const auto code = c.GetValue();
    if (code == '\r' || code == '\n') {
      shown += wxUniChar(0x23CE);
      const auto next = it + 1;
      if (code == '\r' && next != text.end() && *next == '\n') ++it;
    } else if (code == '\t') {
      shown += ' ';
    } else if (code < 0x20) {
      shown += wxUniChar(0x2400 + code);
    } else if (code == 0x7F) {
      shown += wxUniChar(0x2421);
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

}  // namespace tallowick
