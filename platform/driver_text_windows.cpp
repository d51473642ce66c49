// The ANSI code page of Windows at the ODBC functions, through UTF-16.
#include <windows.h>

#include "platform/driver_text.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

bool DriversUseUtf8() {
  // Wine's kernel32 names Linux paths; its ODBC hands the calls, bytes as
  // they are, to the Linux driver manager and drivers.
  static const bool utf8 =
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") != nullptr ||
      ::GetACP() == CP_UTF8;
  return utf8;
}

std::string TextFromCodePage(std::string_view text, unsigned page) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(page, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(page, 0, text.data(), size, wide.data(), length);
  return Narrow(wide);
}

bool TextToCodePage(std::string_view utf8, unsigned page, std::string& out) {
  out.clear();
  if (utf8.empty()) return true;
  const std::wstring wide = Widen(utf8);
  const int size = static_cast<int>(wide.size());
  // No best fit: a character the page lacks must not become a look-alike
  // ("ł" as "l"), which could name another file or match another value.
  BOOL usedDefault = FALSE;
  const int length = ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                           0, nullptr, &usedDefault);
  if (length <= 0) return false;
  out.resize(static_cast<std::size_t>(length));
  ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), length, nullptr,
                        &usedDefault);
  // Widen turned invalid UTF-8 into U+FFFD, which the page lacks as well.
  return usedDefault == FALSE;
}

std::string TextFromDrivers(std::string_view text) {
  if (DriversUseUtf8()) return std::string(text);
  return TextFromCodePage(text, CP_ACP);
}

bool TextForDrivers(std::string_view utf8, std::string& out) {
  if (DriversUseUtf8()) {
    out.assign(utf8);
    return true;
  }
  return TextToCodePage(utf8, CP_ACP, out);
}

}  // namespace tallowick::platform
