#pragma once
// Asking the user for a user name and password when a data source refuses
// a connection without them. The GUI answers with the "Connection" dialog,
// the command line with a terminal prompt, tests with a script.
#include <optional>
#include <string>

namespace tallowick {

struct Credentials {
  std::string userName;
  std::string password;
};

class CredentialPrompt {
 public:
  virtual ~CredentialPrompt() = default;
  // Asked at most once per connection attempt. nullopt: the user cancelled.
  virtual std::optional<Credentials> Ask(const std::string& dataSourceName) = 0;
};

}  // namespace tallowick
