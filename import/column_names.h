#pragma once
// Column names for an imported table: every column gets a name, and no two
// names are equal once letter case is ignored (SQLite compares column names
// that way).
#include <string>
#include <vector>

namespace tallowick {

// `raw[i]` is the name found for column i (possibly empty or repeated).
// Surrounding blanks are removed; a blank name becomes "F<i+1>"; a name
// already taken gets "_2", "_3", ... appended, the first free one.
std::vector<std::string> UniqueColumnNames(const std::vector<std::string>& raw);

}  // namespace tallowick
