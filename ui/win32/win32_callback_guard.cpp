#include "ui/win32/win32_callback_guard.h"

namespace tallowick {

bool CallbackGuard::Run(const std::function<void()>& body, const std::function<void()>& onFailure) {
  try {
    body();
    return true;
  } catch (...) {
    if (!m_failure) m_failure = std::current_exception();
  }
  if (onFailure) onFailure();
  return false;
}

void CallbackGuard::Rethrow() {
  if (!m_failure) return;
  std::exception_ptr failure = m_failure;
  m_failure = nullptr;
  std::rethrow_exception(failure);
}

}  // namespace tallowick
