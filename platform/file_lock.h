#pragma once
// Locks between processes, released when the holder ends, however it ends:
// flock on Linux, a named mutex on Windows (unlocked by the thread that
// locked it).
#include <cstdint>
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
  // missing, then kept; on Windows none is made) or an existing folder
  // (nothing is created). When another process holds it, `waiting` is
  // called once and the call then waits. False when the path can be
  // neither opened nor locked.
  bool Lock(const std::string& path, const std::function<void()>& waiting = {});
  void Unlock();
  bool Held() const { return m_handle != kNone; }

 private:
  // A descriptor on Linux, a mutex handle on Windows.
  using Handle = std::intptr_t;
  static constexpr Handle kNone = -1;
  Handle m_handle = kNone;
};

}  // namespace tallowick::platform
