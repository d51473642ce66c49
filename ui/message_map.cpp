#include "ui/message_map.h"

namespace tallowick {

void MessageMap::Add(int id, Notification code, std::function<void()> handler) {
  m_entries.push_back(Entry{id, code, std::move(handler)});
}

bool MessageMap::Dispatch(int id, Notification code) const {
  for (const auto& entry : m_entries) {
    if (entry.id == id && entry.code == code) {
      entry.handler();
      return true;
    }
  }
  return false;
}

bool MessageMap::Handles(int id, Notification code) const {
  for (const auto& entry : m_entries) {
    if (entry.id == id && entry.code == code) return true;
  }
  return false;
}

}  // namespace tallowick
