#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>

#include "platform/exit_cleanup.h"
#include "platform/exit_cleanup_wait.h"

namespace tallowick::platform {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

// The thread that takes the ending signals and runs the actions.
pthread_t g_cleanupThread;
// The fault that is ending the process, 0 while none is.
std::atomic<int> g_fault{0};
// Bounds the clean-up after a fault, which may find a lock held forever by
// the thread that faulted.
constexpr unsigned kFaultCleanupSeconds = 10;

sigset_t EndingSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kEndingSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void WaitUntilEnded() {
  for (;;) pause();
}

namespace {

bool IsFault(int signal) {
  for (int fault : kFaultSignals) {
    if (fault == signal) return true;
  }
  return false;
}

const char* FaultName(int signal) {
  switch (signal) {
    case SIGSEGV:
      return "Segmentation fault";
    case SIGBUS:
      return "Bus error";
    case SIGILL:
      return "Illegal instruction";
    case SIGFPE:
      return "Arithmetic exception";
    default:
      return "Aborted";
  }
}

void WriteText(const char* text) { (void)!write(STDERR_FILENO, text, std::strlen(text)); }

// A fault (often inside an ODBC driver that lost its server) cannot be
// recovered from, but what the run created can still be removed. The
// faulting thread hands the clean-up to the signal thread and waits; that
// thread runs the actions and ends the process with the same signal.
void OnFault(int signal) {
  int none = 0;
  if (pthread_equal(pthread_self(), g_cleanupThread) ||
      !g_fault.compare_exchange_strong(none, signal)) {
    // A fault during the clean-up itself, or a second one: end at once.
    std::signal(signal, SIG_DFL);
    return;  // the instruction faults again, or abort() raises again
  }
  WriteText(program_invocation_short_name);
  WriteText(": stopped by a fault (");
  WriteText(FaultName(signal));
  WriteText(") in the program or in a driver it had loaded; the run did not finish\n");
  alarm(kFaultCleanupSeconds);
  pthread_kill(g_cleanupThread, SIGTERM);
  WaitUntilEnded();
}

void InstallFaultHandlers() {
  struct sigaction action {};
  action.sa_handler = OnFault;
  sigemptyset(&action.sa_mask);
  for (int signal : kFaultSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallSignalCleanup() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    std::signal(SIGXFSZ, SIG_IGN);
    const sigset_t set = EndingSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    // A broken pipe on a write is directed at the writing thread, where it
    // stays blocked: the write then fails with EPIPE, which the writer turns
    // into EndAfterSignal(SIGPIPE).
    // The thread is running before this returns: a program that ends at
    // once (a usage error) never exits while the thread is still starting.
    std::promise<void> started;
    std::future<void> running = started.get_future();
    std::thread thread([set, started = std::move(started)]() mutable {
      started.set_value();
      for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) continue;
        const int fault = g_fault.load();
        EndAfterSignal(fault != 0 ? fault : signal);
      }
    });
    g_cleanupThread = thread.native_handle();
    thread.detach();
    running.wait();
    InstallFaultHandlers();
  });
}

void EndAfterBrokenPipe() { EndAfterSignal(SIGPIPE); }

void EndAfterSignal(int signal) {
  static std::mutex ending;
  // A second caller (another signal, another thread) waits for the first.
  ending.lock();
  ExitCleanup::RunAll();
  if (IsFault(signal)) {
    // Ends as the fault would have, with its status and core dump.
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
  }
  _exit(SignalExitStatus(signal));
}

}  // namespace tallowick::platform
