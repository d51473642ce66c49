#pragma once
// Opening the two generation logs. A log is never written through a link:
// a symbolic link (or a second hard link) under the log's name is replaced
// by a new file of that name, and whatever it pointed to stays untouched.
#include <cstdio>
#include <memory>
#include <string>

namespace tallowick {

struct LogFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
// A log stream; null when the log could not be opened, and every text meant
// for it is then skipped.
using LogFile = std::unique_ptr<std::FILE, LogFileCloser>;

// Creates the file at `path` or empties the plain file there. Null when it
// cannot be written (no rights, a folder or other special file of that name).
LogFile OpenEmptiedLog(const std::string& path);

}  // namespace tallowick
