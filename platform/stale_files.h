#pragma once
// Temporary files named after the process that made them, so that what a
// killed process left behind can be told from what a live one still uses.
#include <string>

#include "platform/file_system.h"

namespace tallowick::platform {

// Removes the files of `folder` whose names are `prefix` + PID + `rest`,
// where `rest` ends with `suffix` and PID names a process that no longer
// exists. Symbolic links and folders are left alone. Returns the count.
int RemoveStaleFiles(const std::string& folder, const std::string& prefix,
                     const std::string& suffix);

}  // namespace tallowick::platform
