#include "import/column_names.h"

#include <cctype>
#include <unordered_set>

namespace tallowick {
namespace {

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return folded;
}

std::string Trimmed(const std::string& name) {
  std::size_t first = name.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  std::size_t last = name.find_last_not_of(" \t\r\n");
  return name.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> UniqueColumnNames(const std::vector<std::string>& raw) {
  std::vector<std::string> names;
  names.reserve(raw.size());
  std::unordered_set<std::string> taken;
  // Names given in the source are reserved first, so that a fallback such as
  // "F2" never takes a name that a later column really carries.
  for (const std::string& name : raw) {
    std::string trimmed = Trimmed(name);
    if (!trimmed.empty()) taken.insert(Folded(trimmed));
  }
  std::unordered_set<std::string> used;
  // `own`: the candidate is the name the column itself carries.
  auto isFree = [&](const std::string& candidate, bool own) {
    std::string folded = Folded(candidate);
    return used.count(folded) == 0 && (own || taken.count(folded) == 0);
  };
  for (std::size_t i = 0; i < raw.size(); ++i) {
    std::string base = Trimmed(raw[i]);
    bool given = !base.empty();
    if (!given) {
      base.assign(1, 'F');
      base.append(std::to_string(i + 1));
    }
    std::string candidate = base;
    if (!isFree(candidate, given)) {
      for (int suffix = 2;; ++suffix) {
        candidate = base;
        candidate += '_';
        candidate += std::to_string(suffix);
        if (isFree(candidate, false)) break;
      }
    }
    used.insert(Folded(candidate));
    names.push_back(candidate);
  }
  return names;
}

}  // namespace tallowick
