#pragma once
// Work that must be undone when the process is ended from outside: the
// temporary data source, converted databases, temporary output files, the
// terminal's echo. Each owner registers an action while it holds something
// and drops it when it has undone the work itself.
//
// InstallSignalCleanup() makes INT, TERM, HUP and PIPE run every registered
// action once and then end the process with 128 + the signal's number. The
// signals are taken on a thread of their own (not in a signal handler), so
// actions may allocate, take locks and call the ODBC installer.
//
// A fault (SEGV, BUS, ILL, FPE, ABRT), most often inside an ODBC driver
// whose server went away, is reported on stderr; the actions then run on
// the signal thread (within ten seconds, or not at all) and the process ends
// with the fault's own signal.
//
// An owner registers before it creates what the action removes: once the
// process is ending, Add() never returns, so nothing is created that no
// action would undo. Only on the thread running the actions does Add()
// then return at once (id 0, nothing registered), so that an action may
// call code that registers clean-up of its own.
#include <cstdint>
#include <functional>

namespace tallowick::platform {

using CleanupAction = std::function<void()>;

class ExitCleanup {
 public:
  using Id = std::uint64_t;

  static Id Add(CleanupAction action);
  // Drops the action without running it (the owner undid the work).
  static void Remove(Id id);
  // Runs every action once, newest first, and refuses new ones from then on.
  static void RunAll();
};

// Registers an action for the lifetime of the object.
class ScopedCleanup {
 public:
  ScopedCleanup() = default;
  explicit ScopedCleanup(CleanupAction action) : m_id(ExitCleanup::Add(std::move(action))) {}
  ~ScopedCleanup() { Release(); }
  ScopedCleanup(ScopedCleanup&& other) noexcept : m_id(other.m_id) { other.m_id = 0; }
  ScopedCleanup& operator=(ScopedCleanup&& other) noexcept;
  ScopedCleanup(const ScopedCleanup&) = delete;
  ScopedCleanup& operator=(const ScopedCleanup&) = delete;

  // Drops the action without running it.
  void Release();

 private:
  ExitCleanup::Id m_id = 0;
};

// Call first thing in main(), before any other thread exists: blocks INT,
// TERM, HUP and PIPE in every thread, takes them on a thread of its own,
// and ignores SIGXFSZ so that a write beyond the file-size limit fails like
// any other write.
void InstallSignalCleanup();

// Runs the registered actions and ends the process as `signal` would have,
// with status 128 + signal. For a broken pipe seen as EPIPE on a write.
[[noreturn]] void EndAfterSignal(int signal);

// A write to a pipe whose reader has gone: ends the process as SIGPIPE
// would have (status 141 on every system).
[[noreturn]] void EndAfterBrokenPipe();

// The process's status for a signal: 128 + its number.
constexpr int SignalExitStatus(int signal) { return 128 + signal; }

}  // namespace tallowick::platform
