#pragma once
// The file-system calls the program makes, with paths in UTF-8 on every
// system. On Windows the paths go through the wide functions (any
// character of a file name works), files are opened in binary mode and not
// inherited by child processes; on Linux these are the POSIX calls.
//
// Calls that fail return false or -1 with errno set.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tallowick::platform {

// What OpenFile may be asked for.
enum class OpenMode {
  Read,         // an existing file, for reading
  ReadWrite,    // an existing file, for reading and writing
  CreateNew,    // a new file (never an existing one, never through a link), read and write
  WriteCreate,  // a file made when missing, for writing; a link is not followed
};

// Opens `path`; the descriptor, or -1. `permissions` (0600, 0644…) apply to
// a file that is made, less the umask; Windows keeps no such bits.
int OpenFile(const std::string& path, OpenMode mode, int permissions = 0666);
// std::fopen with a UTF-8 path.
std::FILE* OpenStream(const std::string& path, const char* mode);
// Creates the file at `path` or empties the plain file there, for text
// (line ends as the system writes them: CR LF on Windows). Never written
// through a link: a symbolic link or a second hard link under that name is
// replaced by a new file, and what it pointed to stays untouched; a FIFO
// does not hold the call up. Null when it cannot be written (no rights, a
// folder or other special file of that name).
std::FILE* OpenEmptiedTextFile(const std::string& path);
// A buffered stream over an open descriptor, which it then owns.
std::FILE* StreamOf(int fd, const char* mode);
bool CloseFile(int fd);

bool ReadAt(int fd, void* bytes, std::size_t length, std::uint64_t offset);
bool WriteAt(int fd, const void* bytes, std::size_t length, std::uint64_t offset);
bool Truncate(int fd, std::uint64_t length);
// Puts the file's bytes on the disk; a file system that cannot do so is
// taken at its word.
bool SyncFile(int fd);
// Sets the permission bits exactly; true at once on Windows.
bool SetPermissions(int fd, int permissions);

// Other: a link not followed, a device, a pipe. Unknown: the path cannot
// be looked at (no permission, a name too long).
enum class PathKind { Missing, File, Folder, Other, Unknown };
// What `path` names; a symbolic link counts as Other unless it is followed.
PathKind KindOf(const std::string& path, bool followLinks = true);
// The size of an open file, or -1.
std::int64_t FileSize(int fd);
// The size of the file at `path`, or -1.
std::int64_t FileSizeOf(const std::string& path);
// True when the open file is a plain file with no second name.
bool IsOwnPlainFile(int fd);

// True for a folder we may search ("enterable" as chdir would judge it).
bool CanEnterFolder(const std::string& path);

bool RemoveFile(const std::string& path);
bool RemoveFolder(const std::string& path);
bool MakeFolder(const std::string& path);
// Renames `from` over `to`, replacing a file of that name in one step.
bool RenameOver(const std::string& from, const std::string& to);
// Names in `folder` (no "." or ".."), in the order the system gives them.
// False when the folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<std::string>& names);

// `path` as an ODBC driver of this system opens it: the path itself; but
// under Wine, whose ODBC hands the work to the Linux drivers, the Linux
// path of the file (Z:\\data\\orders.db -> /data/orders.db). On Windows
// itself a path that the ANSI code page cannot spell (driver_text.h) is
// given by its short (8.3) name; empty when it has none the page can spell.
// Still UTF-8: TextForDrivers converts it with the rest of the text.
std::string PathForDrivers(const std::string& path);

// `path` made absolute against the working folder and without "." and
// ".." steps, as a file dialog gives it; the path itself when that fails.
std::string AbsolutePath(const std::string& path);

// The value of an environment variable (UTF-8), or nothing.
bool GetEnvironment(const char* name, std::string& value);
long ProcessId();
// True while a process with this id exists (one we may not signal counts).
bool ProcessIsAlive(long pid);
// A folder for temporary files that only this user reads:
// $XDG_RUNTIME_DIR when it names a writable folder by an absolute path,
// else $TMPDIR under the same test, else /tmp; on Windows the user's
// temporary folder (GetTempPathW). Without a trailing separator.
std::string PrivateTemporaryFolder();
// The user's home folder, or empty when it cannot be told.
std::string HomeFolder();

}  // namespace tallowick::platform
