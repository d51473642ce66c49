#pragma once
// Comparing texts without regard to the case of the letters A-Z (other
// bytes compare as they are).
#include <string>

namespace tallowick {

bool EqualsIgnoringCase(const std::string& a, const std::string& b);
// a before b (the order of a sorted list).
bool LessIgnoringCase(const std::string& a, const std::string& b);
bool EndsWithIgnoringCase(const std::string& text, const std::string& tail);

}  // namespace tallowick
