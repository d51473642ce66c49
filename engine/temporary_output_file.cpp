#include "engine/temporary_output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace tallowick {

namespace {

constexpr std::size_t kStreamBuffer = std::size_t{1} << 16;

std::atomic<unsigned> g_temporaryCounter{0};

// Puts the file's bytes on the disk; a file system that cannot sync (EINVAL,
// ENOTSUP) is taken at its word.
bool SyncToDisk(int fd) { return fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP; }

}  // namespace

bool TemporaryOutputFile::Create(const std::string& directory) {
  Remove();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = directory + kTemporaryPrefix + std::to_string(getpid()) + "-" +
                             std::to_string(g_temporaryCounter++) + kTemporarySuffix;
    // The action exists before the file does, so a signal can never leave it.
    platform::ScopedCleanup cleanup([path] { unlink(path.c_str()); });
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    std::FILE* stream = fdopen(fd, "w+b");
    if (stream == nullptr) {
      close(fd);
      unlink(path.c_str());
      return false;
    }
    std::setvbuf(stream, nullptr, _IOFBF, kStreamBuffer);
    m_path = path;
    m_stream = stream;
    m_failed = false;
    m_cleanup = std::move(cleanup);
    return true;
  }
  return false;
}

bool TemporaryOutputFile::Complete() {
  if (m_stream == nullptr) return false;
  bool written =
      std::fflush(m_stream) == 0 && std::ferror(m_stream) == 0 && SyncToDisk(fileno(m_stream));
  written = std::fclose(m_stream) == 0 && written;
  m_stream = nullptr;
  m_failed = !written;
  return written;
}

bool TemporaryOutputFile::RenameTo(const std::string& target) {
  if (m_path.empty() || m_stream != nullptr || m_failed) return false;
  if (std::rename(m_path.c_str(), target.c_str()) != 0) return false;
  m_path.clear();
  m_cleanup.Release();
  return true;
}

void TemporaryOutputFile::Remove() {
  if (m_stream != nullptr) {
    std::fclose(m_stream);
    m_stream = nullptr;
  }
  if (!m_path.empty()) {
    unlink(m_path.c_str());
    m_path.clear();
  }
  m_cleanup.Release();
}

bool CanReplaceByRename(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return errno == ENOENT;
  return !S_ISDIR(status.st_mode);
}

}  // namespace tallowick
