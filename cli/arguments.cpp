#include "cli/arguments.h"

namespace tallowick::cli {

Arguments::Arguments(const std::vector<std::string>& words, const std::set<std::string>& valued,
                     const std::set<std::string>& flags) {
  bool onlyPositionals = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!onlyPositionals && word == "-h" && flags.count("--help")) {
      m_flags.insert("--help");
      continue;
    }
    if (onlyPositionals || word.size() < 2 || word.compare(0, 2, "--") != 0) {
      m_positionals.push_back(word);
      continue;
    }
    if (word == "--") {
      onlyPositionals = true;
      continue;
    }
    std::string option = word;
    std::optional<std::string> inlineValue;
    if (const auto eq = word.find('='); eq != std::string::npos) {
      option = word.substr(0, eq);
      inlineValue = word.substr(eq + 1);
    }
    if (valued.count(option)) {
      if (inlineValue) {
        m_values[option] = *inlineValue;
      } else if (i + 1 < words.size()) {
        m_values[option] = words[++i];
      } else {
        throw UsageError("option " + option + " needs a value");
      }
    } else if (flags.count(option) && !inlineValue) {
      m_flags.insert(option);
    } else {
      throw UsageError("unknown option " + word);
    }
  }
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
  const auto it = m_values.find(option);
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

std::string Arguments::ValueOr(const std::string& option, const std::string& fallback) const {
  return Value(option).value_or(fallback);
}

bool Arguments::Has(const std::string& option) const {
  return m_flags.count(option) > 0 || m_values.count(option) > 0;
}

}  // namespace tallowick::cli
