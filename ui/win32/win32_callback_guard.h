#pragma once
// Exceptions never cross the system's frames: a window procedure catches what
// a page throws (a programming fault), the window ends its modal run, and the
// host throws it again once the run has returned.
#include <exception>
#include <functional>

namespace tallowick {

class CallbackGuard {
 public:
  // Runs `body`; an exception is kept (the first one only) and `onFailure` runs.
  // True when `body` returned normally.
  bool Run(const std::function<void()>& body, const std::function<void()>& onFailure = {});
  bool Failed() const { return static_cast<bool>(m_failure); }
  // Throws the kept exception, if any, and forgets it.
  void Rethrow();

 private:
  std::exception_ptr m_failure;
};

}  // namespace tallowick
