#include <windows.h>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/exit_cleanup.h"
#include "platform/exit_cleanup_wait.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

namespace {

// Bounds the clean-up after a fault, which may find a lock held forever by
// the thread that faulted.
constexpr DWORD kFaultCleanupMilliseconds = 10000;

// The program's file name without its folder and ".exe", as messages name it.
std::string ProgramName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  const auto slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0) {
    name.resize(name.size() - 4);
  }
  return Narrow(name);
}

const char* FaultName(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_STACK_OVERFLOW:
      return "Access violation";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      return "Illegal instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
      return "Arithmetic exception";
    default:
      return "Unhandled exception";
  }
}

DWORD WINAPI RunActions(void*) {
  ExitCleanup::RunAll();
  return 0;
}

// A fault (often inside an ODBC driver that lost its server) cannot be
// recovered from, but what the run created can still be removed. The
// actions run on a thread of their own, bounded in time; Windows then ends
// the process with the fault's own code.
LONG WINAPI OnFault(EXCEPTION_POINTERS* fault) {
  static LONG faults = 0;
  if (::InterlockedIncrement(&faults) != 1) return EXCEPTION_CONTINUE_SEARCH;
  const DWORD code = fault->ExceptionRecord->ExceptionCode;
  std::fprintf(stderr,
               "%s: stopped by a fault (%s) in the program or in a driver it had loaded; "
               "the run did not finish\n",
               ProgramName().c_str(), FaultName(code));
  std::fflush(stderr);
  const HANDLE thread = ::CreateThread(nullptr, 0, RunActions, nullptr, 0, nullptr);
  if (thread != nullptr) {
    ::WaitForSingleObject(thread, kFaultCleanupMilliseconds);
    ::CloseHandle(thread);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// Ctrl-C, Ctrl-Break and closing the console window arrive on a thread the
// system starts for them, which runs the actions and ends the process.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  EndAfterSignal(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
}

}  // namespace

void WaitUntilEnded() {
  for (;;) ::Sleep(INFINITE);
}

void InstallSignalCleanup() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    ::SetUnhandledExceptionFilter(OnFault);
  });
}

void EndAfterBrokenPipe() {
  constexpr int kBrokenPipeSignal = 13;  // SIGPIPE's number, for the same status
  EndAfterSignal(kBrokenPipeSignal);
}

void EndAfterSignal(int signal) {
  static std::mutex ending;
  // A second caller (another event, another thread) waits for the first.
  ending.lock();
  ExitCleanup::RunAll();
  std::fflush(stdout);
  std::fflush(stderr);
  ::ExitProcess(static_cast<UINT>(SignalExitStatus(signal)));
}

}  // namespace tallowick::platform
