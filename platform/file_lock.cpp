#include "platform/file_lock.h"

#include <utility>

namespace tallowick::platform {

FileLock::FileLock(FileLock&& other) noexcept : m_handle(std::exchange(other.m_handle, kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Unlock();
    m_handle = std::exchange(other.m_handle, kNone);
  }
  return *this;
}

}  // namespace tallowick::platform
