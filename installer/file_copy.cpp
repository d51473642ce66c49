#include "installer/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>

#include "platform/write_all.h"
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

bool CopyContents(int from, int to) {
  std::array<char, 65536> buffer;
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    const std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
    if (!platform::WriteAll(to, bytes)) return false;
  }
}

}  // namespace

bool CopyFileReplacing(const std::string& source, const std::string& destination) {
  if (destination.size() + kCopyTemporarySuffixLength > kMaxPathLength) return false;
  FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.IsOpen()) return false;
  struct stat status {};
  if (::fstat(in.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;

  std::string temporary = destination + ".XXXXXX";
  FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!out.IsOpen()) return false;
  const bool copied = CopyContents(in.Get(), out.Get()) && ::fchmod(out.Get(), status.st_mode & 0777) == 0 &&
                      ::fsync(out.Get()) == 0;
  if (out.Close() && copied && std::rename(temporary.c_str(), destination.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace tallowick
