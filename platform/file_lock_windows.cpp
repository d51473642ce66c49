#include <windows.h>

#include <cstdint>
#include <cwctype>
#include <utility>

#include "platform/file_lock.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

namespace {

// One name per file or folder, however the path is written: the full path,
// in lower case (Windows' file names ignore case), hashed into the
// session's name space of kernel objects.
std::wstring MutexNameOf(const std::string& path) {
  const std::wstring wide = Widen(path);
  std::wstring full(32768, L'\0');
  const DWORD length =
      ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  full.resize(length > 0 && length < full.size() ? length : 0);
  if (full.empty()) full = wide;
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  std::uint64_t hash = 14695981039346656037ull;
  for (wchar_t c : full) {
    const wchar_t folded = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    hash = (hash ^ static_cast<std::uint16_t>(folded)) * 1099511628211ull;
  }
  wchar_t name[64];
  ::swprintf(name, 64, L"Local\\Tallowick-lock-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

bool Acquired(DWORD wait) { return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; }

}  // namespace

bool FileLock::Lock(const std::string& path, const std::function<void()>& waiting) {
  Unlock();
  // The path must exist or be creatable as a lock file elsewhere; here only
  // its name counts, so an empty one is refused.
  if (path.empty()) return false;
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, MutexNameOf(path).c_str());
  if (mutex == nullptr) return false;
  // A holder that ended without unlocking leaves the mutex abandoned: it is
  // ours then, as a lock file's flock would be.
  bool locked = Acquired(::WaitForSingleObject(mutex, 0));
  if (!locked) {
    if (waiting) waiting();
    locked = Acquired(::WaitForSingleObject(mutex, INFINITE));
  }
  if (!locked) {
    ::CloseHandle(mutex);
    return false;
  }
  m_handle = reinterpret_cast<Handle>(mutex);
  return true;
}

void FileLock::Unlock() {
  if (m_handle == kNone) return;
  const auto mutex = reinterpret_cast<HANDLE>(m_handle);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
  m_handle = kNone;
}

}  // namespace tallowick::platform
