#pragma once
// Writing a layout's reader, NAMERecord.h and NAMERecord.c, into a folder.
#include <string>

#include "reader_code/reader_layout.h"

namespace tallowick {

struct ReaderFiles {
  std::string headerPath;
  std::string sourcePath;
};

// Writes both files into the existing `folder`, each under a temporary
// name first and renamed over a file of its name only once both are
// complete. False when a file could not be written: `error` names it and
// the system's reason, and no temporary file stays behind.
bool WriteReaderFiles(const ReaderLayout& layout, const std::string& folder, ReaderFiles& files,
                      std::string& error);

}  // namespace tallowick
