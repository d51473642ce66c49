#pragma once
// An output file (PDB, Helper file) written under a name of its own in the
// folder of its target (".tallowick-<pid>-<n>.tmp") and put in place by
// renaming it only once it is complete (platform::ReplacementFile). What a
// killed process left carries its process id, so the next run can tell it
// from the file of a live one.
#include <cstdio>
#include <string>

#include "platform/replacement_file.h"

namespace tallowick {

inline constexpr const char* kTemporaryPrefix = ".tallowick-";
inline constexpr const char* kTemporarySuffix = ".tmp";

class TemporaryOutputFile {
 public:
  // Creates a new, empty file in `directory` (which ends with '/') and opens
  // a buffered stream on it. False when no file could be created.
  bool Create(const std::string& directory);
  std::FILE* Stream() const { return m_stream; }
  const std::string& Path() const { return m_file.Path(); }

  // Flushes the stream, puts the bytes on the disk and closes it; false when
  // any write of the file failed.
  bool Complete();
  // Renames the completed file to `target`; it is then no longer temporary.
  bool RenameTo(const std::string& target) { return m_file.RenameTo(target); }
  // Closes and deletes the file unless it was renamed into place.
  void Remove();

 private:
  platform::ReplacementFile m_file;
  std::FILE* m_stream = nullptr;
};

// True when `path` can be replaced by renaming a file over it: nothing there,
// or something other than a folder.
bool CanReplaceByRename(const std::string& path);

}  // namespace tallowick
