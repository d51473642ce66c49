#include "ui/win32/win32_text.h"

#include <vector>

#include "platform/wide_text.h"

namespace tallowick {

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = ::GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return platform::Narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  ::SetWindowTextW(window, platform::Widen(text).c_str());
}

std::wstring OneLineText(const std::wstring& text) {
  std::wstring shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      shown += static_cast<wchar_t>(0x23CE);
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else if (c == L'\t') {
      shown += L' ';
    } else if (c < 0x20) {
      shown += static_cast<wchar_t>(0x2400 + c);
    } else if (c == 0x7F) {
      shown += static_cast<wchar_t>(0x2421);
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace tallowick
