#include "installer/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/replacement_file.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  bool Close() {
    if (m_fd < 0) return true;
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

bool CopyContents(int from, platform::ReplacementFile& to) {
  std::array<char, 65536> buffer;
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!to.Write(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return false;
  }
}

}  // namespace

bool CopyFileReplacing(const std::string& source, const std::string& destination) {
  if (destination.size() + kCopyTemporarySuffixLength > kMaxPathLength) return false;
  FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.IsOpen()) return false;
  struct stat status {};
  if (::fstat(in.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;

  platform::ReplacementFile out;
  return out.CreateNew([&destination] { return platform::RandomTemporaryPath(destination); },
                       S_IRUSR | S_IWUSR) &&
         CopyContents(in.Get(), out) && out.SetMode(status.st_mode & 0777) && out.Complete() &&
         out.RenameTo(destination);
}

}  // namespace tallowick
