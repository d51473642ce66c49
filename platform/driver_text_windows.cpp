// The ANSI code page of Windows at the ODBC functions, through UTF-16.
#include <windows.h>

#include "platform/driver_text.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

bool DriversUseUtf8() {
  // Wine's kernel32 names Linux paths; its ODBC hands the calls, bytes as
  // they are, to the Linux driver manager and drivers.
  static const bool utf8 =
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") !=
          nullptr ||
      ::GetACP() == CP_UTF8;
  return utf8;
}

std::string TextFromDrivers(std::string_view text) {
  if (DriversUseUtf8() || text.empty()) return std::string(text);
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return Narrow(wide);
}

bool TextForDrivers(std::string_view utf8, std::string& out) {
  out.clear();
  if (DriversUseUtf8() || utf8.empty()) {
    out.assign(utf8);
    return true;
  }
  const std::wstring wide = Widen(utf8);
  const int size = static_cast<int>(wide.size());
  // No best fit: a character the page lacks must not become a look-alike
  // ("ł" as "l"), which could name another file or match another value.
  BOOL usedDefault = FALSE;
  const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                           nullptr, 0, nullptr, &usedDefault);
  if (length <= 0) return false;
  out.resize(static_cast<std::size_t>(length));
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), length,
                        nullptr, &usedDefault);
  // Widen turned invalid UTF-8 into U+FFFD, which the page lacks as well.
  return usedDefault == FALSE;
}

}  // namespace tallowick::platform
