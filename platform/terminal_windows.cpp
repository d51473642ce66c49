// clang-format off
#include <windows.h>  // first: the other Windows headers build on it
#include <shellapi.h>
// clang-format on

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/terminal.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

namespace {

DWORD HandleNumberOf(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return STD_INPUT_HANDLE;
    case StandardStream::Output:
      return STD_OUTPUT_HANDLE;
    case StandardStream::Error:
      return STD_ERROR_HANDLE;
  }
  return STD_ERROR_HANDLE;
}

}  // namespace

bool IsTerminal(StandardStream stream) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(HandleNumberOf(stream)), &mode) != 0;
}

EchoOff::EchoOff() {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!::GetConsoleMode(input, &mode)) return;
  m_saved = mode;
  // Registered before the echo goes off.
  m_restore = ScopedCleanup([input, mode] {
    ::SetConsoleMode(input, mode);
    std::fputc('\n', stderr);
  });
  ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  m_off = true;
}

EchoOff::~EchoOff() {
  if (!m_off) return;
  ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), static_cast<DWORD>(m_saved));
  m_restore.Release();
}

bool OutputReaderIsGone() {
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (::GetFileType(output) != FILE_TYPE_PIPE) return false;
  DWORD available = 0;
  // On the writing end the call fails once the reading end is closed.
  if (::PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr)) return false;
  const DWORD error = ::GetLastError();
  return error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED;
}

std::vector<std::string> StartCommandLine(int, char**) {
  ::SetConsoleOutputCP(CP_UTF8);
  // Standard output carries the bytes the program writes, as on Linux: in
  // text mode the CR LF that ends a csv record would become CR CR LF, and a
  // line break inside a csv value would change.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> words;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return words;
  for (int i = 1; i < count; ++i) words.push_back(Narrow(wide[i]));
  ::LocalFree(wide);
  return words;
}

}  // namespace tallowick::platform
