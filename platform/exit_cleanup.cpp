#include "platform/exit_cleanup.h"

#include <map>
#include <mutex>

#include "platform/exit_cleanup_wait.h"

namespace tallowick::platform {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<ExitCleanup::Id, CleanupAction> actions;
  ExitCleanup::Id next = 1;
  bool ending = false;
};

Registry& TheRegistry() {
  // Never destroyed: the signal thread may use it while main() returns.
  static Registry* registry = new Registry;
  return *registry;
}

// Set on the thread that runs the actions: an action may call code that
// registers clean-up of its own (a temporary file it renames at once).
thread_local bool t_runningActions = false;

}  // namespace

ExitCleanup::Id ExitCleanup::Add(CleanupAction action) {
  Registry& registry = TheRegistry();
  std::unique_lock lock(registry.mutex);
  // The process is ending: whatever the caller is about to create would
  // outlive every action, so it is never created. An action itself goes on
  // (it undoes its own work before it returns); its registration is none.
  if (registry.ending) {
    if (t_runningActions) return 0;
    lock.unlock();
    WaitUntilEnded();
  }
  const Id id = registry.next++;
  registry.actions.emplace(id, std::move(action));
  return id;
}

void ExitCleanup::Remove(Id id) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.actions.erase(id);
}

void ExitCleanup::RunAll() {
  Registry& registry = TheRegistry();
  std::map<Id, CleanupAction> actions;
  {
    std::lock_guard lock(registry.mutex);
    if (registry.ending) return;
    registry.ending = true;
    actions.swap(registry.actions);
  }
  t_runningActions = true;
  for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
    if (it->second) it->second();
  }
}

ScopedCleanup& ScopedCleanup::operator=(ScopedCleanup&& other) noexcept {
  if (this != &other) {
    Release();
    m_id = other.m_id;
    other.m_id = 0;
  }
  return *this;
}

void ScopedCleanup::Release() {
  if (m_id != 0) ExitCleanup::Remove(m_id);
  m_id = 0;
}

}  // namespace tallowick::platform
