#include "ui/win32/win32_file_dialog.h"

#include "platform/wide_text.h"
#include "ui/file_filter.h"

namespace tallowick {

std::wstring OpenFileFilter(const std::string& filter) {
  std::wstring result;
  for (const FileFilterEntry& entry : ParseFileFilter(filter)) {
    std::string patterns;
    for (const std::string& pattern : entry.patterns) {
      if (!patterns.empty()) patterns += ';';
      patterns += pattern;
    }
    result += platform::Widen(entry.description);
    result += L'\0';
    result += platform::Widen(patterns);
    result += L'\0';
  }
  if (result.empty()) result = std::wstring(L"All Files (*.*)\0*.*\0", 20);
  result += L'\0';
  return result;
}

}  // namespace tallowick
