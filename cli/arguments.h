#pragma once
// Command-line arguments: positionals, "--name value" options and flags.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tallowick::cli {

class UsageError : public std::exception {
 public:
  explicit UsageError(std::string text) : m_text(std::move(text)) {}
  const char* what() const noexcept override { return m_text.c_str(); }

 private:
  std::string m_text;
};

class Arguments {
 public:
  // `valued` options take the next word (or "--opt=value"); `flags` take none;
  // "-h" stands for "--help" where that is a flag.
  // Throws UsageError on an unknown option or a missing value.
  Arguments(const std::vector<std::string>& words, const std::set<std::string>& valued,
            const std::set<std::string>& flags);

  const std::vector<std::string>& Positionals() const { return m_positionals; }
  std::optional<std::string> Value(const std::string& option) const;
  std::string ValueOr(const std::string& option, const std::string& fallback) const;
  bool Has(const std::string& option) const;

 private:
  std::vector<std::string> m_positionals;
  std::map<std::string, std::string> m_values;
  std::set<std::string> m_flags;
};

}  // namespace tallowick::cli
