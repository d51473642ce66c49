#pragma once
// A message map: a table of (control id, notification, handler). The same table
// routes a real click (wx back end) and a scripted one (test host).
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "ui/notification.h"

namespace tallowick {

// One row of a page's or dialog's static table, with a member handler.
template <class Owner>
struct MessageEntry {
  int id;
  Notification code;
  void (Owner::*handler)();
};

class MessageMap {
 public:
  struct Entry {
    int id;
    Notification code;
    std::function<void()> handler;
  };

  MessageMap() = default;

  // Binds a static table to its owner:
  //   const MessageEntry<MakePDB> MakePDB::kMessageMap[] = {{1001, Notification::Clicked,
  //   &MakePDB::OnBrowse}, ...}; MakePDB::MakePDB() :
  //   PropertyPage(res::DialogTemplateOf(res::kGeneratorPage)) { SetMessageMap(MessageMap(this,
  //   kMessageMap)); }
  // (in the .cpp, where the table's size is known).
  template <class Owner, std::size_t N>
  MessageMap(Owner* owner, const MessageEntry<Owner> (&entries)[N])
      : MessageMap(owner, std::span<const MessageEntry<Owner>>(entries)) {}
  template <class Owner>
  MessageMap(Owner* owner, std::span<const MessageEntry<Owner>> entries) {
    for (const auto& entry : entries) {
      auto handler = entry.handler;
      Add(entry.id, entry.code, [owner, handler] { (owner->*handler)(); });
    }
  }

  void Add(int id, Notification code, std::function<void()> handler);

  // Calls the first entry for (id, code); false when no entry matches.
  bool Dispatch(int id, Notification code) const;
  bool Handles(int id, Notification code) const;

  const std::vector<Entry>& Entries() const { return m_entries; }
  std::size_t Size() const { return m_entries.size(); }

 private:
  std::vector<Entry> m_entries;
};

}  // namespace tallowick
