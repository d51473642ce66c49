#include "cli/charset_option.h"

namespace tallowick::cli {

std::optional<HandheldCharset> CharsetOption(const Arguments& arguments) {
  const std::optional<std::string> option = arguments.Value("--charset");
  if (!option) return std::nullopt;
  const std::optional<HandheldCharset> charset = CharsetByOption(*option);
  if (!charset) {
    throw UsageError("unknown --charset (cp1252, shift-jis, gb2312, big5, euc-kr or utf-8)");
  }
  return charset;
}

}  // namespace tallowick::cli
