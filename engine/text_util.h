#pragma once
#include <cstddef>
#include <string>

namespace tallowick {

// Removes every `ch` from `text` in place; returns how many were removed.
std::size_t RemoveChar(std::string& text, char ch);

}  // namespace tallowick
