#pragma once
// Environment variables a test changes, put back as they were (set or
// unset) when this object goes.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tallowick::testing {

class SavedEnvironment {
 public:
  SavedEnvironment() = default;
  SavedEnvironment(const SavedEnvironment&) = delete;
  SavedEnvironment& operator=(const SavedEnvironment&) = delete;
  ~SavedEnvironment() { Restore(); }

  // Sets `name` (unsets it for nullopt), remembering its first value.
  void Set(const std::string& name, const std::optional<std::string>& value);
  // Remembers the value of `name` without changing it, for a test that
  // changes it directly.
  void Keep(const std::string& name);
  // Puts every remembered variable back; later changes are remembered anew.
  void Restore();

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace tallowick::testing
