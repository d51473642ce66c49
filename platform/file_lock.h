#pragma once
// Advisory locks between processes (flock), released when the holder ends,
// however it ends.
#include <functional>
#include <string>

namespace tallowick::platform {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Unlock(); }
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Locks `path` exclusively: a lock file (created with mode 0600 when
  // missing, then kept) or an existing folder (nothing is created). When
  // another process holds it, `waiting` is called once and the call then
  // waits. False when the path can be neither opened nor locked.
  bool Lock(const std::string& path, const std::function<void()>& waiting = {});
  void Unlock();
  bool Held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

}  // namespace tallowick::platform
