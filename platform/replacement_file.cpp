#include "platform/replacement_file.h"

#include <atomic>
#include <cerrno>
#include <random>

#include "platform/file_system.h"
#include "platform/write_all.h"

namespace tallowick::platform {

namespace {

constexpr std::size_t kStreamBuffer = std::size_t{1} << 16;
constexpr std::string_view kRandomLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::atomic<unsigned> g_temporaryCounter{0};

}  // namespace

std::string ProcessTemporaryPath(const std::string& pathPrefix, const std::string& suffix) {
  std::string path = pathPrefix;
  path.append(std::to_string(ProcessId())).append("-");
  path.append(std::to_string(g_temporaryCounter++)).append(suffix);
  return path;
}

std::string RandomTemporaryPath(const std::string& target) {
  static thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kRandomLetters.size() - 1);
  std::string path = target;
  path.push_back('.');
  for (std::size_t i = 1; i < kRandomSuffixLength; ++i) {
    path.push_back(kRandomLetters[pick(random)]);
  }
  return path;
}

void ReplacementFile::Reserve(std::string path, Removal removal) {
  Discard();
  m_error = 0;
  m_path = std::move(path);
  // The action exists before the file does, so a signal can never leave it.
  if (removal == Removal::AtExit) {
    m_cleanup = ScopedCleanup([path = m_path] { RemoveFile(path); });
  }
}

bool ReplacementFile::Create(int mode) {
  if (m_path.empty() || m_created) return Failed(EINVAL);
  const int fd = OpenFile(m_path, OpenMode::CreateNew, mode);
  if (fd < 0) {
    // The name stays someone else's: nothing of it is removed.
    const int error = errno;
    m_cleanup.Release();
    m_path.clear();
    return Failed(error);
  }
  m_fd = fd;
  m_created = true;
  return true;
}

int ReplacementFile::Descriptor() const { return m_stream != nullptr ? fileno(m_stream) : m_fd; }

std::FILE* ReplacementFile::Stream() {
  if (m_stream != nullptr || m_fd < 0) return m_stream;
  m_stream = StreamOf(m_fd, "w+b");
  if (m_stream == nullptr) {
    Failed(errno);
    return nullptr;
  }
  std::setvbuf(m_stream, nullptr, _IOFBF, kStreamBuffer);
  return m_stream;
}

bool ReplacementFile::Write(std::string_view bytes) {
  if (Descriptor() < 0 || m_stream != nullptr) return Failed(EBADF);
  return WriteAll(m_fd, bytes) || Failed(errno);
}

bool ReplacementFile::SetMode(int mode) {
  if (Descriptor() < 0) return Failed(EBADF);
  return SetPermissions(Descriptor(), mode) || Failed(errno);
}

bool ReplacementFile::Complete() {
  if (Descriptor() < 0) return Failed(EBADF);
  bool written = m_error == 0;
  if (m_stream != nullptr) {
    if (std::fflush(m_stream) != 0 || std::ferror(m_stream) != 0) written = Failed(errno);
    if (!SyncFile(fileno(m_stream))) written = Failed(errno);
    if (std::fclose(m_stream) != 0) written = Failed(errno);
    m_stream = nullptr;
  } else {
    if (!SyncFile(m_fd)) written = Failed(errno);
    if (!CloseFile(m_fd)) written = Failed(errno);
  }
  m_fd = -1;
  return written;
}

bool ReplacementFile::RenameTo(const std::string& target) {
  // Only a file completed without a failure is put in place.
  if (!m_created || Descriptor() >= 0 || m_error != 0) {
    return Failed(m_error != 0 ? m_error : EINVAL);
  }
  if (!RenameOver(m_path, target)) return Failed(errno);
  m_path.clear();
  m_created = false;
  m_cleanup.Release();
  return true;
}

void ReplacementFile::Discard() {
  if (m_stream != nullptr) {
    std::fclose(m_stream);
  } else if (m_fd >= 0) {
    CloseFile(m_fd);
  }
  m_stream = nullptr;
  m_fd = -1;
  if (m_created) RemoveFile(m_path);
  m_created = false;
  m_path.clear();
  m_cleanup.Release();
}

bool ReplacementFile::Failed(int error) {
  if (m_error == 0) m_error = error != 0 ? error : EIO;
  errno = m_error;
  return false;
}

bool ReplaceFileContents(const std::string& target, std::string_view bytes, int mode) {
  ReplacementFile file;
  const bool replaced = file.CreateNew([&target] { return RandomTemporaryPath(target); }, 0600) &&
                        file.Write(bytes) && file.SetMode(mode) && file.Complete() &&
                        file.RenameTo(target);
  const int error = file.Error();
  file.Discard();
  errno = error;
  return replaced;
}

}  // namespace tallowick::platform
