#pragma once
// Copying one file into place, replacing a file of the same name.
#include <cstddef>
#include <string>

#include "platform/replacement_file.h"

namespace tallowick {

// Bytes the copy adds to the destination path for its temporary file.
inline constexpr std::size_t kCopyTemporarySuffixLength = platform::kRandomSuffixLength;

// Copies the regular file `source` to `destination` with the source's
// permission bits. The data goes to a temporary file beside the destination,
// which then replaces it in one step: a failed copy leaves an existing file
// untouched, a running program can be replaced, and copying a file onto itself
// keeps it whole. False when anything fails (the temporary file is removed).
bool CopyFileReplacing(const std::string& source, const std::string& destination);

}  // namespace tallowick
