#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>

#include "platform/driver_text.h"
#include "platform/file_system.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

namespace {

int FlagsOf(OpenMode mode) {
  constexpr int kAlways = _O_BINARY | _O_NOINHERIT;
  switch (mode) {
    case OpenMode::Read:
      return _O_RDONLY | kAlways;
    case OpenMode::ReadWrite:
      return _O_RDWR | kAlways;
    case OpenMode::CreateNew:
      return _O_RDWR | _O_CREAT | _O_EXCL | kAlways;
    case OpenMode::WriteCreate:
      return _O_WRONLY | _O_CREAT | kAlways;
  }
  return _O_RDONLY | kAlways;
}

// errno for the last Win32 error of the calls that set none themselves.
bool FailedWithLastError() {
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      errno = EACCES;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    default:
      errno = EIO;
  }
  return false;
}

}  // namespace

int OpenFile(const std::string& path, OpenMode mode, int permissions) {
  const int made = (permissions & 0200) != 0 ? _S_IREAD | _S_IWRITE : _S_IREAD;
  int fd = -1;
  ::_wsopen_s(&fd, Widen(path).c_str(), FlagsOf(mode), _SH_DENYNO, made);
  return fd;
}

std::FILE* OpenStream(const std::string& path, const char* mode) {
  std::wstring wideMode = Widen(mode);
  if (wideMode.find(L'b') == std::wstring::npos) wideMode += L'b';
  return ::_wfopen(Widen(path).c_str(), wideMode.c_str());
}

std::FILE* OpenEmptiedTextFile(const std::string& path) {
  const std::wstring name = Widen(path);
  constexpr int kFlags = _O_WRONLY | _O_CREAT | _O_TEXT | _O_NOINHERIT;
  int fd = -1;
  // A link (reparse point) under the name is replaced by a file of its own,
  // and so is a second name of another file, before anything is emptied.
  if (KindOf(path, false) != PathKind::Other) {
    ::_wsopen_s(&fd, name.c_str(), kFlags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    if (!IsOwnPlainFile(fd)) {
      const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
      const bool linked = ::GetFileType(handle) == FILE_TYPE_DISK;
      ::_close(fd);
      fd = -1;
      if (!linked) return nullptr;
    }
  }
  if (fd < 0) {
    if (!RemoveFile(path)) return nullptr;
    ::_wsopen_s(&fd, name.c_str(), kFlags | _O_EXCL, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
  }
  if (::_chsize_s(fd, 0) != 0) {
    ::_close(fd);
    return nullptr;
  }
  std::FILE* file = ::_fdopen(fd, "w");
  if (file == nullptr) ::_close(fd);
  return file;
}

std::FILE* StreamOf(int fd, const char* mode) { return ::_fdopen(fd, mode); }

bool CloseFile(int fd) { return ::_close(fd) == 0; }

bool ReadAt(int fd, void* bytes, std::size_t length, std::uint64_t offset) {
  if (::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) return false;
  auto* at = static_cast<char*>(bytes);
  while (length > 0) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(length, 1u << 30));
    const int read = ::_read(fd, at, chunk);
    if (read <= 0) {
      if (read == 0) errno = EIO;
      return false;
    }
    at += read;
    length -= static_cast<std::size_t>(read);
  }
  return true;
}

bool WriteAt(int fd, const void* bytes, std::size_t length, std::uint64_t offset) {
  if (::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) return false;
  const auto* at = static_cast<const char*>(bytes);
  while (length > 0) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(length, 1u << 30));
    const int written = ::_write(fd, at, chunk);
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    at += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

bool Truncate(int fd, std::uint64_t length) {
  const errno_t error = ::_chsize_s(fd, static_cast<__int64>(length));
  if (error != 0) errno = error;
  return error == 0;
}

bool SyncFile(int fd) { return ::_commit(fd) == 0 || errno == EBADF; }

bool SetPermissions(int, int) { return true; }

PathKind KindOf(const std::string& path, bool followLinks) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::Missing
                                                                          : PathKind::Unknown;
  }
  if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PathKind::Other;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return PathKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return PathKind::Other;
  return PathKind::File;
}

std::int64_t FileSize(int fd) { return ::_filelengthi64(fd); }

std::int64_t FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsOwnPlainFile(int fd) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  BY_HANDLE_FILE_INFORMATION information{};
  if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &information)) {
    return false;
  }
  return ::GetFileType(handle) == FILE_TYPE_DISK &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         information.nNumberOfLinks == 1;
}

bool CanEnterFolder(const std::string& path) { return KindOf(path) == PathKind::Folder; }

bool RemoveFile(const std::string& path) { return ::_wunlink(Widen(path).c_str()) == 0; }

bool RemoveFolder(const std::string& path) { return ::_wrmdir(Widen(path).c_str()) == 0; }

bool MakeFolder(const std::string& path) { return ::_wmkdir(Widen(path).c_str()) == 0; }

bool RenameOver(const std::string& from, const std::string& to) {
  return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
         FailedWithLastError();
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
  std::wstring pattern = Widen(folder.empty() ? "." : folder);
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    // An empty folder still has "." and ".."; nothing at all means no folder.
    return FailedWithLastError();
  }
  do {
    const std::wstring_view name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return true;
}

std::string PathForDrivers(const std::string& path) {
  using UnixFileName = char* (*)(const wchar_t*);
  static const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixFileName == nullptr) {
    // Windows itself: the ANSI functions take the path in the system's code
    // page. A name the page cannot spell may have a short (8.3) name that
    // it can.
    std::string ansi;
    if (TextForDrivers(path, ansi)) return path;
    const std::wstring wide = Widen(path);
    const DWORD length = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0) return {};
    std::wstring shortPath(length, L'\0');
    const DWORD written = ::GetShortPathNameW(wide.c_str(), shortPath.data(), length);
    if (written == 0 || written >= length) return {};
    shortPath.resize(written);
    const std::string shortened = Narrow(shortPath);
    return TextForDrivers(shortened, ansi) ? shortened : std::string();
  }
  char* unixPath = unixFileName(Widen(path).c_str());
  if (unixPath == nullptr) return path;
  std::string converted = unixPath;
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return converted;
}

std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return Narrow(full);
}

bool GetEnvironment(const char* name, std::string& value) {
  const wchar_t* text = ::_wgetenv(Widen(name).c_str());
  if (text == nullptr) return false;
  value = Narrow(text);
  return true;
}

long ProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool ProcessIsAlive(long pid) {
  if (pid <= 0) return false;
  const HANDLE process =
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  DWORD status = 0;
  const bool alive = ::GetExitCodeProcess(process, &status) && status == STILL_ACTIVE;
  ::CloseHandle(process);
  return alive;
}

std::string PrivateTemporaryFolder() {
  wchar_t buffer[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  std::string folder = length > 0 && length <= MAX_PATH + 1 ? Narrow({buffer, length}) : ".";
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

std::string HomeFolder() {
  std::string home;
  if (GetEnvironment("USERPROFILE", home)) return home;
  return "";
}

}  // namespace tallowick::platform
