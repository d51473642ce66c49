#pragma once
// The --charset option of generate and view.
#include <optional>

#include "cli/arguments.h"
#include "engine/handheld_charset.h"

namespace tallowick::cli {

// The set named by --charset, or nothing when the option is absent; throws
// UsageError for a name that is no set.
std::optional<HandheldCharset> CharsetOption(const Arguments& arguments);

}  // namespace tallowick::cli
