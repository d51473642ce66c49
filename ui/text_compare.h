#pragma once
// Text comparisons the controls need.
#include <string>

namespace tallowick {

// Equal when the letters A-Z/a-z are compared without regard to case.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
// a before b, letters compared without regard to case (the order of a sorted list).
bool LessIgnoringCase(const std::string& a, const std::string& b);

}  // namespace tallowick
