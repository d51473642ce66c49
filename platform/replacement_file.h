#pragma once
// Replacing a file in one step. The new contents go into a temporary file
// beside the target, created new (never an existing file, never through a
// link), are put on the disk and then renamed over the target: a reader
// sees the old file or the new one, never a part of either. Until it is
// renamed, the temporary file is removed when its owner gives it up, when a
// step fails, and when a signal ends the process (ExitCleanup); a failure
// leaves the target as it was.
//
// Each step reports a failure with false; Error() then holds the errno of
// the first step that failed.
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/exit_cleanup.h"

namespace tallowick::platform {

// A temporary name that tells which process made it: `pathPrefix` + the
// process id + "-" + a number counted up in the process + `suffix`. What a
// killed process left is then found by RemoveStaleFiles.
std::string ProcessTemporaryPath(const std::string& pathPrefix, const std::string& suffix);

// `target` + "." + six letters or digits drawn at random: kRandomSuffixLength
// bytes more than the target.
inline constexpr std::size_t kRandomSuffixLength = 7;
std::string RandomTemporaryPath(const std::string& target);

class ReplacementFile {
 public:
  // Whether a signal that ends the process removes the temporary file. Code
  // that itself runs as a clean-up action registers nothing: once the
  // process is ending, nothing can be registered.
  enum class Removal { AtExit, ByOwnerOnly };

  ReplacementFile() = default;
  ~ReplacementFile() { Discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Takes `path` as the temporary file's name and registers its removal;
  // nothing is created yet. Registration waits forever once the process is
  // ending, so call this before taking any lock that a clean-up action
  // needs.
  void Reserve(std::string path, Removal removal = Removal::AtExit);
  // Creates the reserved file, open for reading and writing, with `mode`
  // less the umask. False when it cannot be made (EEXIST when the name is
  // taken).
  bool Create(int mode);
  // Reserves and creates names given by `nameOfAttempt` until one is not
  // taken yet (at most 100 attempts).
  template <class NameOfAttempt>
  bool CreateNew(NameOfAttempt nameOfAttempt, int mode, Removal removal = Removal::AtExit);

  const std::string& Path() const { return m_path; }
  // The open file, or -1 before Create() and after Complete().
  int Descriptor() const;
  // A buffered stream over the file, made at the first call (null when it
  // cannot be); from then on write through the stream only.
  std::FILE* Stream();
  // Writes every byte at the current position.
  bool Write(std::string_view bytes);
  // Sets the permission bits exactly (the umask does not apply).
  bool SetMode(int mode);

  // Flushes the stream, puts the bytes on the disk and closes the file;
  // false when this or any earlier write failed.
  bool Complete();
  // Renames the completed file over `target`; it is then no longer
  // temporary and no longer this object's.
  bool RenameTo(const std::string& target);
  // Closes and deletes the file unless it was renamed into place.
  void Discard();

  int Error() const { return m_error; }

 private:
  bool Failed(int error);

  std::string m_path;
  int m_fd = -1;
  std::FILE* m_stream = nullptr;  // owns m_fd once made
  bool m_created = false;
  int m_error = 0;
  ScopedCleanup m_cleanup;
};

template <class NameOfAttempt>
bool ReplacementFile::CreateNew(NameOfAttempt nameOfAttempt, int mode, Removal removal) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    Reserve(nameOfAttempt(), removal);
    if (Create(mode)) return true;
    if (m_error != EEXIST) break;
  }
  Discard();
  return false;
}

// The whole replacement of `target` by `bytes` with the permission bits
// `mode`, through a temporary file named RandomTemporaryPath(target). False
// (errno set) when any step failed; the target is then as it was.
bool ReplaceFileContents(const std::string& target, std::string_view bytes, int mode);

}  // namespace tallowick::platform
