#include "engine/text_util.h"

#include <algorithm>

namespace tallowick {

std::size_t RemoveChar(std::string& text, char ch) {
  const auto kept = std::remove(text.begin(), text.end(), ch);
  const auto removed = static_cast<std::size_t>(text.end() - kept);
  text.erase(kept, text.end());
  return removed;
}

}  // namespace tallowick
