#include "tests/support/saved_environment.h"

#include <algorithm>
#include <cstdlib>

namespace tallowick::testing {
namespace {

void Put(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes the variable; Windows has no empty variables.
  _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
#endif
}

}  // namespace

void SavedEnvironment::Keep(const std::string& name) {
  const bool known = std::any_of(m_saved.begin(), m_saved.end(),
                                 [&](const auto& saved) { return saved.first == name; });
  if (known) return;
  const char* old = std::getenv(name.c_str());
  m_saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
}

void SavedEnvironment::Set(const std::string& name, const std::optional<std::string>& value) {
  Keep(name);
  Put(name, value);
}

void SavedEnvironment::Restore() {
  for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) Put(it->first, it->second);
  m_saved.clear();
}

}  // namespace tallowick::testing
